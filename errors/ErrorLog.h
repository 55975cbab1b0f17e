#pragma once

#include <string_view>

// The error log "name.txt" in the current directory: one line per report,
// appended, never read. A log that cannot be written costs one warning on
// standard error; the program goes on.
namespace errorlog {

inline constexpr const char* kFileName = "name.txt";

// Shows consoleText on its own line, then appends logLine to the log.
void report(std::string_view consoleText, std::string_view logLine);

}  // namespace errorlog
