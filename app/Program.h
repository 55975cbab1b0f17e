#pragma once

#include <span>

// The whole program on the standard streams: the answer to --help or --version, or else the
// main menu until Esc. Returns the exit status: 0 after Esc (or end of input at the main
// menu), 1 when input ended inside a dialog or a standard stream failed (said on standard
// error).
int runProgram(std::span<char* const> arguments = {});
