#include "tests/support/scratch_directory.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#ifndef TESSARIN_TEST_DATA_DIR
#error "TESSARIN_TEST_DATA_DIR must name tests/data"
#endif

namespace tessarin {

namespace {

std::string makeTemporaryDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tessarin-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return pattern;
}

void removeTemporaryDirectory(const std::string& path) {
    std::error_code ignored;
    // Tests may leave read-only directories behind; make them writable before removing.
    std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path, ignored)) {
        if (entry.is_directory(ignored) && !entry.is_symlink(ignored)) {
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        }
    }
    std::filesystem::remove_all(path, ignored);
}

}  // namespace

TemporaryDirectory::TemporaryDirectory() : path_(makeTemporaryDirectory()) {}

TemporaryDirectory::~TemporaryDirectory() {
    removeTemporaryDirectory(path_);
}

ScratchDirectory::ScratchDirectory() {
    previous_ = std::filesystem::current_path().string();
    path_ = makeTemporaryDirectory();
    std::filesystem::current_path(path_);
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    removeTemporaryDirectory(path_);
}

std::string readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string testData(const std::string& name) {
    std::string bytes = readFileBytes(std::string(TESSARIN_TEST_DATA_DIR) + "/" + name);
    if (bytes.empty()) throw std::runtime_error("missing test data file " + name);
    return bytes;
}

}  // namespace tessarin
