#pragma once

#include <iostream>
#include <sstream>
#include <string>

namespace testsupport {

// Feeds std::cin from a string and collects std::cout for its lifetime, so code
// that talks to the console can run inside a test. The console services treat
// swapped streams as a pipe: a key is the next input byte, a clear is a form feed.
class StreamSwap {
  public:
    explicit StreamSwap(const std::string& input)
        : in(input), oldIn(std::cin.rdbuf(in.rdbuf())), oldOut(std::cout.rdbuf(out.rdbuf())) {
        std::cin.clear();
    }
    ~StreamSwap() {
        std::cin.rdbuf(oldIn);
        std::cout.rdbuf(oldOut);
        std::cin.clear();
    }
    StreamSwap(const StreamSwap&) = delete;
    StreamSwap& operator=(const StreamSwap&) = delete;

    std::string output() const { return out.str(); }
    // What the code under test left unread.
    std::string rest() {
        std::string left;
        std::cin.clear();
        std::getline(std::cin, left, '\0');
        return left;
    }

  private:
    std::istringstream in;
    std::ostringstream out;
    std::streambuf* oldIn;
    std::streambuf* oldOut;
};

}  // namespace testsupport
