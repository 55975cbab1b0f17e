#include "app/CommandLine.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string_view>

namespace {

constexpr std::string_view kHelp =
    "Usage: registry [--help | --version]\n"
    "\n"
    "Keeps three registries of people in memory while it runs: teachers, party\n"
    "members and union members. It is interactive. The main menu takes one key:\n"
    "1, 2 or 3 opens a category (list, add, change, delete records), 4 runs the\n"
    "string-length check, Esc leaves. Every other question takes a number or a\n"
    "word, then Enter. At a terminal a key is read at once, without Enter;\n"
    "through a pipe a key is the next byte of input. Nothing is saved: the\n"
    "registries are gone when the program ends.\n"
    "\n"
    "Error reports (except a plain wrong input) are also appended, one line\n"
    "each, to the error log name.txt in the current directory.\n"
    "\n"
    "Options (only the first argument is looked at; other arguments are ignored\n"
    "and the program runs as usual):\n"
    "  --help     print this help and exit\n"
    "  --version  print the version and exit\n"
    "\n"
    "Exit status:\n"
    "  0  Esc in the main menu, or end of input while the main menu waits\n"
    "     for a key\n"
    "  1  end of input anywhere else, or standard output cannot be written,\n"
    "     or standard input cannot be read (said on standard error)\n"
    "  Ctrl+C or another signal kills the program; the terminal is restored.\n"
    "\n"
    "The manual: man registry\n";

constexpr std::string_view kVersion = "registry " REGISTRY_VERSION "\n";

// Prints text as the whole answer; a failed write is said as the running
// program says it.
int answer(std::string_view text) {
    errno = 0;
    std::cout << text << std::flush;
    if (std::cout) {
        return 0;
    }
    const int error = errno;
    std::cout.clear();
    std::cerr << "registry: cannot write standard output";
    if (error != 0) {
        std::cerr << ": " << std::strerror(error);
    }
    std::cerr << std::endl;
    return 1;
}

}  // namespace

std::optional<int> answerCommandLine(int argc, const char* const argv[]) {
    // Only the first argument counts: "--help --version" is help, "x --help" runs the program.
    if (argc < 2) {
        return std::nullopt;
    }
    const std::string_view first = argv[1];
    if (first == "--help") {
        return answer(kHelp);
    }
    if (first == "--version") {
        return answer(kVersion);
    }
    return std::nullopt;
}
