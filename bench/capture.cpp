// Preloaded into one run (LD_PRELOAD) to keep what it writes to standard output:
// the bytes in $REGISTRY_CAPTURE.out and the size of each write, as a native
// 32-bit number, in $REGISTRY_CAPTURE.len. Nothing reaches the real standard
// output; other descriptors are written as usual. Both files go through large
// stdio buffers, which the C library flushes at the exit after every destructor
// has run, so the run costs little more than the program's own work. A write
// that bypasses this (writev, say) is caught by the driver: the program's
// uncaptured runs would then write more than was kept.

#include <sys/syscall.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

static std::FILE* bytes = nullptr;
static std::FILE* sizes = nullptr;

static std::FILE* create(const char* prefix, const char* extension) {
    char path[4096];
    std::snprintf(path, sizeof path, "%s%s", prefix, extension);
    std::FILE* f = std::fopen(path, "wb");
    if (f == nullptr || std::setvbuf(f, nullptr, _IOFBF, 1 << 20) != 0) {
        _exit(125);
    }
    return f;
}

static __attribute__((constructor)) void openFiles() {
    const char* prefix = std::getenv("REGISTRY_CAPTURE");
    if (prefix == nullptr) {
        _exit(125);
    }
    bytes = create(prefix, ".out");
    sizes = create(prefix, ".len");
}

extern "C" ssize_t write(int fd, const void* buf, size_t n) {
    if (fd != STDOUT_FILENO) {
        return syscall(SYS_write, fd, buf, n);
    }
    const auto size = static_cast<std::uint32_t>(n);
    if (std::fwrite(buf, 1, n, bytes) != n || std::fwrite(&size, sizeof size, 1, sizes) != 1) {
        _exit(125);
    }
    return static_cast<ssize_t>(n);
}
