#include <cstdio>
#include <new>

#include "app/Program.h"
#include "console/Console.h"

int main(int argc, char* argv[]) {
    try {
        const console::StandardStreams streams;
        return runProgram({argv, static_cast<std::size_t>(argc)});
    } catch (const std::bad_alloc&) {
        // Before the first menu: the dialogue's own failures are handled where they happen.
        std::fputs("registry: out of memory\n", stderr);
        return 1;
    }
}
