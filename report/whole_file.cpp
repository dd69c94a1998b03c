#include "report/whole_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

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

}  // namespace

FileResult writeWholeFile(const std::string& path, std::string_view bytes) {
    // Through a link to the file it points at, so the link stays a link.
    std::string target = path;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) return FileResult::failure(path, FileAction::Create, EISDIR);
        if (!S_ISREG(info.st_mode)) return writeDirectly(path, bytes);
        // A file the engineer made read-only is not replaced behind their back.
        if (::access(path.c_str(), W_OK) != 0) return FileResult::failure(path, FileAction::Create, errno);
        if (std::string resolved; resolvePath(path, resolved)) target = resolved;
    }
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
