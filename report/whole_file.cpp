#include "report/whole_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "report/platform_file.h"

namespace tessarin {

namespace {

// Writes all of bytes, however the system splits the write; false with errno set on failure.
bool writeAll(int fd, std::string_view bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const long long written = writeSome(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

// Writes and closes fd; a deferred write error (a network file system) shows up at close.
int writeAndClose(int fd, std::string_view bytes) {
    if (!writeAll(fd, bytes)) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    return ::close(fd) == 0 ? 0 : errno;
}

FileResult writeDirectly(const std::string& path, std::string_view bytes) {
    const int fd = openForWriting(path.c_str());
    if (fd < 0) return FileResult::failure(path, FileAction::Create, errno);
    const int error = writeAndClose(fd, bytes);
    return error == 0 ? FileResult::success() : FileResult::failure(path, FileAction::Write, error);
}

// "dir/name" -> "dir/.name.tmp<pid>-<n>": hidden, beside the target so the rename stays within
// one file system.
std::string temporaryName(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    const std::size_t slash = target.find_last_of(kPathSeparators);
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    return target.substr(0, start) + "." + target.substr(start) + ".tmp" +
           std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1));
}

// The temporary files that runs killed before they could remove them left beside their
// targets: ".<name>.tmp<pid>-<n>" whose process has ended. Each directory is looked through once
// in a run (a batch writes thousands of files into one); a target's leftovers are removed when it
// is written. A temporary file of a run still going, or any other name, is left alone.
class Leftovers {
  public:
    void removeFor(const std::string& target) {
        std::error_code error;
        const std::filesystem::path full = std::filesystem::absolute(target, error);
        if (error) return;
        const std::lock_guard lock(mutex_);
        const std::string directory = full.parent_path().string();
        if (scanned_.insert(directory).second) scan(full.parent_path());
        const auto found = byTarget_.find(full.string());
        if (found == byTarget_.end()) return;
        for (const std::filesystem::path& leftover : found->second) {
            std::filesystem::remove(leftover, error);
        }
        byTarget_.erase(found);
    }

  private:
    void scan(const std::filesystem::path& directory) {
        std::error_code error;
        std::filesystem::directory_iterator entries(directory, error);
        if (error) return;
        for (const std::filesystem::directory_entry& entry : entries) {
            const std::string name = entry.path().filename().string();
            const std::size_t mark = name.rfind(".tmp");
            if (name.size() < 2 || name[0] != '.' || mark == std::string::npos || mark < 2) {
                continue;
            }
            // <pid>-<n>, digits only.
            const std::string tail = name.substr(mark + 4);
            const std::size_t dash = tail.find('-');
            if (dash == 0 || dash == std::string::npos || dash + 1 == tail.size() || dash > 9 ||
                tail.find_first_not_of("0123456789-") != std::string::npos ||
                tail.find('-', dash + 1) != std::string::npos) {
                continue;
            }
            const long long pid = std::stoll(tail.substr(0, dash));
            if (pid == static_cast<long long>(::getpid()) || !processEnded(pid)) continue;
            byTarget_[(directory / name.substr(1, mark - 1)).string()].push_back(entry.path());
        }
    }

    std::mutex mutex_;
    std::set<std::string> scanned_;
    std::map<std::string, std::vector<std::filesystem::path>> byTarget_;
};

}  // namespace

FileResult writeWholeFile(const std::string& path, std::string_view bytes) {
    // Through a link to the file it points at, so the link stays a link.
    std::string target = path;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) return FileResult::failure(path, FileAction::Create, EISDIR);
        if (!S_ISREG(info.st_mode)) return writeDirectly(path, bytes);
        // A file the engineer made read-only is not replaced behind their back.
        if (::access(path.c_str(), W_OK) != 0)
            return FileResult::failure(path, FileAction::Create, errno);
        if (std::string resolved; resolvePath(path, resolved)) target = resolved;
    }
    static Leftovers leftovers;
    leftovers.removeFor(target);
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = temporaryName(target);
        fd = createNewFile(temporary.c_str());
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return FileResult::failure(path, FileAction::Create, errno);
    // An existing file keeps its permissions.
    if (S_ISREG(info.st_mode) && !setFileMode(fd, info.st_mode & 07777)) {
        const int error = errno;
        ::close(fd);
        ::unlink(temporary.c_str());
        return FileResult::failure(path, FileAction::Create, error);
    }
    if (const int error = writeAndClose(fd, bytes); error != 0) {
        ::unlink(temporary.c_str());
        return FileResult::failure(path, FileAction::Write, error);
    }
    if (!replaceFile(temporary.c_str(), target.c_str())) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return FileResult::failure(path, FileAction::Write, error);
    }
    return FileResult::success();
}

}  // namespace tessarin
