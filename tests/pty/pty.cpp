#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <utmp.h>

#include <chrono>
#include <cstring>

#include "support/RunProgram.h"

namespace {

// On a terminal line ends are CR LF and a clear is an ANSI sequence.
const std::string kClear = "\033[H\033[2J\033[3J";
const std::string kMenu =
    "MENU\r\n1.teacher\r\n2.Partia\r\n3.UNION\r\n4.proverka oshibok so strokami\r\nESC. Exit";
const std::string kCategory =
    kClear + "1-vivod all inf\r\n2-ADD\r\n3-izmenit inf\r\n4-delet  information\r\n0-exit\r\n\r\n";
const std::string kPrompt = kClear + "Vvedite stroky (dlia proverki razmernosty)\r\n";
const std::string kProgram = testsupport::registryCommand().back();  // itself, without a runner

// Once the terminal takes keys one at a time without echo ('k') or lines with echo
// ('l'), the keys are sent and the screen shows the text. A key the program alone
// takes shows exactly that; lines are echoed and a shell has its say.
struct Step {
    char mode;
    std::string keys;
    std::string shown;
    int ending = -1;  // the wait status the keys end it with: 0 for exit 0, or the signal
};
struct Session {
    std::string name;
    std::vector<Step> steps;
    std::string log{};               // name.txt at the end
    std::string command = kProgram;  // or a shell to start it
    friend void PrintTo(const Session& session, std::ostream* os) { *os << session.name; }
};

// The command on a fresh pseudo-terminal in a fresh directory, read from the master side.
class Sessions : public testing::TestWithParam<Session> {
  protected:
    Sessions() {
        EXPECT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
        EXPECT_EQ(tcgetattr(slave, &before), 0);  // as the program finds them
        pid = fork();
        if (pid == 0) {
            if (login_tty(slave) == 0 && chdir(dir.path().c_str()) == 0) {
                execl("/bin/sh", "sh", "-c", ("exec " + GetParam().command).c_str(), nullptr);
            }
            _exit(127);
        }
        close(slave);
    }
    ~Sessions() override {
        std::cout << (HasFailure() ? "The terminal showed: " + testing::PrintToString(output) + "\n"
                                   : "");
        for (const pid_t group : {tcgetpgrp(master), status < 0 ? pid : -1}) {
            if (group > 0) {
                kill(-group, SIGKILL);  // the program, a shell, or the job a shell started
            }
        }
        waitpid(pid, nullptr, 0);
        close(master);
    }
    // Keeps reading the output until done() holds; false if that takes too long.
    bool until(const auto& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(4);
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            pollfd fd{master, POLLIN, 0};
            char buffer[4096];
            const ssize_t n = poll(&fd, 1, 10) > 0 ? read(master, buffer, sizeof buffer) : 0;
            output.append(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
            closed = closed || n < 0;  // all is read and the program has closed the terminal
        }
        return done();
    }
    tcflag_t modes() { return tcgetattr(master, &now) == 0 ? now.c_lflag & (ICANON | ECHO) : 1; }

    testsupport::TempDir dir;
    termios before{}, now{};
    int master = -1, slave = -1, pid = -1, status = -1;  // status: its wait status once ended
    bool closed = false;
    std::string output;
    std::size_t marked = 0;  // where the output since the last keys begins
};

TEST_P(Sessions, ShowWhatTheKeysAskAndLeaveTheTerminalAsItWas) {
    ASSERT_TRUE(GetParam().command != kProgram || until([&] { return output.find(kMenu) == 0; }));
    for (const Step& step : GetParam().steps) {
        SCOPED_TRACE("keys " + testing::PrintToString(step.keys));
        ASSERT_TRUE(until([&] { return modes() == (step.mode == 'k' ? 0 : ICANON | ECHO); }));
        marked = output.size();
        ASSERT_EQ(write(master, step.keys.data(), step.keys.size()), std::ssize(step.keys));
        if (step.ending >= 0) {
            ASSERT_TRUE(until([&] { return closed && waitpid(pid, &status, WNOHANG) != 0; }));
            EXPECT_EQ(status, step.ending);
            modes();  // all flags and control characters as they were
            EXPECT_EQ(std::memcmp(&now, &before, offsetof(termios, c_cc) + NCCS), 0);
        }
        ASSERT_TRUE(until([&] { return output.find(step.shown, marked) != std::string::npos; }));
        const bool exact = step.mode == 'k' && GetParam().command == kProgram;
        EXPECT_EQ(exact ? output.substr(marked) : step.shown, step.shown);
    }
    EXPECT_EQ(testsupport::readLog(dir.path()), GetParam().log);
}

// Ctrl+Z gives the shell the terminal as it was; after fg, keys are taken at once again. Stopped
// while a word is awaited, it ends as usual when input ends after fg.
const std::vector<Step> kStopAndGo = {{'l', kProgram + "\n", kMenu},
                                      {'k', "\x1a", "Stopped"},
                                      {'l', "fg\n", kProgram + "\r\n"},
                                      {'k', "4", kPrompt},
                                      {'l', "\x1a", "Stopped"},
                                      {'l', "fg\n", kProgram + "\r\n"},
                                      {'l', "\x04", "registry: end of input"}};
const std::string kTwoPasses = kClear + kMenu + kClear + kMenu;  // a key of two codes

INSTANTIATE_TEST_SUITE_P(
    Terminal, Sessions,
    testing::Values(
        // A digit is taken at once, an arrow or F3 is two keys and no Esc; a lone Esc ends it.
        Session{"KeysThenEsc",
                {Step{'k', "\033[A\033[13~", kTwoPasses + kTwoPasses},
                 Step{'k', "\033OA", kTwoPasses}, Step{'k', "4", kPrompt},
                 Step{'l', "short\n", "v rezultate polychenaia stroka  short !!!!!\r\n" + kMenu},
                 Step{'k', "\033", kClear, 0}}},
        // An Esc right after an Esc is a lone Esc, not the start of a key's sequence.
        Session{"TwoEscs", {{'k', "\033\033", kClear, 0}}},
        // The screen is the terminal's even when standard error goes elsewhere.
        Session{"ErrorsElsewhere", {{'k', "\033", kClear, 0}}, "", kProgram + " 2>/dev/null"},
        Session{"CtrlC", {{'k', "\x03", "", SIGINT}}},
        // Keys pasted at the main menu are taken as if typed one by one (but not echoed).
        Session{"PastedAtTheMenu",
                {{'k', "10\n4abcdefghijk 2\n",
                  kClear + kCategory + kMenu + kPrompt +
                      "eror in  razmer srtoki\r\n1-vvesti novyu storky\r\n 2-obrezat stroky \r\n" +
                      "v rezultate polychenaia stroka  abcdefghi !!!!!\r\n" + kMenu}},
                "abcdefghijk\n"},
        // A whole entry pasted at once is listed, and the listing waits for a real key.
        Session{
            "TeacherPasted",
            {{'k', "1", kClear + kCategory},
             {'l', "2\n1\n1\nIvan\nPetrov\nSidorovich\n1970\ndocent\nkandidat\nmath\n1\n4\n0\n1\n",
              "Speciality: math\r\n" + std::string(54, '-') + "\r\n"},
             {'k', "x", kCategory}}},
        Session{"StoppedUnderDash", kStopAndGo, "", "/bin/dash -i"}),

    [](const testing::TestParamInfo<Session>& test) { return test.param.name; });

}  // namespace
