#include "errors/ErrorLog.h"

#include <cstring>
#include <iostream>
#include <string>

#include "console/Console.h"

namespace errorlog {

void report(std::string_view consoleText, std::string_view logLine) {
    // Made before anything is shown: when memory for it runs out, nothing is reported.
    const std::string line = std::string(logLine) + console::kLineEnd;
    std::cout << consoleText << std::endl;
    if (const int error = console::appendWhole(kFileName, line); error != 0) {
        std::cerr << "registry: cannot write the error log " << kFileName << ": "
                  << std::strerror(error) << std::endl;
    }
}

}  // namespace errorlog
