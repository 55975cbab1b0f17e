#include "console/Input.h"

#include <cctype>
#include <iostream>
#include <new>

#include "console/ConsoleGone.h"

namespace console {
namespace {

// Prints the prompt and skips white space; throws when nothing else is left.
void ask(std::string_view prompt) {
    // Flushed here, not by the read's tie, so a failed write comes out as it is.
    std::cout << prompt << std::flush;
    std::istream& in = std::cin;
    if (!in.good()) {
        throw ConsoleGone("end of input");
    }
    in >> std::ws;
    if (in.peek() == std::char_traits<char>::eof()) {
        throw ConsoleGone("end of input");
    }
}

// Drops what is left of the word being read; the next words still answer later prompts.
void dropRestOfWord() {
    std::cin.clear();
    std::streambuf* buf = std::cin.rdbuf();
    for (int c = buf->sgetc(); c != std::char_traits<char>::eof(); c = buf->snextc()) {
        if (std::isspace(c) != 0) {
            break;
        }
    }
}

}  // namespace

std::optional<int> tryNumber(std::string_view prompt) {
    ask(prompt);
    int value = 0;
    if (std::cin >> value) {
        return value;
    }
    dropRestOfWord();
    std::cout << "nepravelnii vvod->" << std::endl;
    return std::nullopt;
}

int askNumber(std::string_view prompt) {
    for (;;) {
        if (const std::optional<int> value = tryNumber(prompt)) {
            return *value;
        }
    }
}

std::string askWord(std::string_view prompt) {
    ask(prompt);
    std::string word;
    try {
        std::cin >> word;
    } catch (const std::bad_alloc&) {
        dropRestOfWord();  // a word too large for memory is dropped whole
        throw;
    }
    return word;
}

char askChar(std::string_view prompt) {
    ask(prompt);
    char c = 0;
    std::cin >> c;
    return c;
}

}  // namespace console
