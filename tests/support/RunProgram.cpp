#include "support/RunProgram.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testsupport {
namespace {

std::string foldCrlf(const std::string& text) {
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        folded.push_back(text[i]);
    }
    return folded;
}

void makePipe(int fds[2]) {
    if (pipe2(fds, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
}

}  // namespace

std::vector<std::string> registryCommand() {
    std::vector<std::string> argv;
    if (const char* runner = std::getenv("REGISTRY_RUNNER"); runner != nullptr && *runner != 0) {
        std::istringstream words(runner);
        for (std::string word; words >> word;) {
            argv.push_back(word);
        }
    }
    const char* bin = std::getenv("REGISTRY_BIN");
    argv.emplace_back(bin != nullptr && *bin != 0 ? bin : REGISTRY_DEFAULT_BIN);
    return argv;
}

bool registryWritesCrlf() {
    const char* crlf = std::getenv("REGISTRY_CRLF");
    return crlf != nullptr && std::string(crlf) == "1";
}

std::string asWritten(const std::string& text) {
    if (!registryWritesCrlf()) {
        return text;
    }
    std::string converted;
    for (const char c : text) {
        if (c == '\n') {
            converted.push_back('\r');
        }
        converted.push_back(c);
    }
    return converted;
}

std::string readLog(const std::filesystem::path& dir) {
    std::ifstream in(dir / "name.txt", std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    const std::string log = content.str();
    if (!registryWritesCrlf()) {
        EXPECT_EQ(log.find('\r'), std::string::npos) << "a CR in the log";
        return log;
    }
    for (std::size_t i = log.find('\n'); i != std::string::npos; i = log.find('\n', i + 1)) {
        EXPECT_TRUE(i > 0 && log[i - 1] == '\r') << "a log line without CR LF at " << i;
    }
    return foldCrlf(log);
}

RunResult runRegistry(const std::string& input, const std::filesystem::path& dir,
                      double timeoutSeconds) {
    RunResult result = runCommand(registryCommand(), input, dir, timeoutSeconds);
    if (registryWritesCrlf()) {
        result.out = foldCrlf(result.out);
        result.err = foldCrlf(result.err);
    }
    return result;
}

RunResult runCommand(const std::vector<std::string>& argv, const std::string& input,
                     const std::filesystem::path& dir, double timeoutSeconds) {
    int in[2];
    int out[2];
    int err[2];
    makePipe(in);
    makePipe(out);
    makePipe(err);
    const pid_t pid = fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        if (chdir(dir.c_str()) != 0) {
            _exit(126);
        }
        std::vector<char*> args;
        for (const std::string& arg : argv) {
            args.push_back(const_cast<char*>(arg.c_str()));
        }
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    fcntl(in[1], F_SETFL, O_NONBLOCK);
    signal(SIGPIPE, SIG_IGN);

    RunResult result;
    std::size_t written = 0;
    int inFd = in[1];
    if (input.empty()) {
        close(inFd);
        inFd = -1;
    }
    bool outOpen = true;
    bool errOpen = true;
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long>(timeoutSeconds * 1000));
    char buffer[65536];
    while (outOpen || errOpen) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) {
            result.timedOut = true;
            kill(pid, SIGKILL);
            break;
        }
        pollfd fds[3] = {{out[0], static_cast<short>(outOpen ? POLLIN : 0), 0},
                         {err[0], static_cast<short>(errOpen ? POLLIN : 0), 0},
                         {inFd, POLLOUT, 0}};
        const int ready = poll(fds, 3, static_cast<int>(left));
        if (ready < 0 && errno != EINTR) {
            break;
        }
        if (inFd >= 0 && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP)) != 0) {
            const ssize_t n = write(inFd, input.data() + written, input.size() - written);
            if (n > 0) {
                written += static_cast<std::size_t>(n);
            }
            if (n < 0 && errno != EAGAIN) {
                written = input.size();
            }
            if (written == input.size()) {
                close(inFd);
                inFd = -1;
            }
        }
        for (int i = 0; i < 2; ++i) {
            if ((fds[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) {
                continue;
            }
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n <= 0) {
                (i == 0 ? outOpen : errOpen) = false;
            } else {
                (i == 0 ? result.out : result.err).append(buffer, static_cast<std::size_t>(n));
            }
        }
    }
    if (inFd >= 0) {
        close(inFd);
    }
    close(out[0]);
    close(err[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status) && !result.timedOut) {
        result.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
    return result;
}

}  // namespace testsupport
