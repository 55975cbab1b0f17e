#pragma once

#include <string>
#include <string_view>

// The program's questions. Each asks until it gets an answer it can use, and says
// "nepravelnii vvod->" to one it cannot.
namespace ask {

// A number.
int number(std::string_view prompt);

// A number from first to last, for a menu; clear, when given, runs before each asking.
int choice(std::string_view menu, int first, int last, void (*clear)() = nullptr);

// A word. One too large for memory is dropped, and asked again after "NO founded the eror".
std::string word(std::string_view prompt);

}  // namespace ask
