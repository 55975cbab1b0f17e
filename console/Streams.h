#pragma once

#include <cerrno>
#include <cstddef>
#include <streambuf>

// What the console's sources share, whatever the platform.
namespace console {

// Standard input as the program reads it. Formatted reads get one line at a time; what has
// been read from the system but not yet handed to them is typed ahead, and a terminal key read
// takes from it first, so keys typed or pasted ahead are used in the order they came.
class InputBuffer : public std::streambuf {
  public:
    // The next byte no line read has taken, or -1 when there is none.
    int takeTypedAhead();
    // Gives back a byte a key read took too far: it comes next, for a line read or a key read.
    void typeAhead(char byte);

  protected:
    int_type underflow() override;

  private:
    static constexpr std::size_t kChunk = 65536;
    char chunk[kChunk] = {};
    std::size_t filled = 0;
    std::size_t lineEnd = 0;  // chunk[..., lineEnd) is what line reads were given
    std::size_t next = 0;     // chunk[next, filled) is typed ahead
};

// Ends the program's dialogue: what failed, with the reason for error (an errno value).
[[noreturn]] void fail(const char* what, int error);

// Calls a system function again while a signal interrupts it; its result.
template <class Call>
auto uninterrupted(Call call) {
    for (;;) {
        const auto result = call();
        if (result >= 0 || errno != EINTR) {
            return result;
        }
    }
}

}  // namespace console
