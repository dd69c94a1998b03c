#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace tessarin {

// A fresh temporary directory made the current one while a benchmark writes its report files
// there; the previous directory is restored and the scratch one removed afterwards.
class BenchScratch {
  public:
    BenchScratch() : previous_(std::filesystem::current_path()) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tessarin-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) return;
        path_ = pattern;
        std::filesystem::current_path(path_);
    }
    ~BenchScratch() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    BenchScratch(const BenchScratch&) = delete;
    BenchScratch& operator=(const BenchScratch&) = delete;

    bool ok() const { return !path_.empty(); }

  private:
    std::filesystem::path previous_;
    std::string path_;
};

}  // namespace tessarin
