#pragma once

#include <optional>

// The answer to a command line of --help or --version: the usage text or the
// version line on standard output. Returns the exit status once answered, or
// nothing when the program should run as usual (any other command line).
std::optional<int> answerCommandLine(int argc, const char* const argv[]);
