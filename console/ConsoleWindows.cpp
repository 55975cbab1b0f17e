#include <conio.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <system_error>

#include "console/Console.h"
#include "console/Platform.h"

namespace console {
namespace platform {

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
        // The C++ library knows the errno value a Windows error stands for.
        const std::error_condition reason =
            std::error_code(static_cast<int>(GetLastError()), std::system_category())
                .default_error_condition();
        errno = reason.category() == std::generic_category() ? reason.value() : EIO;
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

// A file opened with append access alone cannot be cut back; it keeps what was written.
void takeBack(int, std::size_t) {}

// No SIGPIPE nor SIGXFSZ here: a reader gone is already a failed write.
void prepareSignals() {}

int readTerminalKey(InputBuffer& input) {
    const int ahead = input.takeTypedAhead();
    return ahead >= 0 ? ahead : _getch();
}

void clearTerminal() {
    std::cout.flush();
    static_cast<void>(std::system("cls"));
}

}  // namespace platform

const char* const kLineEnd = "\r\n";

// A console reads text in its input code page, anything else comes in the ANSI code page.
std::size_t characterLength(std::string_view text) {
    const UINT page = platform::isTerminal(0) ? GetConsoleCP() : GetACP();
    if (page == CP_UTF8) {
        return utf8CharacterLength(text);
    }
    return text.size() > 1 && IsDBCSLeadByteEx(page, static_cast<BYTE>(text.front())) != 0 ? 2 : 1;
}

}  // namespace console
