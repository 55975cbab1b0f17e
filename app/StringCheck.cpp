#include "app/StringCheck.h"

#include <cstring>
#include <iostream>
#include <string>
#include <string_view>

#include "console/Console.h"
#include "errors/Retry.h"
#include "errors/charExp.h"

namespace {

// How much of text, which is longer, is kept in size bytes: whole characters of the encoding
// text is typed in, never half of one.
std::size_t fittingLength(std::string_view text, std::size_t size) {
    std::size_t length = 0;
    for (;;) {
        const std::size_t next = length + console::characterLength(text.substr(length));
        if (next > size) {
            return length;
        }
        length = next;
    }
}

}  // namespace

void proverkaStroki(std::span<char> mass) {
    // The word's length in mass: a NUL byte is part of a word like any other.
    std::size_t length = 0;
    retry<charExp>(
        kOtherFault,
        [mass, &length] {
            // The word is read whole, however long, so it is never split across reads.
            const std::string word =
                console::readWord("Vvedite stroky (dlia proverki razmernosty)\n");
            if (word.size() + 1 > mass.size()) {
                throw charExp(word);
            }
            length = word.size();
            std::memcpy(mass.data(), word.c_str(), length + 1);
        },
        [mass, &length](const charExp& kod) {
            char t = ' ';
            while (t != '1') {
                t = console::readChar("1-vvesti novyu storky\n 2-obrezat stroky \n");
                if (t == '2') {
                    const std::string_view word = kod.getMsg();
                    length = fittingLength(word, mass.size() - 1);
                    std::memcpy(mass.data(), word.data(), length);
                    mass[length] = '\0';
                    return true;
                }
            }
            return false;
        });
    std::cout << "v rezultate polychenaia stroka  " << std::string_view(mass.data(), length)
              << " !!!!!" << std::endl;
}
