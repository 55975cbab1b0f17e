#include "errors/ErrorLog.h"

#include <cstring>
#include <iostream>
#include <string>

#include "console/Console.h"

namespace errorlog {

void report(const char* consoleText, const char* logLine) {
    std::cout << consoleText << std::endl;
    const std::string line = std::string(logLine) + '\n';
    if (const int error = console::appendToFile(kFileName, line); error != 0) {
        std::cerr << "registry: cannot write the error log " << kFileName << ": "
                  << std::strerror(error) << std::endl;
    }
}

}  // namespace errorlog
