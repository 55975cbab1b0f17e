#include <conio.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <iostream>

#include "console/Console.h"
#include "console/Platform.h"

namespace console {
namespace platform {
namespace {

// Whether _getch's last code was the first of two (0 or 224): it holds the second.
bool secondCodeHeld = false;

// The console's input mode off while a key is awaited, as _getch itself sets it, so
// that Ctrl+C stays a key and not a signal.
class RawConsole {
  public:
    explicit RawConsole(HANDLE in) : handle(in) {
        changed = GetConsoleMode(handle, &saved) != 0 && SetConsoleMode(handle, 0) != 0;
    }
    ~RawConsole() {
        if (changed) {
            SetConsoleMode(handle, saved);
        }
    }
    RawConsole(const RawConsole&) = delete;
    RawConsole& operator=(const RawConsole&) = delete;

  private:
    HANDLE handle;
    DWORD saved = 0;
    bool changed = false;
};

int getchCode() {
    const int code = _getch();
    secondCodeHeld = code == 0 || code == 224;
    return code;
}

// Esc pressed without Alt or Ctrl, yet with no character. A Windows console gives
// Esc the character 27; Wine's console gives a lone Esc so, and its _getch drops it.
bool isBareEsc(const KEY_EVENT_RECORD& key) {
    const DWORD altOrCtrl =
        LEFT_ALT_PRESSED | RIGHT_ALT_PRESSED | LEFT_CTRL_PRESSED | RIGHT_CTRL_PRESSED;
    return key.bKeyDown != 0 && key.wVirtualKeyCode == VK_ESCAPE && key.uChar.UnicodeChar == 0 &&
           (key.dwControlKeyState & altOrCtrl) == 0;
}

// _getch, except that a bare Esc is taken here as 27.
int consoleKey() {
    // _getch gives a held second code without reading the console.
    if (secondCodeHeld && _kbhit() != 0) {
        return getchCode();
    }
    const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    const RawConsole raw(in);
    for (;;) {
        INPUT_RECORD event{};
        DWORD count = 0;
        if (WaitForSingleObject(in, INFINITE) != WAIT_OBJECT_0 ||
            PeekConsoleInputW(in, &event, 1, &count) == 0) {
            return getchCode();
        }
        if (count == 0) {
            continue;
        }
        const bool keyDown = event.EventType == KEY_EVENT && event.Event.KeyEvent.bKeyDown != 0;
        if (keyDown && !isBareEsc(event.Event.KeyEvent)) {
            return getchCode();
        }
        // The bare Esc, or a key release or other event, which _getch skips as well.
        ReadConsoleInputW(in, &event, 1, &count);
        if (keyDown) {
            secondCodeHeld = false;
            return kEsc;
        }
    }
}

}  // namespace

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

// A file opened with append access alone cannot be cut back; it keeps what was written.
void takeBack(int, std::size_t) {}

// No SIGPIPE nor SIGXFSZ here: a reader gone is already a failed write.
void reportFailedWrites() {}

int readTerminalKey(InputBuffer& input) {
    const int ahead = input.takeTypedAhead();
    return ahead >= 0 ? ahead : consoleKey();
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
