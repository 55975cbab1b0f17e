#include "errors/ErrorLog.h"

#include <cstring>
#include <iostream>
#include <string>

#include "console/Console.h"

namespace errorlog {

void report(const char* consoleText, const char* logLine) {
    std::cout << consoleText << std::endl;
    if (const int error = console::appendLine(kFileName, logLine); error != 0) {
        std::cerr << "registry: cannot write the error log " << kFileName << ": "
                  << std::strerror(error) << std::endl;
    }
}

}  // namespace errorlog
