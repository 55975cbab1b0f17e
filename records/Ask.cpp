#include "records/Ask.h"

#include <iostream>
#include <limits>
#include <optional>

#include "console/Console.h"

namespace ask {

int number(std::string_view prompt) {
    return choice(prompt, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
}

int choice(std::string_view menu, int first, int last, void (*clear)()) {
    for (;;) {
        if (clear != nullptr) {
            clear();
        }
        const std::optional<int> answer = console::readNumber(menu);
        if (answer && *answer >= first && *answer <= last) {
            return *answer;
        }
        std::cout << "nepravelnii vvod->" << std::endl;
    }
}

}  // namespace ask
