#include "app/StringCheck.h"

#include <algorithm>
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>

#include "console/Input.h"
#include "errors/Retry.h"
#include "errors/charExp.h"

namespace {

unsigned byteAt(std::string_view text, std::size_t i) {
    return static_cast<unsigned char>(text[i]);
}

bool isValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const unsigned lead = byteAt(text, i);
        const std::size_t length = lead < 0x80                    ? 1
                                   : lead >= 0xC2 && lead <= 0xDF ? 2
                                   : lead >= 0xE0 && lead <= 0xEF ? 3
                                   : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                                  : 0;
        if (length == 0 || i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((byteAt(text, i + k) & 0xC0) != 0x80) {
                return false;
            }
        }
        // Overlong forms, surrogates and code points above U+10FFFF.
        const unsigned second = length > 1 ? byteAt(text, i + 1) : 0;
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
            (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F)) {
            return false;
        }
        i += length;
    }
    return true;
}

// How much of text fits size bytes: UTF-8 text is cut between characters, so no
// broken character reaches the screen; other text is cut at size bytes.
std::size_t fittingLength(std::string_view text, std::size_t size) {
    if (text.size() <= size || !isValidUtf8(text)) {
        return std::min(text.size(), size);
    }
    std::size_t length = size;
    while (length > 0 && (byteAt(text, length) & 0xC0) == 0x80) {
        --length;
    }
    return length;
}

}  // namespace

void proverkaStroki(std::span<char> mass) {
    // The word's length in mass: a NUL byte is part of a word like any other.
    std::size_t length = 0;
    retry<charExp>(
        "NO founded the eror",
        [mass, &length] {
            // The word is read whole, however long, so it is never split across reads.
            const std::string word =
                console::askWord("Vvedite stroky (dlia proverki razmernosty)\n");
            if (word.size() + 1 > mass.size()) {
                throw charExp(word);
            }
            length = word.size();
            std::memcpy(mass.data(), word.c_str(), length + 1);
        },
        [mass, &length](const charExp& kod) {
            char t = ' ';
            while (t != '1') {
                t = console::askChar("1-vvesti novyu storky\n 2-obrezat stroky \n");
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
