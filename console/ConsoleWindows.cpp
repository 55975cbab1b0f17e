#include <conio.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <iostream>

#include "console/Console.h"
#include "console/Platform.h"

namespace console::platform {
const char* const kLineEnd = "\r\n";

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

// With append access alone, Windows puts each write at the end in one piece (the C
// library's own append mode seeks first, and its text mode writes in pieces).
int openAppend(const char* path) {
    const HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        errno = error == ERROR_DISK_FULL                                         ? ENOSPC
                : error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ENOENT
                                                                                 : EACCES;
        return -1;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), 0);
    if (fd < 0) {
        CloseHandle(file);
    }
    return fd;
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
