#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string_view>
#include <utility>

#include "console/Console.h"
#include "console/Platform.h"

namespace console {
namespace platform {
namespace {

constexpr int kOther = 0;  // the code of a key that is neither Esc nor a digit
// An Esc followed by nothing within this is a lone Esc: short enough to feel immediate (it is vim's
// default wait), long enough for the bytes of one key that a slow link delivers apart.
constexpr int kEscWaitMs = 100;

// Whether the next key read gives the second code of a key of two codes.
bool secondCodeDue = false;

// The terminal's own settings while a key is awaited, and whether it is in key mode.
termios savedSettings{};
volatile std::sig_atomic_t rawActive = 0;

// Whether the program may touch the terminal's settings: not while its job is in the background.
bool inForeground() {
    const pid_t group = tcgetpgrp(STDIN_FILENO);
    return group < 0 || group == getpgrp();
}

// The signals the program handles in key mode: Ctrl+Z, and those that end the program, which
// first give the terminal back its settings. One ignored when the program started stays so.
sigset_t handled;

void chooseHandledSignals() {
    sigfillset(&handled);
    for (const int sig : {SIGKILL, SIGSTOP, SIGTTIN, SIGTTOU, SIGCHLD, SIGCONT, SIGURG, SIGWINCH}) {
        sigdelset(&handled, sig);
    }
    for (int sig = 1; sig < NSIG; ++sig) {
        struct sigaction before {};
        if (sigaction(sig, nullptr, &before) != 0 || before.sa_handler == SIG_IGN) {
            sigdelset(&handled, sig);
        }
    }
}

void restore();

void restoreAndReraise(int sig) {
    restore();
    std::raise(sig);
}

// Ctrl+Z: the shell gets the terminal as it was, and the job stops; the key read goes on later.
void stopAndResume(int sig) {
    const int savedErrno = errno;
    restore();
    sigprocmask(SIG_UNBLOCK, &handled, nullptr);
    std::raise(sig);
    sigprocmask(SIG_BLOCK, &handled, nullptr);
    errno = savedErrno;
}

// Key mode's handlers, or none: then a signal acts at once, even on a stopped job (kill %1).
void handleSignals(bool inKeyMode) {
    for (int sig = 1; sig < NSIG; ++sig) {
        if (sigismember(&handled, sig) == 1) {
            struct sigaction action {};
            action.sa_handler = !inKeyMode       ? SIG_DFL
                                : sig == SIGTSTP ? stopAndResume
                                                 : restoreAndReraise;
            action.sa_mask = handled;  // one handler at a time
            sigaction(sig, &action, nullptr);
        }
    }
}

// Leaves key mode. Only in the foreground: in the background the settings are the shell's.
void restore() {
    if (rawActive != 0 && inForeground()) {
        tcsetattr(STDIN_FILENO, TCSANOW, &savedSettings);
    }
    rawActive = 0;
    handleSignals(false);
}

// Key-at-a-time without echo, as _getch reads, from the settings the terminal has now, with the
// handlers in place; Ctrl+C and Ctrl+Z still send their signals. Whether the terminal took it.
bool setRaw() {
    if (tcgetattr(STDIN_FILENO, &savedSettings) != 0) {
        return false;
    }
    termios raw = savedSettings;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | IEXTEN);
    raw.c_iflag &= ~static_cast<tcflag_t>(IXON);  // Ctrl+S, Ctrl+Q and Ctrl+V are keys too
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    if (tcsetattr(STDIN_FILENO, TCSANOW, &raw) != 0) {
        return false;
    }
    rawActive = 1;
    handleSignals(true);
    return true;
}

// Holds the handled signals back while the terminal changes mode: a handler finds it as
// rawActive says.
class SignalsHeld {
  public:
    SignalsHeld() { sigprocmask(SIG_BLOCK, &handled, &before); }
    ~SignalsHeld() { sigprocmask(SIG_SETMASK, &before, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

  private:
    sigset_t before{};
};

// Puts the terminal in key mode, from the settings it has now, unless it is there (it is not after
// Ctrl+Z and fg). In the background a read of nothing stops the job ("tty input") until fg.
void enterKeyMode() {
    while (rawActive == 0) {
        if (!inForeground()) {
            char none = 0;
            if (read(STDIN_FILENO, &none, 0) < 0 && errno != EINTR) {
                fail("cannot read standard input", errno);
            }
            continue;
        }
        const SignalsHeld held;
        if (!setRaw()) {
            return;  // keys are read as the terminal delivers them
        }
    }
}

// The next byte: typed ahead, else from the terminal in key mode; -1 at end of input, or when
// waitMs (-1: none) passes first.
int next(InputBuffer& input, int waitMs) {
    if (const int ahead = input.takeTypedAhead(); ahead >= 0) {
        return ahead;
    }
    for (;;) {
        enterKeyMode();
        pollfd fd{STDIN_FILENO, POLLIN, 0};
        const int ready = poll(&fd, 1, waitMs);
        unsigned char byte = 0;
        const long got = ready > 0 ? read(STDIN_FILENO, &byte, 1) : ready;
        if (got >= 0) {
            return got == 1 ? byte : -1;
        }
        if (errno != EINTR && errno != EAGAIN) {
            fail("cannot read standard input", errno);
        }
    }
}

// The program acts on Esc and the digits 1 to 4 and only counts other keys' codes: two, as _getch
// gives them on a Windows console, for arrow, editing and function keys and Alt with a key.
int codes(bool two) {
    secondCodeDue = two;
    return kOther;
}

// Whether the locale's name (LC_ALL, else LC_CTYPE, else LANG) names a single-byte character set,
// however it writes it; C and POSIX name none: UTF-8. The name is read, not the locale: few are
// installed, and a terminal set to KOI8-R sends KOI8-R whatever is.
bool singleByteText() {
    static const bool singleByte = [] {
        std::string_view name;
        for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
            if (const char* const value = std::getenv(variable); name.empty() && value != nullptr) {
                name = value;
            }
        }
        const std::string_view set = name.substr(std::min(name.find('.'), name.size()));
        for (const std::string_view part : {"KOI8", "koi8", "1251", "866", "8859"}) {
            if (set.find(part) != set.npos) {
                return true;  // KOI8-R or -U, CP1251, CP866, ISO-8859-*
            }
        }
        return false;
    }();
    return singleByte;
}

// A UTF-8 character is one key (unless the locale is single-byte); a byte that continues nothing
// stays typed ahead.
void restOfCharacter(InputBuffer& input, int first) {
    const std::size_t length = singleByteText() ? 1 : utf8Length(static_cast<unsigned char>(first));
    for (std::size_t i = 1; i < length; ++i) {
        const int byte = next(input, kEscWaitMs);
        if (byte < 0) {
            return;
        }
        if ((byte & 0xC0) != 0x80) {
            input.typeAhead(static_cast<char>(byte));
            return;
        }
    }
}

// The first numbers of ESC [ n ~ that name an editing or a function key; rxvt ends its shifted
// and Ctrl forms with $, ^ or @ instead of ~.
constexpr std::array<std::pair<int, int>, 6> kKeyNumbers{
    {{1, 8}, {11, 15}, {17, 21}, {23, 26}, {28, 29}, {31, 34}}};

// Arrows, Home, End, F1 to F4 and Shift+Tab, with or without modifiers, end in one of these.
constexpr std::string_view kKeyLetters = "ABCDFHPQRSZabcd";

bool namesKey(char final, int number) {
    return kKeyLetters.find(final) != kKeyLetters.npos ||
           (std::string_view("~$^@").find(final) != std::string_view::npos &&
            std::any_of(kKeyNumbers.begin(), kKeyNumbers.end(), [number](const auto& range) {
                return number >= range.first && number <= range.second;
            }));
}

// Reads a sequence after ESC [ or ESC O to its last byte: whether it names a key of two codes. One
// cut short by the wait, or by a byte of no sequence (which stays typed ahead), is one code.
bool sequence(InputBuffer& input, int introducer) {
    int byte = next(input, kEscWaitMs);
    if (introducer == '[' && byte == '[') {  // the Linux console's F1 to F5: ESC [ [ A to E
        byte = next(input, kEscWaitMs);
        return byte >= 'A' && byte <= 'E';
    }
    int number = 0;  // the first parameter
    for (bool first = true; byte >= 0x20 && byte <= 0x3F && byte != '$';
         byte = next(input, kEscWaitMs)) {
        first = first && byte >= '0' && byte <= '9';
        number = first ? std::min(number * 10 + byte - '0', 1000) : number;
    }
    if (byte >= 0 && (byte < 0x20 || byte > 0x7E)) {
        input.typeAhead(static_cast<char>(byte));
        return false;
    }
    return byte >= 0 && namesKey(static_cast<char>(byte), number);
}

// The rest of a key that began with ESC: a lone Esc, an escape sequence, or Alt with a key.
int escapeKey(InputBuffer& input) {
    int byte = next(input, kEscWaitMs);
    bool alt = false;
    // ESC ESC: a double tap when nothing follows (the second is typed ahead), else Alt with the key
    // the second begins.
    while (byte == kEsc) {
        const int after = next(input, kEscWaitMs);
        if (after < 0) {
            input.typeAhead(static_cast<char>(kEsc));
            return alt ? codes(true) : kEsc;
        }
        alt = true;
        byte = after;
    }
    if (byte < 0) {
        return kEsc;
    }
    if (byte == '[' || byte == 'O') {
        const bool two = sequence(input, byte);
        return codes(alt || two);
    }
    restOfCharacter(input, byte);
    return codes(true);
}

// Calls read or write until done: again after a signal, and once ready when another program left
// the descriptor non-blocking (standard input and output may share the terminal's open file).
template <class Call>
long whenReady(int fd, short event, Call call) {
    for (;;) {
        const long done = call();
        if (done >= 0 || (errno != EINTR && errno != EAGAIN)) {
            return done;
        }
        pollfd ready{fd, event, 0};
        poll(&ready, 1, errno == EAGAIN ? -1 : 0);  // after a signal, at once
    }
}

}  // namespace

bool isTerminal(int fd) {
    return isatty(fd) == 1;
}

long readFd(int fd, char* data, std::size_t size) {
    return whenReady(fd, POLLIN, [&] { return read(fd, data, size); });
}

long writeFd(int fd, const char* data, std::size_t size) {
    return whenReady(fd, POLLOUT, [&] { return write(fd, data, size); });
}

int openAppend(const char* path) {
    const int fd = open(path, O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    struct stat file {};
    if (fd >= 0 && fstat(fd, &file) == 0) {
        // Open, a FIFO has a reader: the writes wait for it, however slowly it reads.
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        // Copies of this program hold a file while they write and take back: none cuts another's.
        while (S_ISREG(file.st_mode) && flock(fd, LOCK_EX) != 0 && errno == EINTR) {
        }
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

void prepareSignals() {
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    chooseHandledSignals();
}

void closeFd(int fd) {
    close(fd);
}

int readTerminalKey(InputBuffer& input) {
    if (secondCodeDue) {
        return codes(false);
    }
    // However the read ends, the terminal gets its own settings back.
    const struct LeaveKeyMode {
        ~LeaveKeyMode() {
            const SignalsHeld held;
            restore();
        }
    } leave;
    const int byte = next(input, -1);
    if (byte < 0) {
        return kNoKey;
    }
    if (byte == kEsc) {
        return escapeKey(input);
    }
    restOfCharacter(input, byte);
    return byte;
}

// A terminal that takes no escape sequences (TERM unset, empty or dumb) gets a form feed.
void clearTerminal() {
    const char* const term = std::getenv("TERM");
    const bool dumb =
        term == nullptr || std::string_view(term).empty() || std::string_view(term) == "dumb";
    std::cout << (dumb ? "\f" : "\033[H\033[2J\033[3J");
}

}  // namespace platform

const char* const kLineEnd = "\n";

std::size_t characterLength(std::string_view text) {
    return platform::singleByteText() ? 1 : utf8CharacterLength(text);
}

}  // namespace console
