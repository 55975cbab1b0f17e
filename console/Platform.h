#pragma once

#include <cstddef>

// What differs between the platforms; one source file per platform defines it.
namespace console {

class InputBuffer;

namespace platform {

// How a text file ends its lines; the log writes it itself, in the same write.
extern const char* const kLineEnd;

// Whether standard input (0) or standard output (1) is a terminal or console.
bool isTerminal(int fd);
// Reads, writes, opens for appending and closes descriptors; -1 with errno set on
// failure. Opening never waits: a FIFO nobody reads fails at once; writes then wait.
long readFd(int fd, char* data, std::size_t size);
long writeFd(int fd, const char* data, std::size_t size);
int openAppend(const char* path);
void closeFd(int fd);
// Takes the last bytes written back off a regular file that nobody has appended to since.
void takeBack(int fd, std::size_t bytes);
// A reader gone from standard output or from the log is then a failed write, said and
// handled, not a silent end of the program.
void reportBrokenPipes();
// One key from the terminal, typed-ahead input first; kNoKey at the end of input.
int readTerminalKey(InputBuffer& input);
void clearTerminal();

}  // namespace platform
}  // namespace console
