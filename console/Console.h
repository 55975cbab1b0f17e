#pragma once

// The two services the program needs from the console beyond the standard streams.
// Both are the only code that knows the platform.
namespace console {

// Called once by main, after the standard streams are set up: while std::cin and
// std::cout still use the buffers they have now, a terminal (console) behind them
// gets terminal behaviour. Without this call, or with other buffers swapped in
// (tests, the fuzzer), input and output always behave as pipes.
void attachToStandardStreams();

// Returned by readKey when no more input can come.
inline constexpr int kNoKey = -1;

// Reads one key code. On a terminal: without echo and without Enter; a key that
// produces two codes (arrows, function keys) gives them to two successive calls.
// Otherwise: the next byte of standard input (0 to 255). kNoKey at end of input.
int readKey();

// Clears the screen: an ANSI clear on a terminal, one form feed otherwise.
void clearScreen();

}  // namespace console
