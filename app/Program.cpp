#include "app/Program.h"

#include <iostream>
#include <string>

#include "app/StringCheck.h"
#include "console/Console.h"
#include "console/ConsoleGone.h"
#include "records/partia.h"
#include "records/proiz.h"
#include "records/teacher.h"
#include "registry/menu.h"
#include "registry/spisok.h"

namespace {

constexpr char kEsc = 27;

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
        const char key = code == console::kNoKey ? kEsc : static_cast<char>(code);
        switch (key) {
            case kEsc:
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

int runProgram() {
    // A failed write comes out of std::cout as ConsoleGone, not as a bad stream
    // that would go on as if all was written.
    const std::ios::iostate outMask = std::cout.exceptions();
    std::cout.exceptions(std::ios::badbit);
    std::string gone;
    try {
        mainLoop();
    } catch (const ConsoleGone& error) {
        gone = error.what();
    }
    // Back as it was first: std::cerr flushes std::cout, which may have failed.
    std::cout.exceptions(outMask);
    if (gone.empty()) {
        return 0;
    }
    std::cerr << "registry: " << gone << std::endl;
    return 1;
}
