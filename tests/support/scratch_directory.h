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

// Whole file as bytes; empty when it cannot be read.
std::string readFileBytes(const std::string& path);
void writeFileBytes(const std::string& path, const std::string& bytes);
// A golden file under tests/data.
std::string testData(const std::string& name);

}  // namespace tessarin
