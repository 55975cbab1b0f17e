#pragma once

#include <iostream>

#include "console/Console.h"

// What the program says of a failure it has no report for (memory running out, say).
inline constexpr const char* kOtherFault = "NO founded the eror";

// Runs action. Any failure but a lost console (memory running out, say) prints otherFault and
// ends it.
template <class Action>
void orSay(const char* otherFault, Action action) {
    try {
        action();
    } catch (const console::ConsoleGone&) {
        throw;
    } catch (...) {
        std::cout << otherFault << std::endl;
    }
}

// Runs attempt until it returns. An E it throws is reported; then handled(error) may mend what
// it needs and says whether the work is done (true) or attempt runs again (false). A failure
// while reporting or mending counts as any other.
template <class E, class Attempt, class Handled>
void retry(const char* otherFault, Attempt attempt, Handled handled) {
    bool done = false;
    while (!done) {
        orSay(otherFault, [&] {
            try {
                attempt();
                done = true;
            } catch (const E& thrown) {
                // Its own copy, as a handler catching by value has.
                const E copy = thrown;  // NOLINT(performance-unnecessary-copy-initialization)
                copy.report();
                done = handled(copy);
            }
        });
    }
}

// The same, trying again after every report.
template <class E, class Attempt>
void retry(const char* otherFault, Attempt attempt) {
    retry<E>(otherFault, attempt, [](const E&) { return false; });
}
