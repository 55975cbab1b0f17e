#include "app/Program.h"

#include <iostream>

#include "app/StringCheck.h"
#include "console/Console.h"
#include "console/EndOfInput.h"
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
                proverkaStroki(mass, sizeof mass);
                break;
            default:
                break;
        }
    }
}

}  // namespace

int runProgram() {
    try {
        mainLoop();
    } catch (const EndOfInput&) {
        std::cout.flush();
        std::cerr << "registry: end of input" << std::endl;
        return 1;
    }
    return 0;
}
