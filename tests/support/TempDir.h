#pragma once

#include <filesystem>
#include <string>

namespace testsupport {

// A fresh directory under the system's temporary directory, removed with its
// contents when the object ends.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return dir; }
    // The whole content of a file in the directory, or "" when it does not exist.
    std::string read(const std::string& name) const;
    void write(const std::string& name, const std::string& content) const;

  private:
    std::filesystem::path dir;
};

// Makes a TempDir the current directory for its lifetime, then goes back.
class InTempDir {
  public:
    InTempDir();
    ~InTempDir();
    InTempDir(const InTempDir&) = delete;
    InTempDir& operator=(const InTempDir&) = delete;

    const TempDir& dir() const { return temp; }
    // The error log written in this directory so far.
    std::string log() const { return temp.read("name.txt"); }

  private:
    TempDir temp;
    std::filesystem::path previous;
};

}  // namespace testsupport
