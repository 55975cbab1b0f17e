#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <deque>
#include <iostream>
#include <string>

#include "console/Console.h"

namespace console {
namespace {

// The buffers of the process's own standard streams, once main has attached them.
std::streambuf* ownInput = nullptr;
std::streambuf* ownOutput = nullptr;

bool inputIsTerminal() {
    return std::cin.rdbuf() == ownInput && isatty(STDIN_FILENO) == 1;
}
bool outputIsTerminal() {
    return std::cout.rdbuf() == ownOutput && isatty(STDOUT_FILENO) == 1;
}

// The second codes of two-code keys, handed out by the following reads.
std::deque<int> pendingCodes;

constexpr int kEsc = 27;
constexpr int kExtended = 224;  // arrows and the editing block
constexpr int kFunction = 0;    // F1 to F10
constexpr int kUnknown = 0;     // any other sequence: neither Esc nor a digit
constexpr int kEscWaitMs = 75;  // an Esc followed by nothing within this is a lone Esc

// Terminal settings saved while a key is read, restored by the guard or a signal.
termios savedSettings{};
volatile std::sig_atomic_t rawActive = 0;

void restoreAndReraise(int sig) {
    if (rawActive != 0) {
        tcsetattr(STDIN_FILENO, TCSANOW, &savedSettings);
        rawActive = 0;
    }
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

void installSignalRestore() {
    static bool installed = false;
    if (installed) {
        return;
    }
    installed = true;
    for (const int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        struct sigaction action {};
        action.sa_handler = restoreAndReraise;
        sigemptyset(&action.sa_mask);
        sigaction(sig, &action, nullptr);
    }
}

// Puts the terminal in key-at-a-time mode without echo for its lifetime.
class RawMode {
  public:
    RawMode() {
        if (tcgetattr(STDIN_FILENO, &savedSettings) != 0) {
            return;
        }
        installSignalRestore();
        termios raw = savedSettings;
        raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        rawActive = 1;
        if (tcsetattr(STDIN_FILENO, TCSANOW, &raw) != 0) {
            rawActive = 0;
        }
    }
    ~RawMode() {
        if (rawActive != 0) {
            tcsetattr(STDIN_FILENO, TCSANOW, &savedSettings);
            rawActive = 0;
        }
    }
    RawMode(const RawMode&) = delete;
    RawMode& operator=(const RawMode&) = delete;
};

// One byte from the terminal; -1 at end of input, or when timeoutMs passes first.
int readByte(int timeoutMs) {
    if (timeoutMs >= 0) {
        pollfd fd{STDIN_FILENO, POLLIN, 0};
        int ready = 0;
        do {
            ready = poll(&fd, 1, timeoutMs);
        } while (ready < 0 && errno == EINTR);
        if (ready <= 0) {
            return -1;
        }
    }
    unsigned char byte = 0;
    ssize_t got = 0;
    do {
        got = read(STDIN_FILENO, &byte, 1);
    } while (got < 0 && errno == EINTR);
    return got == 1 ? byte : -1;
}

int twoCodes(int first, int second) {
    pendingCodes.push_back(second);
    return first;
}

// Codes for the final byte of ESC [ ... or ESC O ...
int finalKey(int final, const std::string& params) {
    switch (final) {
        case 'A':
            return twoCodes(kExtended, 72);
        case 'B':
            return twoCodes(kExtended, 80);
        case 'D':
            return twoCodes(kExtended, 75);
        case 'C':
            return twoCodes(kExtended, 77);
        case 'H':
            return twoCodes(kExtended, 71);
        case 'F':
            return twoCodes(kExtended, 79);
        case 'P':
            return twoCodes(kFunction, 59);
        case 'Q':
            return twoCodes(kFunction, 60);
        case 'R':
            return twoCodes(kFunction, 61);
        case 'S':
            return twoCodes(kFunction, 62);
        default:
            break;
    }
    if (final != '~') {
        return kUnknown;
    }
    const std::string number = params.substr(0, params.find(';'));
    struct Tilde {
        const char* number;
        int first;
        int second;
    };
    static constexpr Tilde kTildeKeys[] = {
        {"1", kExtended, 71},  {"7", kExtended, 71},  {"4", kExtended, 79},  {"8", kExtended, 79},
        {"5", kExtended, 73},  {"6", kExtended, 81},  {"2", kExtended, 82},  {"3", kExtended, 83},
        {"11", kFunction, 59}, {"12", kFunction, 60}, {"13", kFunction, 61}, {"14", kFunction, 62},
        {"15", kFunction, 63}, {"17", kFunction, 64}, {"18", kFunction, 65}, {"19", kFunction, 66},
        {"20", kFunction, 67}, {"21", kFunction, 68},
    };
    for (const Tilde& key : kTildeKeys) {
        if (number == key.number) {
            return twoCodes(key.first, key.second);
        }
    }
    return kUnknown;
}

// After ESC: a lone Esc, or a whole escape sequence turned into key codes.
int escapeSequence() {
    const int introducer = readByte(kEscWaitMs);
    if (introducer < 0) {
        return kEsc;
    }
    if (introducer != '[' && introducer != 'O') {
        return kUnknown;  // Alt+key and the like
    }
    std::string params;
    for (;;) {
        const int byte = readByte(kEscWaitMs);
        if (byte < 0) {
            return kUnknown;  // cut short: swallow what came
        }
        if (introducer == '[' && byte == '[' && params.empty()) {
            // Linux console F1 to F5: ESC [ [ A .. E
            const int letter = readByte(kEscWaitMs);
            return letter >= 'A' && letter <= 'E' ? twoCodes(kFunction, 59 + (letter - 'A'))
                                                  : kUnknown;
        }
        if (byte >= 0x40 && byte <= 0x7e) {
            return finalKey(byte, params);
        }
        params.push_back(static_cast<char>(byte));
    }
}

int readTerminalKey() {
    std::cout.flush();
    const RawMode raw;
    const int byte = readByte(-1);
    if (byte < 0) {
        return kNoKey;
    }
    return byte == kEsc ? escapeSequence() : byte;
}

}  // namespace

void attachToStandardStreams() {
    ownInput = std::cin.rdbuf();
    ownOutput = std::cout.rdbuf();
}

int readKey() {
    if (!pendingCodes.empty()) {
        const int code = pendingCodes.front();
        pendingCodes.pop_front();
        return code;
    }
    if (inputIsTerminal()) {
        return readTerminalKey();
    }
    const std::istream::int_type c = std::cin.get();
    return c == std::char_traits<char>::eof() ? kNoKey : static_cast<unsigned char>(c);
}

void clearScreen() {
    if (outputIsTerminal()) {
        std::cout << "\033[H\033[2J\033[3J";
    } else {
        std::cout << '\f';
    }
    std::cout.flush();
}

}  // namespace console
