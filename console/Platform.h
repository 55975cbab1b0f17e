#pragma once

#include <cstddef>
#include <streambuf>
#include <string_view>

// What the console's sources share, and what differs per platform (one source file for each).
namespace console {

// Standard input. Line reads get one line at a time; what is read but not handed to them is typed
// ahead, and a terminal key read takes from it first: keys typed or pasted ahead come in order.
class InputBuffer : public std::streambuf {
  public:
    explicit InputBuffer(bool terminal) : atTerminal(terminal) {}

    // The next byte no line read has taken, or -1 when there is none.
    int takeTypedAhead();
    // Gives back a byte a key read took too far: it comes next, for a line read or a key read.
    void typeAhead(char byte);

  protected:
    int_type underflow() override;

  private:
    static constexpr std::size_t kChunk = 65536;
    bool atTerminal;
    char chunk[kChunk] = {};
    std::size_t filled = 0;
    std::size_t lineEnd = 0;  // chunk[..., lineEnd) is what line reads were given
    std::size_t next = 0;     // chunk[next, filled) is typed ahead
};

// Ends the program's dialogue: what failed, with the reason for error (an errno value).
[[noreturn]] void fail(const char* what, int error);

// UTF-8: how many bytes a character that begins with this byte has (1 when it begins none), and
// the bytes of the whole character text begins with (1 when it is incomplete or broken).
std::size_t utf8Length(unsigned char first);
std::size_t utf8CharacterLength(std::string_view text);

namespace platform {

// Whether standard input (0) or standard output (1) is a terminal or console.
bool isTerminal(int fd);
// Reads, writes, opens for appending and closes descriptors; -1 with errno set on failure. A read
// or write is done again after a signal. Opening never waits: a FIFO nobody reads fails at once;
// writes then wait.
long readFd(int fd, char* data, std::size_t size);
long writeFd(int fd, const char* data, std::size_t size);
int openAppend(const char* path);
void closeFd(int fd);
// Takes the last bytes written back off a regular file that nobody has appended to since.
void takeBack(int fd, std::size_t bytes);
// Once, at start: a reader gone from standard output or the log, or a file-size limit reached,
// is then a failed write, said and handled, not a silent end; the signals that end the program
// (but those ignored from the start) are to give the terminal back while a key is awaited.
void prepareSignals();
// One key from the terminal, typed-ahead input first; kNoKey at the end of input.
int readTerminalKey(InputBuffer& input);
void clearTerminal();

}  // namespace platform
}  // namespace console
