// Runs one program on a file as standard input and reports what the operating
// system accounted to it, as one line of key=value pairs:
//
//   registry_bench_launch [--stack-kb=K] [--pipe] IN OUT -- PROGRAM [ARGS...]
//
// IN is its standard input, OUT its standard output (/dev/null, say). With
// --pipe, standard output is a pipe that this launcher drains and throws away
// (OUT is then ignored). --stack-kb limits the child's stack (RLIMIT_STACK).
//
// The child is started from this small process rather than from the driver,
// because the peak resident size the kernel reports for a process also counts
// the memory of the process it was forked from, up to the exec: started from a
// script interpreter it would report the interpreter's size.
//
// Reported: wall seconds from start to exit, user and system seconds, peak
// resident kilobytes, the write and read system calls and bytes (from
// /proc/PID/io, read before the child is reaped), and the exit status.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

double seconds(const timeval& tv) {
    return static_cast<double>(tv.tv_sec) + static_cast<double>(tv.tv_usec) / 1e6;
}

double now() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "registry_bench_launch: %s: %s\n", what, std::strerror(errno));
    std::exit(2);
}

[[noreturn]] void usage() {
    std::fputs("usage: registry_bench_launch [--stack-kb=K] [--pipe] IN OUT -- PROGRAM [ARGS...]\n",
               stderr);
    std::exit(2);
}

// The child's counters of read and write system calls; zero where /proc has none.
struct IoCounts {
    unsigned long long syscr = 0;
    unsigned long long syscw = 0;
    unsigned long long rchar = 0;
    unsigned long long wchar = 0;
};

IoCounts readIo(pid_t pid) {
    IoCounts io;
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/io", static_cast<int>(pid));
    std::FILE* f = std::fopen(path, "r");
    if (f == nullptr) {
        return io;
    }
    char key[32];
    unsigned long long value = 0;
    while (std::fscanf(f, "%31[^:]: %llu\n", key, &value) == 2) {
        if (std::strcmp(key, "syscr") == 0) {
            io.syscr = value;
        } else if (std::strcmp(key, "syscw") == 0) {
            io.syscw = value;
        } else if (std::strcmp(key, "rchar") == 0) {
            io.rchar = value;
        } else if (std::strcmp(key, "wchar") == 0) {
            io.wchar = value;
        }
    }
    std::fclose(f);
    return io;
}

}  // namespace

int main(int argc, char** argv) {
    long stackKb = 0;
    bool pipeOut = false;
    int i = 1;
    for (; i < argc && std::strncmp(argv[i], "--", 2) == 0 && argv[i][2] != '\0'; ++i) {
        if (std::strncmp(argv[i], "--stack-kb=", 11) == 0) {
            stackKb = std::strtol(argv[i] + 11, nullptr, 10);
        } else if (std::strcmp(argv[i], "--pipe") == 0) {
            pipeOut = true;
        } else {
            usage();
        }
    }
    if (argc - i < 4 || std::strcmp(argv[i + 2], "--") != 0) {
        usage();
    }
    const char* inPath = argv[i];
    const char* outPath = argv[i + 1];
    char** command = argv + i + 3;

    const int in = open(inPath, O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        fail(inPath);
    }
    int out = -1;
    int drain = -1;
    if (pipeOut) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) {
            fail("pipe");
        }
        drain = fds[0];
        out = fds[1];
    } else {
        out = open(outPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (out < 0) {
            fail(outPath);
        }
    }

    const double start = now();
    const pid_t pid = fork();
    if (pid < 0) {
        fail("fork");
    }
    if (pid == 0) {
        if (stackKb > 0) {
            const rlimit limit{static_cast<rlim_t>(stackKb) * 1024,
                               static_cast<rlim_t>(stackKb) * 1024};
            if (setrlimit(RLIMIT_STACK, &limit) != 0) {
                _exit(126);
            }
        }
        if (dup2(in, STDIN_FILENO) < 0 || dup2(out, STDOUT_FILENO) < 0) {
            _exit(126);
        }
        execv(command[0], command);
        _exit(127);
    }
    close(in);
    close(out);
    if (drain >= 0) {
        static char sink[1 << 16];
        while (read(drain, sink, sizeof sink) > 0) {
        }
        close(drain);
    }

    // Wait for the exit without reaping, so the child's counters can still be read.
    siginfo_t info{};
    while (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) != 0) {
        if (errno != EINTR) {
            fail("waitid");
        }
    }
    const double wall = now() - start;
    const IoCounts io = readIo(pid);
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            fail("wait4");
        }
    }
    const int exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const int signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    std::printf(
        "wall=%.6f user=%.6f sys=%.6f maxrss_kb=%ld syscw=%llu syscr=%llu wchar=%llu "
        "rchar=%llu exit=%d signal=%d\n",
        wall, seconds(usage.ru_utime), seconds(usage.ru_stime), usage.ru_maxrss, io.syscw, io.syscr,
        io.wchar, io.rchar, exitCode, signal);
    return 0;
}
