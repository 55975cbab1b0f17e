#include "console/Console.h"

#include <algorithm>
#include <iostream>
#include <limits>
#include <new>

namespace console {
namespace {

using Traits = std::char_traits<char>;

// Beyond any int, whatever its sign.
constexpr long long kTooLarge = 1LL << 40;

// White space as the formatted reads of the "C" locale know it.
bool isBlank(int c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Shows the prompt and skips white space; throws when nothing else is left. Answers are taken
// from the buffer: a formatted read would leave the stream failed on a word that is no number.
std::streambuf& ask(std::string_view prompt) {
    show(prompt);  // reads do not flush standard output on their own
    std::streambuf& in = *std::cin.rdbuf();
    int c = in.sgetc();
    while (c != Traits::eof() && isBlank(c)) {
        c = in.snextc();
    }
    if (c == Traits::eof()) {
        throw ConsoleGone("end of input");
    }
    return in;
}

// Drops what is left of the word being read; the next words still answer later prompts.
void dropRestOfWord() {
    std::streambuf& in = *std::cin.rdbuf();
    for (int c = in.sgetc(); c != Traits::eof() && !isBlank(c);) {
        c = in.snextc();
    }
}

}  // namespace

std::optional<int> readNumber(std::string_view prompt) {
    std::streambuf& in = ask(prompt);
    // As the formatted read of an int: a sign, then digits; digits past the range make no number.
    int c = in.sgetc();
    const bool negative = c == '-';
    if (c == '-' || c == '+') {
        c = in.snextc();
    }
    long long value = 0;
    bool digits = false;
    for (; c >= '0' && c <= '9'; c = in.snextc()) {
        digits = true;
        value = std::min(value * 10 + (c - '0'), kTooLarge);
    }
    value = negative ? -value : value;
    if (digits && value >= std::numeric_limits<int>::min() &&
        value <= std::numeric_limits<int>::max()) {
        return static_cast<int>(value);
    }
    dropRestOfWord();
    return std::nullopt;
}

std::string readWord(std::string_view prompt) {
    std::streambuf& in = ask(prompt);
    std::string word;
    try {
        for (int c = in.sgetc(); c != Traits::eof() && !isBlank(c); c = in.snextc()) {
            word.push_back(Traits::to_char_type(c));
        }
    } catch (const std::bad_alloc&) {
        dropRestOfWord();  // so that its rest is not read as the next word
        throw;
    }
    return word;
}

char readChar(std::string_view prompt) {
    return Traits::to_char_type(ask(prompt).sbumpc());
}

}  // namespace console
