#pragma once

#include <string_view>

// The program's questions for numbers. Each asks until it gets an answer it can use, and says
// "nepravelnii vvod->" to one it cannot. (Any word answers a question for a word.)
namespace ask {

// A number.
int number(std::string_view prompt);

// A number from first to last, for a menu; clear, when given, runs before each asking.
int choice(std::string_view menu, int first, int last, void (*clear)() = nullptr);

}  // namespace ask
