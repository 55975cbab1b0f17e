#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

#include "console/Console.h"
#include "console/Platform.h"
#include "console/Streams.h"

namespace console::platform {
namespace {

constexpr int kEsc = 27;
constexpr int kOther = 0;       // the code of a key that is neither Esc nor a digit
constexpr int kEscWaitMs = 75;  // an Esc followed by nothing within this is a lone Esc

// Whether the next key read gives the second code of a key of two codes.
bool secondCodeDue = false;

// The terminal's own settings while a key is awaited, for the guard and the signal handlers.
termios savedSettings{};
volatile std::sig_atomic_t rawActive = 0;

// Key-at-a-time without echo; signals (Ctrl+C, Ctrl+Z) still work.
void setRaw() {
    termios raw = savedSettings;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    rawActive = tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0 ? 1 : 0;
}

void restore() {
    if (rawActive != 0) {
        tcsetattr(STDIN_FILENO, TCSANOW, &savedSettings);
    }
}

void restoreAndReraise(int sig) {
    restore();
    rawActive = 0;
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

// The signals handled while a key is awaited: Ctrl+Z, and those that end the program, which
// first give the terminal back its settings. One ignored when the program started stays so.
sigset_t handled;

bool endsTheProgram(int sig) {
    for (const int other :
         {SIGKILL, SIGSTOP, SIGTSTP, SIGTTIN, SIGTTOU, SIGCHLD, SIGCONT, SIGURG, SIGWINCH}) {
        if (sig == other) {
            return false;
        }
    }
    return true;
}

void onSignal(int sig, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_mask = handled;  // one handler at a time
    sigaction(sig, &action, nullptr);
}

// Ctrl+Z: the shell gets the terminal as it was; after fg a key still awaited is
// again read key by key, from the settings the terminal has by then.
void stopAndResume(int sig) {
    const int savedErrno = errno;
    restore();
    onSignal(sig, SIG_DFL);
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, sig);
    sigprocmask(SIG_UNBLOCK, &stop, nullptr);
    std::raise(sig);
    sigprocmask(SIG_BLOCK, &stop, nullptr);
    onSignal(sig, stopAndResume);
    if (rawActive != 0 && tcgetattr(STDIN_FILENO, &savedSettings) == 0) {
        setRaw();
    }
    errno = savedErrno;
}

void installSignalHandlers() {
    static bool installed = false;
    if (installed) {
        return;
    }
    installed = true;
    sigemptyset(&handled);
    for (int sig = 1; sig < NSIG; ++sig) {
        struct sigaction before {};
        if ((sig == SIGTSTP || endsTheProgram(sig)) && sigaction(sig, nullptr, &before) == 0 &&
            before.sa_handler != SIG_IGN) {
            sigaddset(&handled, sig);
        }
    }
    for (int sig = 1; sig < NSIG; ++sig) {
        if (sigismember(&handled, sig) == 1) {
            onSignal(sig, sig == SIGTSTP ? stopAndResume : restoreAndReraise);
        }
    }
}

// Holds the handled signals back while the terminal changes mode, so that a handler always
// finds the terminal in the mode rawActive says.
class SignalsHeld {
  public:
    SignalsHeld() { sigprocmask(SIG_BLOCK, &handled, &before); }
    ~SignalsHeld() { sigprocmask(SIG_SETMASK, &before, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

  private:
    sigset_t before{};
};

// Puts the terminal in key-at-a-time mode for its lifetime.
class RawMode {
  public:
    RawMode() {
        installSignalHandlers();
        const SignalsHeld held;
        if (tcgetattr(STDIN_FILENO, &savedSettings) == 0) {
            setRaw();
        }
    }
    ~RawMode() {
        const SignalsHeld held;
        restore();
        rawActive = 0;
    }
    RawMode(const RawMode&) = delete;
    RawMode& operator=(const RawMode&) = delete;
};

// One byte from the terminal; -1 at end of input, or when timeoutMs passes first.
int readByte(int timeoutMs) {
    if (timeoutMs >= 0) {
        pollfd fd{STDIN_FILENO, POLLIN, 0};
        if (uninterrupted([&] { return poll(&fd, 1, timeoutMs); }) <= 0) {
            return -1;
        }
    }
    unsigned char byte = 0;
    const ssize_t got = uninterrupted([&] { return read(STDIN_FILENO, &byte, 1); });
    if (got < 0) {
        fail("cannot read standard input", errno);
    }
    return got == 1 ? byte : -1;
}

// Bytes typed ahead come before what the terminal delivers now.
int nextByte(InputBuffer& input, int timeoutMs) {
    const int ahead = input.takeTypedAhead();
    return ahead >= 0 ? ahead : readByte(timeoutMs);
}

// The program acts on Esc and the digits 1 to 4, and only counts the codes of other keys. What
// must stay is how many codes a key gives: two, as on the original console, for the arrows,
// Home, End, Insert, Delete, Page Up and Down and F1 to F10; one for any other sequence.
int codes(bool two) {
    secondCodeDue = two;
    return kOther;
}

// The codes of ESC [ ... or ESC O ... ending in final. Modifiers (ESC [ 1 ; 5 A) give the plain
// key's codes.
int finalKey(int final, const std::string& params) {
    if (final == '~') {
        const int n = std::atoi(params.c_str());
        return codes((n >= 1 && n <= 8) || (n >= 11 && n <= 15) || (n >= 17 && n <= 21));
    }
    return codes(std::string_view("ABCDFHPQRS").find(static_cast<char>(final)) !=
                 std::string_view::npos);
}

// After ESC: a lone Esc, or a whole escape sequence turned into key codes.
int escapeSequence(InputBuffer& input) {
    const int introducer = nextByte(input, kEscWaitMs);
    if (introducer < 0) {
        return kEsc;
    }
    if (introducer == kEsc) {
        input.typeAhead(kEsc);  // a double tap: this Esc is alone, the next starts afresh
        return kEsc;
    }
    if (introducer != '[' && introducer != 'O') {
        return kOther;  // Alt+key and the like
    }
    std::string params;
    for (;;) {
        const int byte = nextByte(input, kEscWaitMs);
        if (byte < 0) {
            return kOther;  // cut short: swallow what came
        }
        if (introducer == '[' && byte == '[' && params.empty()) {
            // Linux console F1 to F5: ESC [ [ A .. E
            const int letter = nextByte(input, kEscWaitMs);
            return codes(letter >= 'A' && letter <= 'E');
        }
        if (byte >= 0x40 && byte <= 0x7e) {
            return finalKey(byte, params);
        }
        params.push_back(static_cast<char>(byte));
    }
}

}  // namespace

const char* const kLineEnd = "\n";

bool isTerminal(int fd) {
    return isatty(fd) == 1;
}

long readFd(int fd, char* data, std::size_t size) {
    return read(fd, data, size);
}

long writeFd(int fd, const char* data, std::size_t size) {
    return write(fd, data, size);
}

int openAppend(const char* path) {
    const int fd = open(path, O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd >= 0) {
        // Open, a FIFO has a reader: the writes wait for it, however slowly it reads.
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    }
    return fd;
}

void takeBack(int fd, std::size_t bytes) {
    struct stat file {};
    const off_t end = lseek(fd, 0, SEEK_CUR);
    if (fstat(fd, &file) == 0 && S_ISREG(file.st_mode) && end == file.st_size) {
        static_cast<void>(ftruncate(fd, end - static_cast<off_t>(bytes)));
    }
}

void reportBrokenPipes() {
    std::signal(SIGPIPE, SIG_IGN);
}

void closeFd(int fd) {
    close(fd);
}

int readTerminalKey(InputBuffer& input) {
    if (secondCodeDue) {
        return codes(false);
    }
    const RawMode raw;
    const int byte = nextByte(input, -1);
    if (byte < 0) {
        return kNoKey;
    }
    if (byte == kEsc) {
        return escapeSequence(input);
    }
    // A character of several bytes in UTF-8 is one key: its lead byte.
    const int more = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
    for (int i = 0; i < more; ++i) {
        const int following = nextByte(input, kEscWaitMs);
        if (following < 0 || (following & 0xC0) != 0x80) {
            if (following >= 0) {
                input.typeAhead(static_cast<char>(following));
            }
            break;
        }
    }
    return byte;
}

void clearTerminal() {
    std::cout << "\033[H\033[2J\033[3J";
}

}  // namespace console::platform
