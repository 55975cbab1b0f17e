#include "errors/ErrorLog.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

namespace errorlog {
namespace {

// Open only while one report writes its line.
std::FILE* logFile = nullptr;

void warn(int error) {
    std::cerr << "registry: cannot write the error log " << kFileName << ": "
              << std::strerror(error) << std::endl;
}

}  // namespace

void report(const char* consoleText, const char* logLine) {
    std::cout << consoleText << std::endl;

    logFile = std::fopen(kFileName, "a");
    if (logFile == nullptr) {
        warn(errno);
        return;
    }
    int error = 0;
    // The message is an argument of "%s", never a format: a "%" in it stays literal.
    if (std::fprintf(logFile, "%s", logLine) < 0 || std::fprintf(logFile, "%c", 10) < 0 ||
        std::fflush(logFile) != 0) {
        error = errno;
    }
    if (std::fclose(logFile) != 0 && error == 0) {
        error = errno;
    }
    logFile = nullptr;
    if (error != 0) {
        warn(error);
    }
}

}  // namespace errorlog
