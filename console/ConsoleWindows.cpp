#include <conio.h>
#include <windows.h>

#include <cstdlib>
#include <iostream>

#include "console/Console.h"

namespace console {
namespace {

// The buffers of the process's own standard streams, once main has attached them.
std::streambuf* ownInput = nullptr;
std::streambuf* ownOutput = nullptr;

bool isConsole(DWORD handleId) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(handleId), &mode) != 0;
}

bool inputIsConsole() {
    return std::cin.rdbuf() == ownInput && isConsole(STD_INPUT_HANDLE);
}
bool outputIsConsole() {
    return std::cout.rdbuf() == ownOutput && isConsole(STD_OUTPUT_HANDLE);
}

}  // namespace

void attachToStandardStreams() {
    ownInput = std::cin.rdbuf();
    ownOutput = std::cout.rdbuf();
}

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
