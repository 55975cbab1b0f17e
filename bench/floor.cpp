// A floor for the program: reads all of standard input, then writes the bytes the
// program wrote on that input (OUT, as the capture kept them), either in the
// program's own writes, whose sizes LEN holds (one a line and a prompt, as its
// flushes make them), or with --buffered in the 8 KiB blocks of a stream buffer
// that is never flushed. Nothing is formatted: the bytes are mapped from the file.
//
//   registry_bench_floor OUT LEN [--buffered]    (any third argument: buffered)

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static const char* map(const char* path, std::size_t& size) {
    const int fd = open(path, O_RDONLY);
    struct stat st {};
    void* p =
        fd < 0 || fstat(fd, &st) != 0 || st.st_size == 0
            ? MAP_FAILED
            : mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (p == MAP_FAILED) {
        std::perror(path);
        std::exit(2);
    }
    size = static_cast<std::size_t>(st.st_size);
    return static_cast<const char*>(p);
}

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: registry_bench_floor OUT LEN [--buffered]\n", stderr);
        return 2;
    }
    std::size_t size = 0, count = 0;
    const char* out = map(argv[1], size);
    const char* len = map(argv[2], count);
    for (char input[1 << 16]; read(STDIN_FILENO, input, sizeof input) > 0;) {
    }
    // Any difference from the program's writes shows in the driver's comparison.
    for (std::size_t i = 0, at = 0; at < size; i += sizeof(std::uint32_t)) {
        std::uint32_t n = 8192;  // buffered: a stream buffer's worth at a time
        if (argc == 3 && i + sizeof n <= count) {
            std::memcpy(&n, len + i, sizeof n);
        }
        const std::size_t chunk = std::min<std::size_t>(n, size - at);
        if (write(STDOUT_FILENO, out + at, chunk) != static_cast<ssize_t>(chunk)) {
            return 1;
        }
        at += chunk;
    }
    return 0;
}
