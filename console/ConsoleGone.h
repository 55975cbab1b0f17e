#pragma once

#include <stdexcept>

// Thrown when the console can serve no more: standard input has ended where an
// answer is needed, or reading or writing a standard stream failed. It is not one
// of the program's error reports: retry loops let it pass, and the program leaves
// with exit status 1 and what() on standard error.
class ConsoleGone : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};
