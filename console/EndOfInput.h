#pragma once

#include <stdexcept>

// Thrown when standard input has ended where the program still needs an answer.
// It is not one of the program's error reports: catch-all handlers let it pass,
// and the program leaves with exit status 1.
class EndOfInput : public std::runtime_error {
  public:
    EndOfInput() : std::runtime_error("end of input") {}
};
