#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace {

using Clock = std::chrono::steady_clock;

// Output on a terminal: line ends become CR LF, and a clear is an ANSI sequence.
std::string crlf(const std::string& text) {
    std::string out;
    for (const char c : text) {
        out += c == '\n' ? "\r\n" : std::string(1, c);
    }
    return out;
}

const std::string kClear = "\033[H\033[2J\033[3J";
const std::string kMenu =
    crlf("MENU\n1.teacher\n2.Partia\n3.UNION\n4.proverka oshibok so strokami\nESC. Exit");
const std::string kCategory =
    kClear + crlf("1-vivod all inf\n2-ADD\n3-izmenit inf\n4-delet  information\n0-exit\n\n");

bool sameSettings(const termios& a, const termios& b) {
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
           a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

// The program on the slave side of a fresh pseudo-terminal, driven from the master side.
class Terminal {
  public:
    Terminal() {
        std::vector<std::string> command = testsupport::registryCommand();
        std::vector<char*> argv;
        for (std::string& arg : command) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        int sync[2];
        EXPECT_EQ(pipe(sync), 0);
        pid = forkpty(&master, nullptr, nullptr, nullptr);
        if (pid == 0) {
            // Hold back until the parent has read the terminal's first settings.
            close(sync[1]);
            char go = 0;
            if (read(sync[0], &go, 1) != 1 || chdir(dir.path().c_str()) != 0) {
                _exit(126);
            }
            execvp(argv[0], argv.data());
            _exit(127);
        }
        close(sync[0]);
        EXPECT_GT(pid, 0);
        EXPECT_EQ(tcgetattr(master, &before), 0);
        EXPECT_EQ(write(sync[1], "g", 1), 1);
        close(sync[1]);
    }
    ~Terminal() {
        if (pid > 0 && !status) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        close(master);
    }
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    void send(const std::string& bytes) {
        ASSERT_EQ(write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // Keeps reading the output until done() holds; false if ms pass first.
    bool until(const std::function<bool()>& done, int ms = 3000) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
        while (!done()) {
            if (Clock::now() >= deadline) {
                return false;
            }
            pollfd fd{master, POLLIN, 0};
            char buffer[4096];
            const ssize_t n = poll(&fd, 1, 10) > 0 ? read(master, buffer, sizeof buffer) : 0;
            if (n > 0) {
                output.append(buffer, static_cast<std::size_t>(n));
            } else if (n < 0) {
                usleep(1000);  // the program has closed the terminal
            }
        }
        return true;
    }
    // Until the output since the last mark holds text.
    bool waitFor(const std::string& text) {
        return until([&] { return output.find(text, marked) != std::string::npos; });
    }
    // Until the program has (or no longer has) the terminal in key-at-a-time mode.
    bool waitKeyMode(bool raw) {
        return until([&] { return ((settings().c_lflag & (ICANON | ECHO)) == 0) == raw; });
    }
    // The wait status once the program has ended, or nothing if it still runs after ms.
    std::optional<int> waitExit(int ms = 3000) {
        until(
            [&] {
                int raw = 0;
                if (waitpid(pid, &raw, WNOHANG) == pid) {
                    status = raw;
                }
                return status.has_value();
            },
            ms);
        return status;
    }
    termios settings() const {
        termios now{};
        tcgetattr(master, &now);
        return now;
    }
    void mark() { marked = output.size(); }
    std::string sinceMark() const { return output.substr(marked); }

    termios before{};

  private:
    testsupport::TempDir dir;
    int master = -1;
    pid_t pid = -1;
    std::optional<int> status;
    std::string output;
    std::size_t marked = 0;
};

bool exitedWith(const std::optional<int>& status, int code) {
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == code;
}

TEST(Terminal, DigitTakenAtOnceArrowsAreTwoKeysAndALoneEscEndsCleanly) {
    Terminal term;
    ASSERT_TRUE(term.waitFor(kMenu));
    for (const std::string arrow : {"\033[A", "\033OA"}) {
        ASSERT_TRUE(term.waitKeyMode(true)) << "the key is awaited with echo and line editing on";
        term.mark();
        term.send(arrow);
        // Two codes, two passes of the menu; neither is Esc.
        EXPECT_TRUE(term.waitFor(kClear + kMenu + kClear + kMenu)) << arrow.substr(1);
        EXPECT_FALSE(term.waitExit(200)) << arrow.substr(1);
    }
    ASSERT_TRUE(term.waitKeyMode(true));
    term.mark();
    term.send("4");  // no Enter, and no echo
    const std::string prompt = crlf("Vvedite stroky (dlia proverki razmernosty)\n");
    ASSERT_TRUE(term.waitFor(prompt)) << testing::PrintToString(term.sinceMark());
    EXPECT_EQ(term.sinceMark(), kClear + prompt);
    ASSERT_TRUE(term.waitKeyMode(false));
    term.send("short\n");
    EXPECT_TRUE(term.waitFor(crlf("v rezultate polychenaia stroka  short !!!!!\n") + kMenu));
    ASSERT_TRUE(term.waitKeyMode(true));
    term.mark();
    term.send("\033");
    EXPECT_TRUE(exitedWith(term.waitExit(), 0));
    EXPECT_EQ(term.sinceMark(), kClear);
    EXPECT_TRUE(sameSettings(term.settings(), term.before));
}

TEST(Terminal, SettingsAreRestoredAfterCtrlC) {
    Terminal term;
    ASSERT_TRUE(term.waitFor(kMenu));
    ASSERT_TRUE(term.waitKeyMode(true));
    term.send("\x03");
    const std::optional<int> status = term.waitExit();
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGINT);
    EXPECT_TRUE(sameSettings(term.settings(), term.before));
}

TEST(Terminal, AddsOneTeacherAndListsIt) {
    Terminal term;
    ASSERT_TRUE(term.waitFor(kMenu));
    ASSERT_TRUE(term.waitKeyMode(true));
    term.send("1");
    // Each answer is typed once its question is on the screen, as a user would.
    const std::string addMenu = "1-vvod INFO \r\n0-exit\r\n\r\n";
    const std::vector<std::pair<std::string, std::string>> steps = {
        {kCategory, "2"},
        {addMenu, "1"},
        {"4-vivod\r\n", "1"},
        {"Enter Name: ", "Ivan"},
        {"Enter Surname: ", "Petrov"},
        {"Enter Lastname: ", "Sidorovich"},
        {"Enter Date of birth: ", "1970"},
        {"Enter Position: ", "docent"},
        {"Enter stepene: ", "kandidat"},
        {"Enter Speciality: ", "math"},
        {"hotite save date?? 1/2\r\n", "1"},
        {"4-vivod\r\n", "4"},
        {addMenu, "0"},
        {kCategory, "1"}};
    for (const auto& [question, answer] : steps) {
        ASSERT_TRUE(term.waitFor(question)) << question;
        ASSERT_TRUE(term.waitKeyMode(false));
        term.mark();
        term.send(answer + "\n");
    }
    const std::string separator = std::string(54, '-') + "\r\n";
    ASSERT_TRUE(term.waitFor(separator));
    EXPECT_EQ(term.sinceMark(),
              crlf("1\n-----Teacher Member------\nName: Ivan\nSurname: Petrov\nLastname: "
                   "Sidorovich\nDate of birth: 1970\nPosition: docent\nstepen: kandidat\n"
                   "Speciality: math\n") +
                  separator);
    // The listing waits for one key, without Enter and without echo.
    ASSERT_TRUE(term.waitKeyMode(true));
    term.mark();
    term.send("x");
    ASSERT_TRUE(term.waitFor(kCategory));
    EXPECT_EQ(term.sinceMark(), kCategory);
}

}  // namespace
