#include "support/TempDir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace testsupport {

TempDir::TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "registry-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    dir = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    // A test may have made the directory read-only; give the rights back first.
    std::filesystem::permissions(dir, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(dir, ignored);
}

std::string TempDir::read(const std::string& name) const {
    std::ifstream in(dir / name, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void TempDir::write(const std::string& name, const std::string& content) const {
    std::ofstream(dir / name, std::ios::binary) << content;
}

InTempDir::InTempDir() : previous(std::filesystem::current_path()) {
    std::filesystem::current_path(temp.path());
}

InTempDir::~InTempDir() {
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
}

}  // namespace testsupport
