#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace tessarin {

// A fresh temporary directory for a benchmark's report files, removed afterwards. The current
// directory stays as it is: the benchmarks name their files in it with file().
class BenchScratch {
  public:
    BenchScratch() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tessarin-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) return;
        path_ = pattern;
    }
    ~BenchScratch() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    BenchScratch(const BenchScratch&) = delete;
    BenchScratch& operator=(const BenchScratch&) = delete;

    bool ok() const { return !path_.empty(); }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

}  // namespace tessarin
