#include "report/report_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "report/platform_file.h"

namespace tessarin {

namespace {

// Writes all of bytes, however the system splits the write; false with errno set on failure.
bool writeAll(int fd, const std::string& bytes) {
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

// "Resource temporarily unavailable" says nothing to an engineer; a held lock means another
// program is using the file.
FileResult lockFailure(const std::string& path, FileAction action, int error) {
    FileResult result = FileResult::failure(path, action, error);
    if (error == EWOULDBLOCK) result.reason = "the file is in use by another program";
    return result;
}

}  // namespace

FileResult writeReportBytes(const std::string& path, const std::string& bytes, bool append) {
    // Step 1 creates the file or replaces its content; step 2 opens only an existing file, so a
    // report removed between the steps is reported, not silently half-written again.
    const FileAction action = append ? FileAction::Append : FileAction::Create;
    const FileAction writing = append ? FileAction::Append : FileAction::Write;
    // Another program writing the report at the same moment would interleave its lines with
    // ours: the file is ours alone while we write it.
    const int fd = openOwnedFile(path.c_str(), append ? FileAccess::Append : FileAccess::Write);
    if (fd < 0) return lockFailure(path, action, errno);
    // The new content is written over the old and the file is then cut to its length. Cutting a
    // file to nothing before rewriting it makes the file system flush it on close, which costs
    // ten times the rest of the run; the bytes on disk are the same either way.
    const bool written = writeAll(fd, bytes);
    int error = errno;
    if (!append) {
        const off_t length = written ? static_cast<off_t>(bytes.size()) : ::lseek(fd, 0, SEEK_CUR);
        if (::ftruncate(fd, length < 0 ? 0 : length) != 0 && written) {
            error = errno;
            ::close(fd);
            return FileResult::failure(path, writing, error);
        }
    }
    if (!written) {
        ::close(fd);
        return FileResult::failure(path, writing, error);
    }
    // A deferred write error (a full disk on a network file system) shows up at close.
    if (::close(fd) != 0) return FileResult::failure(path, writing, errno);
    return FileResult::success();
}

ReportContent readReport(const std::string& path) {
    ReportContent content;
    // Not while another program is writing it.
    const int fd = openOwnedFile(path.c_str(), FileAccess::Read);
    if (fd < 0) {
        content.result = lockFailure(path, FileAction::Read, errno);
        return content;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && info.st_size > 0) {
        content.bytes.reserve(static_cast<std::size_t>(info.st_size));
    }
    // Read to the end rather than trusting the length: what is returned is what was read.
    char chunk[8192];
    while (true) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR) continue;
            content.result = FileResult::failure(path, FileAction::Read, errno);
            content.bytes.clear();
            ::close(fd);
            return content;
        }
        if (got == 0) break;
        content.bytes.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return content;
}

}  // namespace tessarin
