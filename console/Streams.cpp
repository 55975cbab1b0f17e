#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "console/Console.h"
#include "console/ConsoleGone.h"
#include "console/Platform.h"

namespace console {

void fail(const char* what, int error) {
    throw ConsoleGone(std::string(what) + ": " + std::strerror(error));
}

namespace {

// Writes all of data; 0, or the errno value of the failure.
int writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const long written = platform::writeFd(fd, data, size);
        if (written < 0 && errno != EINTR) {
            return errno;
        }
        data += std::max(written, 0L);
        size -= static_cast<std::size_t>(std::max(written, 0L));
    }
    return 0;
}

// A descriptor closed with its owner.
class Descriptor {
  public:
    explicit Descriptor(int descriptor) : fd(descriptor) {}
    ~Descriptor() {
        if (fd >= 0) {
            platform::closeFd(fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    const int fd;
};

// Standard output, written at every flush. A failed write ends the program: going
// on would report success for output nobody got.
class OutputBuffer : public std::streambuf {
  public:
    OutputBuffer() : buffer(65536) { setp(buffer.data(), buffer.data() + buffer.size()); }

  protected:
    // The common case, a short text that fits, without the general loop.
    std::streamsize xsputn(const char* data, std::streamsize size) override {
        if (size > epptr() - pptr()) {
            return std::streambuf::xsputn(data, size);
        }
        std::memcpy(pptr(), data, static_cast<std::size_t>(size));
        pbump(static_cast<int>(size));
        return size;
    }
    int_type overflow(int_type c) override {
        writeOut();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            sputc(traits_type::to_char_type(c));
        }
        return traits_type::not_eof(c);
    }
    int sync() override {
        writeOut();
        return 0;
    }

  private:
    void writeOut() {
        const std::size_t size = static_cast<std::size_t>(pptr() - pbase());
        setp(buffer.data(), buffer.data() + buffer.size());
        if (const int error = writeAll(1, buffer.data(), size); error != 0) {
            fail("cannot write standard output", error);
        }
    }
    std::vector<char> buffer;
};

}  // namespace

int InputBuffer::takeTypedAhead() {
    return next < filled ? static_cast<unsigned char>(chunk[next++]) : -1;
}

InputBuffer::int_type InputBuffer::underflow() {
    if (next == filled) {
        long got = -1;
        do {
            got = platform::readFd(0, chunk, kChunk);
        } while (got < 0 && errno == EINTR);
        if (got < 0) {
            fail("cannot read standard input", errno);
        }
        filled = static_cast<std::size_t>(got);
        next = 0;
        if (filled == 0) {
            return traits_type::eof();
        }
    }
    // One line at a time: the rest stays typed ahead for key reads.
    const char* end = std::find(chunk + next, chunk + filled, '\n');
    const std::size_t stop =
        end == chunk + filled ? filled : static_cast<std::size_t>(end - chunk) + 1;
    setg(chunk + next, chunk + next, chunk + stop);
    next = stop;
    return traits_type::to_int_type(*gptr());
}

struct StandardStreams::Buffers {
    InputBuffer input;
    OutputBuffer output;
    bool inputIsTerminal = platform::isTerminal(0);
    bool outputIsTerminal = platform::isTerminal(1);
    std::streambuf* oldInput = nullptr;
    std::streambuf* oldOutput = nullptr;
    std::ostream* oldTie = nullptr;
};

namespace {
StandardStreams::Buffers* attached = nullptr;
}  // namespace

StandardStreams::StandardStreams() : buffers(std::make_unique<Buffers>()) {
    buffers->oldInput = std::cin.rdbuf(&buffers->input);
    buffers->oldOutput = std::cout.rdbuf(&buffers->output);
    // Every read flushes standard output itself, once, before it waits.
    buffers->oldTie = std::cin.tie(nullptr);
    attached = buffers.get();
}

StandardStreams::~StandardStreams() {
    attached = nullptr;
    try {
        std::cout.flush();
    } catch (const ConsoleGone&) {
        // Already reported, or nothing was left to write.
    }
    std::cin.tie(buffers->oldTie);
    std::cin.rdbuf(buffers->oldInput);
    std::cout.rdbuf(buffers->oldOutput);
}

void show(std::string_view text) {
    std::streambuf& out = *std::cout.rdbuf();
    out.sputn(text.data(), static_cast<std::streamsize>(text.size()));
    out.pubsync();
}

int readKey() {
    show("");
    if (attached != nullptr && attached->inputIsTerminal) {
        return platform::readTerminalKey(attached->input);
    }
    const int c = std::cin.rdbuf()->sbumpc();
    return c == std::char_traits<char>::eof() ? kNoKey : c;
}

void clearScreen() {
    if (attached != nullptr && attached->outputIsTerminal) {
        platform::clearTerminal();
    } else {
        std::cout << '\f';
    }
    std::cout.flush();
}

int appendLine(const char* path, std::string_view text) {
    const std::string line = std::string(text) + platform::kLineEnd;
    const Descriptor file(platform::openAppend(path));
    if (file.fd < 0) {
        return errno;
    }
    return writeAll(file.fd, line.data(), line.size());
}

}  // namespace console
