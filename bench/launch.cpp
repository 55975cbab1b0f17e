// Runs PROGRAM with IN as standard input and /dev/null as standard output, and
// prints what the system accounted to it as key=value pairs:
//
//   registry_bench_launch STACK_KB PRELOAD IN PROGRAM [ARGS...]
//
// STACK_KB (0: none) limits the child's stack; PRELOAD ("-": none) is loaded into
// the child alone. The child is forked from this small process, not from the
// driver, because the peak resident size the kernel reports for a process counts
// the memory of its parent up to the exec.

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fputs("usage: registry_bench_launch STACK_KB PRELOAD IN PROGRAM [ARGS...]\n", stderr);
        return 2;
    }
    const auto stack = static_cast<rlim_t>(std::strtoul(argv[1], nullptr, 10)) * 1024;
    const rlimit limit{stack, stack};
    const int in = open(argv[3], O_RDONLY | O_CLOEXEC);
    const int out = open("/dev/null", O_WRONLY | O_CLOEXEC);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = in < 0 || out < 0 ? -1 : fork();
    if (pid < 0) {
        std::perror(argv[3]);
        return 2;
    }
    if (pid == 0) {
        if ((stack > 0 && setrlimit(RLIMIT_STACK, &limit) != 0) ||
            (std::strcmp(argv[2], "-") != 0 && setenv("LD_PRELOAD", argv[2], 1) != 0) ||
            dup2(in, STDIN_FILENO) < 0 || dup2(out, STDOUT_FILENO) < 0) {
            _exit(126);
        }
        execv(argv[4], argv + 4);
        _exit(127);
    }
    // Wait without reaping: the child's write counters stay readable until then.
    siginfo_t info{};
    waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT);
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/io", static_cast<int>(pid));
    unsigned long long written = 0, calls = 0;
    std::FILE* io = std::fopen(path, "r");
    if (io == nullptr ||
        std::fscanf(io, "rchar: %*u wchar: %llu syscr: %*u syscw: %llu", &written, &calls) != 2) {
        std::perror(path);
        return 2;
    }
    std::fclose(io);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    timeval cpu{};
    timeradd(&usage.ru_utime, &usage.ru_stime, &cpu);
    std::printf("wall=%.6f cpu=%.6f maxrss_kb=%ld syscw=%llu wchar=%llu exit=%d signal=%d\n",
                wall.count(),
                static_cast<double>(cpu.tv_sec) + static_cast<double>(cpu.tv_usec) / 1e6,
                usage.ru_maxrss, calls, written, WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    return 0;
}
