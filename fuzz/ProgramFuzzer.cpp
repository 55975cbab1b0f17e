// The whole program, in-process, on the fuzzer's bytes as its standard input.
//
// Every run starts with fresh streams and no error log, in a temporary
// directory made once per process; the fuzzer's own files stay relative to the
// directory it was started in. A run must end by itself with status 0 or 1 and
// leave the log with whole lines only; anything else stops the fuzzer.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <new>
#include <sstream>
#include <streambuf>
#include <string>
#include <system_error>

#include "app/Program.h"

namespace {

constexpr const char* kLogName = "name.txt";

// Takes whatever the program prints and keeps none of it.
class DiscardBuffer : public std::streambuf {
  protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

std::filesystem::path startDir;
std::filesystem::path workDir;

void removeWorkDir() {
    std::error_code ignored;
    std::filesystem::remove_all(workDir, ignored);
}

// The log is absent, empty, or ends with a line end.
bool logHasWholeLines() {
    std::ifstream log(kLogName, std::ios::binary | std::ios::ate);
    if (!log || log.tellg() <= 0) {
        return true;
    }
    log.seekg(-1, std::ios::end);
    return log.get() == '\n';
}

[[noreturn]] void fail(const char* what) {
    std::error_code ignored;
    std::filesystem::current_path(startDir, ignored);
    std::fprintf(stderr, "registry_fuzzer: %s\n", what);
    std::abort();
}

}  // namespace

// Every allocation is granted that memory allows (MallocNew.cpp).
bool refuseAllocation() {
    return false;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "registry-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        fail("cannot make a temporary directory");
    }
    startDir = std::filesystem::current_path();
    workDir = pattern;
    std::atexit(removeWorkDir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::filesystem::current_path(workDir);
    std::error_code ignored;
    std::filesystem::remove(kLogName, ignored);

    std::istringstream input(std::string(reinterpret_cast<const char*>(data), size));
    DiscardBuffer output;
    DiscardBuffer errors;
    std::streambuf* const oldIn = std::cin.rdbuf(input.rdbuf());
    std::streambuf* const oldOut = std::cout.rdbuf(&output);
    std::streambuf* const oldErr = std::cerr.rdbuf(&errors);
    std::cin.clear();
    std::cout.clear();
    std::cerr.clear();

    const int status = runProgram();

    std::cin.rdbuf(oldIn);
    std::cout.rdbuf(oldOut);
    std::cerr.rdbuf(oldErr);
    std::cin.clear();
    std::cout.clear();
    std::cerr.clear();

    if (status != 0 && status != 1) {
        fail("exit status other than 0 or 1");
    }
    if (!logHasWholeLines()) {
        fail("name.txt ends inside a line");
    }
    std::filesystem::current_path(startDir);
    return 0;
}
