#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

// A fresh directory under the system's temporary directory, removed with its contents at the end.
class TempDir {
  public:
    TempDir() {
        std::string name = (std::filesystem::temp_directory_path() / "registry-XXXXXX").string();
        dir = mkdtemp(name.data()) != nullptr ? name : "";
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    const std::filesystem::path& path() const { return dir; }

  private:
    std::filesystem::path dir;
};

// The words of REGISTRY_RUNNER (for example "wine" or "valgrind ..."), then REGISTRY_BIN or
// the program built with the tests.
std::vector<std::string> registryCommand();
bool underRunner();

// What a run left: its outputs (CR LF folded to LF when REGISTRY_CRLF=1, for a Windows build)
// and its exit status (124: it ran out of time).
struct Run {
    std::string out, err;
    int status = -1;
};
// Runs the program in dir on input to its end. With a set-up, "sh -c setUp sh program..." is
// run instead: a shell script that prepares the directory or the streams, then runs "$@".
Run runRegistry(const std::filesystem::path& dir, const std::string& input,
                const std::string& setUp = "");
// name.txt in dir ("" if none) with LF line ends, after checking that each line ends as the
// program writes it.
std::string readLog(const std::filesystem::path& dir);

// A scripted session of tests/sessions.txt: what is typed, printed and logged, and how it ends.
struct Session {
    std::string name, input, out, log, err, setUp;
    int status = 0;
    friend void PrintTo(const Session& session, std::ostream* os) { *os << session.name; }
};
// The sessions as written, and one with the shorthand spelt out.
std::vector<Session> sessions();
Session expanded(const Session& written);
// Fails with what the program printed and logged wherever it differs from the session.
void expectSession(const Session& session, const Run& run, const std::string& log);

}  // namespace testsupport
