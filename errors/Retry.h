#pragma once

#include <iostream>

#include "console/ConsoleGone.h"

// Runs attempt until it returns. An E it throws is reported; then handled(error) may mend what it
// needs and says whether the work is done (true) or attempt runs again (false). Any other failure
// prints otherFault and attempt runs again. A lost console passes.
template <class E, class Attempt, class Handled>
void retry(const char* otherFault, Attempt attempt, Handled handled) {
    for (;;) {
        try {
            attempt();
            return;
        } catch (const E& thrown) {
            // Its own copy, as a handler catching by value has.
            const E copy = thrown;  // NOLINT(performance-unnecessary-copy-initialization)
            copy.report();
            if (handled(copy)) {
                return;
            }
        } catch (const ConsoleGone&) {
            throw;
        } catch (...) {
            std::cout << otherFault << std::endl;
        }
    }
}

// The same, trying again after every report.
template <class E, class Attempt>
void retry(const char* otherFault, Attempt attempt) {
    retry<E>(otherFault, attempt, [](const E&) { return false; });
}
