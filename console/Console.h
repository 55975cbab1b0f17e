#pragma once

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// What the rest of the program may ask of the console: the standard streams, keys, the clear,
// prompted reads and the one file the program writes.
namespace console {

// Thrown when the console can serve no more: standard input has ended where an answer is needed,
// or reading or writing a standard stream failed. It is not one of the program's error reports:
// retry loops let it pass, and the program leaves with exit status 1 and what() on standard error.
class ConsoleGone : public std::runtime_error {
  public:
    explicit ConsoleGone(const std::string& what, int reason = 0)
        : std::runtime_error(what), error(reason) {}

    int error;  // the errno value of a failed read or write; 0 at the end of input
};

// Held by main for the whole run: gives std::cin and std::cout buffers of their own on the
// process's standard input and output, and decides once whether each is a terminal. Without it
// (the fuzzer swaps in string buffers of its own) input and output behave as pipes.
class StandardStreams {
  public:
    StandardStreams();
    ~StandardStreams();
    StandardStreams(const StandardStreams&) = delete;
    StandardStreams& operator=(const StandardStreams&) = delete;

    struct Buffers;

  private:
    std::unique_ptr<Buffers> buffers;
};

// Writes text and flushes standard output, straight to its buffer: what a read shows first.
void show(std::string_view text);

// What readKey gives for Esc, and when no more input can come.
inline constexpr int kEsc = 27;
inline constexpr int kNoKey = -1;

// Reads one key code. On a terminal: without echo and without Enter; a key that produces two
// codes (arrows, function keys) gives them to two successive calls. Otherwise: the next byte of
// standard input (0 to 255).
int readKey();

// Clears the screen on a terminal; otherwise writes one form feed.
void clearScreen();

// Prompted reads: each shows its prompt as it is, then reads the answer after white space; the
// rest of a typed line answers the following prompts. At the end of input: ConsoleGone.

// A signed 32-bit number, or nothing when the word typed is none (letters, a number out of
// range): that word is then dropped.
std::optional<int> readNumber(std::string_view prompt);

// One white-space-delimited word. One too large for memory is dropped whole: std::bad_alloc.
std::string readWord(std::string_view prompt);

// One character.
char readChar(std::string_view prompt);

// The bytes of the character text begins with, in the encoding typed text comes in: UTF-8, or
// the single-byte or double-byte character set the locale (or the Windows console) names; 1 for
// a byte that begins no whole character.
std::size_t characterLength(std::string_view text);

// How a text file ends its lines here.
extern const char* const kLineEnd;

// Appends bytes to the file in one write, so that what programs sharing the file append never
// interleaves; creates the file, and never waits to open it (a FIFO nobody reads fails at once).
// A regular file gains all of the bytes or none. Returns 0, or the errno value of what failed.
int appendWhole(const char* path, std::string_view bytes);

}  // namespace console
