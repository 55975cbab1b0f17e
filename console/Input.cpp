#include "console/Input.h"

#include <cctype>
#include <iostream>

#include "console/EndOfInput.h"

namespace console {
namespace {

// Skips white space; throws when nothing but white space is left.
void skipToAnswer() {
    std::istream& in = std::cin;
    if (!in.good()) {
        throw EndOfInput();
    }
    in >> std::ws;
    if (in.peek() == std::char_traits<char>::eof()) {
        throw EndOfInput();
    }
}

}  // namespace

std::optional<int> readNumber() {
    skipToAnswer();
    int value = 0;
    if (std::cin >> value) {
        return value;
    }
    // Not a number: drop the rest of this word only, the next words still answer later prompts.
    std::cin.clear();
    std::streambuf* buf = std::cin.rdbuf();
    for (int c = buf->sgetc(); c != std::char_traits<char>::eof(); c = buf->snextc()) {
        if (std::isspace(static_cast<unsigned char>(c)) != 0) {
            break;
        }
    }
    std::cout << "nepravelnii vvod->" << std::endl;
    return std::nullopt;
}

int askNumber(const std::function<void()>& ask) {
    for (;;) {
        ask();
        if (const std::optional<int> value = readNumber()) {
            return *value;
        }
    }
}

void readWord(std::string& word) {
    skipToAnswer();
    std::cin >> word;
}

char readChar() {
    skipToAnswer();
    char c = 0;
    std::cin >> c;
    return c;
}

}  // namespace console
