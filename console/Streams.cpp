#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "console/Console.h"
#include "console/Platform.h"

namespace console {

void fail(const char* what, int error) {
    throw ConsoleGone(std::string(what) + ": " + std::strerror(error), error);
}

namespace {

// Writes all of data; how much went out (less when a write failed, and errno says why).
std::size_t writeAll(int fd, std::string_view data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const long written = platform::writeFd(fd, data.data() + done, data.size() - done);
        if (written < 0) {
            break;
        }
        done += static_cast<std::size_t>(written);
    }
    return done;
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
        if (writeAll(1, {buffer.data(), size}) < size) {
            fail("cannot write standard output", errno);
        }
    }
    std::vector<char> buffer;
};

}  // namespace

std::size_t utf8Length(unsigned char first) {
    if (first < 0xC2 || first > 0xF4) {
        return 1;
    }
    return first < 0xE0 ? 2 : first < 0xF0 ? 3 : 4;
}

std::size_t utf8CharacterLength(std::string_view text) {
    const std::size_t length = utf8Length(static_cast<unsigned char>(text.front()));
    for (std::size_t i = 1; i < length; ++i) {
        if (i == text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return length;
}

int InputBuffer::takeTypedAhead() {
    return next < filled ? static_cast<unsigned char>(chunk[next++]) : -1;
}

void InputBuffer::typeAhead(char byte) {
    if (next > lineEnd) {
        chunk[--next] = byte;  // back where it was taken from
        return;
    }
    // Nothing is typed ahead: the byte came from the terminal, and goes behind the line.
    if (filled == kChunk) {
        const std::size_t unread = static_cast<std::size_t>(egptr() - gptr());
        std::memmove(chunk, gptr(), unread);
        setg(chunk, chunk, chunk + unread);
        filled = next = lineEnd = unread;
    }
    chunk[filled++] = byte;
}

InputBuffer::int_type InputBuffer::underflow() {
    do {
        if (next == filled) {
            const long got = platform::readFd(0, chunk, kChunk);
            if (got < 0) {
                fail("cannot read standard input", errno);
            }
            filled = static_cast<std::size_t>(got);
            next = lineEnd = 0;
            if (filled == 0) {
                return traits_type::eof();
            }
        }
        // One line at a time: the rest stays typed ahead for key reads.
        const char* end = std::find(chunk + next, chunk + filled, '\n');
        const std::size_t stop =
            end == chunk + filled ? filled : static_cast<std::size_t>(end - chunk) + 1;
        // At a terminal an Esc is dropped from a line, as a Windows console's line editing does.
        char* const kept =
            atTerminal ? std::remove(chunk + next, chunk + stop, kEsc) : chunk + stop;
        setg(chunk + next, chunk + next, kept);
        next = lineEnd = stop;
    } while (gptr() == egptr());
    return traits_type::to_int_type(*gptr());
}

struct StandardStreams::Buffers {
    bool inputIsTerminal = platform::isTerminal(0);
    bool outputIsTerminal = platform::isTerminal(1);
    InputBuffer input{inputIsTerminal};
    OutputBuffer output;
    std::streambuf* oldInput = nullptr;
    std::streambuf* oldOutput = nullptr;
    std::ostream* oldTie = nullptr;
};

namespace {
StandardStreams::Buffers* attached = nullptr;
}  // namespace

StandardStreams::StandardStreams() : buffers(std::make_unique<Buffers>()) {
    platform::prepareSignals();
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

int appendWhole(const char* path, std::string_view bytes) {
    const Descriptor file(platform::openAppend(path));
    if (file.fd < 0) {
        return errno;
    }
    const std::size_t done = writeAll(file.fd, bytes);
    if (done == bytes.size()) {
        return 0;
    }
    const int error = errno;
    if (done > 0) {
        platform::takeBack(file.fd, done);
    }
    return error;
}

}  // namespace console
