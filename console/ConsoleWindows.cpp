#include <conio.h>
#include <windows.h>

#include <cstdlib>
#include <iostream>

#include "console/Console.h"

namespace console {
namespace {

// The buffers the process started with: swapped-in buffers behave as a pipe.
std::streambuf* const startInput = std::cin.rdbuf();
std::streambuf* const startOutput = std::cout.rdbuf();

bool isConsole(DWORD handleId) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(handleId), &mode) != 0;
}

bool inputIsConsole() {
    return std::cin.rdbuf() == startInput && isConsole(STD_INPUT_HANDLE);
}
bool outputIsConsole() {
    return std::cout.rdbuf() == startOutput && isConsole(STD_OUTPUT_HANDLE);
}

}  // namespace

int readKey() {
    if (inputIsConsole()) {
        std::cout.flush();
        return _getch();
    }
    const std::istream::int_type c = std::cin.get();
    return c == std::char_traits<char>::eof() ? kNoKey : static_cast<unsigned char>(c);
}

void clearScreen() {
    if (outputIsConsole()) {
        std::cout.flush();
        static_cast<void>(std::system("cls"));
    } else {
        std::cout << '\f';
        std::cout.flush();
    }
}

}  // namespace console
