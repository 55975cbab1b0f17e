#include "app/Program.h"

#include <cerrno>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "app/StringCheck.h"
#include "console/Console.h"
#include "records/partia.h"
#include "records/proiz.h"
#include "records/teacher.h"
#include "registry/menu.h"
#include "registry/spisok.h"

namespace {

constexpr std::string_view kHelp =
    "Usage: registry [--help | --version]\n"
    "\n"
    "Keeps three registries of people in memory while it runs: teachers, party\n"
    "members and union members. The main menu takes one key: 1, 2 or 3 opens a\n"
    "category (list, add, change, delete records), 4 checks a word's length, Esc\n"
    "leaves. Other questions take a number or a word, then Enter. Reports of bad\n"
    "input are appended to name.txt in the current directory.\n"
    "\n"
    "  --help     print this help and exit\n"
    "  --version  print the version and exit\n"
    "Any other argument is refused (exit status 2). The manual: man registry\n";

void mainLoop() {
    spisok<teacher> mass1;
    spisok<partia> mass2;
    spisok<proiz> mass3;
    char mass[10] = {};

    int running = 1;
    while (running != 0) {
        std::cout
            << "MENU\n1.teacher\n2.Partia\n3.UNION\n4.proverka oshibok so strokami\nESC. Exit";
        const int code = console::readKey();
        console::clearScreen();
        // End of input here is a way out like Esc, not a fault.
        const char key = static_cast<char>(code == console::kNoKey ? console::kEsc : code);
        switch (key) {
            case console::kEsc:
                running = 0;
                break;
            case '1':
                menu(mass1);
                break;
            case '2':
                menu(mass2);
                break;
            case '3':
                menu(mass3);
                break;
            case '4':
                proverkaStroki(mass);
                break;
            default:
                break;
        }
    }
}

}  // namespace

int runProgram(std::span<char* const> arguments) {
    // --help and --version are answered (the first of them when both are given); any other
    // argument is refused, as a mistyped option should not start a session unnoticed.
    std::string_view answer;
    for (const std::string_view argument : arguments.subspan(arguments.empty() ? 0 : 1)) {
        if (argument != "--help" && argument != "--version") {
            std::cerr << "registry: unknown argument '" << argument << "'; see registry --help"
                      << std::endl;
            return 2;
        }
        answer = answer.empty() ? argument : answer;
    }
    // The output buffer throws ConsoleGone when a write fails; std::cout passes on what its
    // buffer throws only with badbit in its exceptions(), and would otherwise go on unawares.
    const std::ios::iostate outMask = std::cout.exceptions();
    std::cout.exceptions(std::ios::badbit);
    std::optional<console::ConsoleGone> gone;
    try {
        if (answer.empty()) {
            mainLoop();
        } else {
            std::cout << (answer == "--help" ? kHelp : "registry " REGISTRY_VERSION "\n")
                      << std::flush;
        }
    } catch (const console::ConsoleGone& error) {
        gone = error;
    }
    // Back as it was first: std::cerr flushes std::cout, which may have failed.
    std::cout.exceptions(outMask);
    // Help whose reader has gone ends quietly, as filters do.
    if (!gone || (!answer.empty() && gone->error == EPIPE)) {
        return 0;
    }
    std::cerr << "registry: " << gone->what() << std::endl;
    return 1;
}
