#pragma once

#include <memory>
#include <string_view>

// The services the program needs from the console beyond formatted reads.
namespace console {

// Held by main for the whole run: gives std::cin and std::cout buffers of their
// own on the process's standard input and output, and decides once whether each
// is a terminal. Without it (the fuzzer swaps in string buffers of its own) input
// and output behave as pipes.
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

// Writes text and flushes standard output, straight to its buffer: what a read
// shows before it waits.
void show(std::string_view text);

// Returned by readKey when no more input can come.
inline constexpr int kNoKey = -1;

// Reads one key code. On a terminal: without echo and without Enter; a key that
// produces two codes (arrows, function keys) gives them to two successive calls.
// Otherwise: the next byte of standard input (0 to 255).
int readKey();

// Clears the screen on a terminal; otherwise writes one form feed.
void clearScreen();

// How a text file ends its lines here.
extern const char* const kLineEnd;

// Appends bytes to the file in one write, so that what programs sharing the file append never
// interleaves; creates the file, and never waits to open it (a FIFO nobody reads fails at
// once). A regular file gains all of the bytes or none. Returns 0, or the errno value of what
// failed.
int appendWhole(const char* path, std::string_view bytes);

}  // namespace console
