#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

struct RunResult {
    std::string out;    // standard output (CR LF folded to LF when the run says so)
    std::string err;    // standard error
    int exitCode = -1;  // exit status, or -1 when ended by a signal or the time limit
    int signal = 0;     // the signal that ended it, 0 if none
    bool timedOut = false;
};

// The command that starts the program under test: REGISTRY_RUNNER (for example
// "wine") followed by REGISTRY_BIN from the environment, or the program built
// with the tests.
std::vector<std::string> registryCommand();

// True when the program under test writes CR LF line ends (a Windows build):
// set by REGISTRY_CRLF=1 in the environment.
bool registryWritesCrlf();

// The error log the program under test left in dir, with its line ends
// checked (CR LF for a Windows build, LF otherwise) and given back as LF.
// A line end of the wrong kind makes the test fail.
std::string readLog(const std::filesystem::path& dir);

// text with the line ends the program under test writes: a log line left by
// an earlier run, as that run would have written it.
std::string asWritten(const std::string& text);

// Runs the program in dir with input on a pipe as its standard input, and its
// outputs on pipes. Kills it after timeoutSeconds.
RunResult runRegistry(const std::string& input, const std::filesystem::path& dir,
                      double timeoutSeconds = 20.0);

// Runs any command the same way.
RunResult runCommand(const std::vector<std::string>& argv, const std::string& input,
                     const std::filesystem::path& dir, double timeoutSeconds);

}  // namespace testsupport
