#include <conio.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <iostream>

#include "console/Console.h"
#include "console/Platform.h"

namespace console::platform {
bool isTerminal(int fd) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(fd == 0 ? STD_INPUT_HANDLE : STD_OUTPUT_HANDLE), &mode) != 0;
}

long readFd(int fd, char* data, std::size_t size) {
    return _read(fd, data, static_cast<unsigned>(size));
}

// In text mode the count may include the CRs added; a success wrote it all.
long writeFd(int fd, const char* data, std::size_t size) {
    return _write(fd, data, static_cast<unsigned>(size)) < 0 ? -1 : static_cast<long>(size);
}

// Text mode: a line end is written as CR LF.
int openAppend(const char* path) {
    return _open(path, _O_WRONLY | _O_APPEND | _O_CREAT | _O_TEXT, _S_IREAD | _S_IWRITE);
}

void closeFd(int fd) {
    _close(fd);
}

int readTerminalKey(InputBuffer& input) {
    const int ahead = input.takeTypedAhead();
    return ahead >= 0 ? ahead : _getch();
}

void clearTerminal() {
    std::cout.flush();
    static_cast<void>(std::system("cls"));
}

}  // namespace console::platform
