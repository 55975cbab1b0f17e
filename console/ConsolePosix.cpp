#include <fcntl.h>
#include <poll.h>
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

// What the character set in a locale's name contains when it is single-byte.
constexpr std::array<std::string_view, 5> kSingleByteSets{"KOI8", "koi8", "1251", "866", "8859"};

// Whether the next key read gives the second code of a key of two codes.
bool secondCodeDue = false;

// The terminal's own settings while a key is awaited, for the guard and the signal handlers.
termios savedSettings{};
volatile std::sig_atomic_t rawActive = 0;

// Whether the program may touch the terminal's settings: not while its job is in the background.
bool inForeground() {
    const pid_t group = tcgetpgrp(STDIN_FILENO);
    return group < 0 || group == getpgrp();
}

// Key-at-a-time without echo, as _getch reads; signals (Ctrl+C, Ctrl+Z) still work.
bool setRaw() {
    termios raw = savedSettings;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | IEXTEN);
    raw.c_iflag &= ~static_cast<tcflag_t>(IXON);  // Ctrl+S, Ctrl+Q and Ctrl+V are keys too
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    rawActive = tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0 ? 1 : 0;
    return rawActive != 0;
}

// The signals the program handles in key mode: Ctrl+Z, and those that end the program, which
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

void chooseHandledSignals() {
    static bool chosen = false;
    if (chosen) {
        return;
    }
    chosen = true;
    sigemptyset(&handled);
    for (int sig = 1; sig < NSIG; ++sig) {
        struct sigaction before {};
        if ((sig == SIGTSTP || endsTheProgram(sig)) && sigaction(sig, nullptr, &before) == 0 &&
            before.sa_handler != SIG_IGN) {
            sigaddset(&handled, sig);
        }
    }
}

void restoreAndReraise(int sig);
void stopAndResume(int sig);

// The handlers in key mode; outside it every signal acts as it would without them, so that one
// sent to a stopped job (kill %1) ends it at once.
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

void restoreAndReraise(int sig) {
    restore();
    std::raise(sig);
}

// Ctrl+Z: the shell gets the terminal as it was, and the job stops. The key read puts the
// terminal back in key mode once the job is in the foreground again.
void stopAndResume(int sig) {
    const int savedErrno = errno;
    restore();
    sigprocmask(SIG_UNBLOCK, &handled, nullptr);
    std::raise(sig);
    sigprocmask(SIG_BLOCK, &handled, nullptr);
    errno = savedErrno;
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

// Puts the terminal in key mode, from the settings it has now, unless it is there already (it
// is not after Ctrl+Z and fg). In the background a read of nothing stops the job ("tty input")
// until fg, as any read there would, or fails where the job cannot be stopped.
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
        if (tcgetattr(STDIN_FILENO, &savedSettings) != 0) {
            return;  // keys are read as the terminal delivers them
        }
        handleSignals(true);
        if (!setRaw()) {
            restore();
            return;
        }
    }
}

// Key mode for one key read, then the terminal's own settings again.
class KeyMode {
  public:
    KeyMode() { chooseHandledSignals(); }
    ~KeyMode() {
        const SignalsHeld held;
        restore();
    }
    KeyMode(const KeyMode&) = delete;
    KeyMode& operator=(const KeyMode&) = delete;
};

// One byte from the terminal, in key mode; -1 at end of input, or when waitMs (-1: no limit)
// passes first.
int readByte(int waitMs) {
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

// The next byte: typed ahead, else from the terminal; -1 when none comes within waitMs.
int next(InputBuffer& input, int waitMs) {
    const int ahead = input.takeTypedAhead();
    return ahead >= 0 ? ahead : readByte(waitMs);
}

// The program acts on Esc and the digits 1 to 4, and only counts the codes of other keys. What
// must stay is how many codes a key gives: two, as _getch gives them on a Windows console, for
// arrow, editing and function keys and for Alt with a key; one for any other.
int codes(bool two) {
    secondCodeDue = two;
    return kOther;
}

// Whether the locale's name (LC_ALL, else LC_CTYPE, else LANG) names a single-byte character set:
// KOI8-R or -U, CP1251, CP866 or ISO-8859-*, however the name writes it. The name is read, not the
// locale: few locales are installed, and a terminal set to KOI8-R sends KOI8-R whatever is. C and
// POSIX name none: UTF-8.
bool singleByteText() {
    static const bool singleByte = [] {
        std::string_view name;
        for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
            if (const char* const value = std::getenv(variable); name.empty() && value != nullptr) {
                name = value;
            }
        }
        const std::string_view set = name.substr(std::min(name.find('.'), name.size()));
        return std::any_of(kSingleByteSets.begin(), kSingleByteSets.end(),
                           [set](std::string_view part) { return set.find(part) != set.npos; });
    }();
    return singleByte;
}

// A UTF-8 character is one key: its continuation bytes are read with its first byte, in a locale
// that is not single-byte. A byte that continues nothing stays typed ahead.
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

bool namesKey(int final, int number) {
    if (std::string_view("ABCDFHPQRSZabcd").find(static_cast<char>(final)) !=
        std::string_view::npos) {
        return true;  // arrows, Home, End, F1 to F4, Shift+Tab, with or without modifiers
    }
    return std::string_view("~$^@").find(static_cast<char>(final)) != std::string_view::npos &&
           std::any_of(kKeyNumbers.begin(), kKeyNumbers.end(), [number](const auto& range) {
               return number >= range.first && number <= range.second;
           });
}

// Reads an escape sequence after ESC [ or ESC O to its last byte: whether it names a key of two
// codes. A sequence cut short by the wait is one code, as is one ended by a byte that belongs to
// no sequence, which stays typed ahead.
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
    return byte >= 0 && namesKey(byte, number);
}

// The rest of a key that began with ESC: a lone Esc, an escape sequence, or Alt with a key.
int escapeKey(InputBuffer& input) {
    int byte = next(input, kEscWaitMs);
    bool alt = false;
    // ESC ESC is a double tap when nothing follows (the second Esc is typed ahead), else Alt with
    // the key the second ESC begins.
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

// Calls read or write on a descriptor; when another program has left it non-blocking (standard
// input and output may share the terminal's open file), waits until it is ready, as a blocking
// descriptor does.
template <class Call>
long whenReady(int fd, short event, Call call) {
    for (;;) {
        const long done = call();
        if (done >= 0 || errno != EAGAIN) {
            return done;
        }
        pollfd ready{fd, event, 0};
        poll(&ready, 1, -1);
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

void reportFailedWrites() {
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
}

void closeFd(int fd) {
    close(fd);
}

int readTerminalKey(InputBuffer& input) {
    if (secondCodeDue) {
        return codes(false);
    }
    const KeyMode keys;
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

// A terminal that takes no escape sequences (TERM unset, empty or dumb: Emacs's shell, some IDE
// consoles) gets what a file gets: a form feed.
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
