#pragma once

#include <string>

namespace tessarin {

// A fresh temporary directory made the current one for the life of the object; the previous
// current directory is restored and the scratch directory removed afterwards. The report file is
// always written to the current directory, so every test that runs a calculation uses one.
class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
    std::string previous_;
};

// A fresh temporary directory for the life of the object, removed afterwards; the current
// directory stays as it is. Tests name their files in it with file().
class TemporaryDirectory {
  public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

// Whole file as bytes; empty when it cannot be read.
std::string readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const std::string& bytes);
// A golden file under tests/data.
std::string testData(const std::string& name);

}  // namespace tessarin
