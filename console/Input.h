#pragma once

#include <functional>
#include <optional>
#include <string>

// Formatted reads from standard input, with the program's answer to input that
// is not a number. Every function throws EndOfInput when input has ended.
namespace console {

// Reads one signed 32-bit number. Input that is not one (letters, out of range)
// is answered with "nepravelnii vvod->": the offending word is dropped and
// nothing is returned, so the caller can ask again.
std::optional<int> readNumber();

// Prints the question (through ask) and reads a number until one comes.
int askNumber(const std::function<void()>& ask);

// Reads one white-space-delimited word.
void readWord(std::string& word);

// Reads one character, skipping white space first.
char readChar();

}  // namespace console
