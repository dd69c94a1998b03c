// The report file's operating-system calls on POSIX systems (Linux, the BSDs, macOS).
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "report/file_system.h"

namespace tessarin {

namespace {

PathKind kindOf(mode_t mode) {
    if (S_ISREG(mode)) return PathKind::Regular;
    if (S_ISLNK(mode)) return PathKind::Link;
    if (S_ISDIR(mode)) return PathKind::Directory;
    if (S_ISFIFO(mode)) return PathKind::NamedPipe;
    if (S_ISCHR(mode)) return PathKind::CharacterDevice;
    if (S_ISBLK(mode)) return PathKind::BlockDevice;
    if (S_ISSOCK(mode)) return PathKind::Socket;
    return PathKind::Unknown;
}

FileIdentity identityOf(const struct stat& info) {
    return {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

}  // namespace

PathStatus inspectPath(const std::string& path) {
    PathStatus status;
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        if (errno != ENOENT) status.error = errno;
        return status;
    }
    status.kind = kindOf(info.st_mode);
    status.identity = identityOf(info);
    status.permissions = static_cast<unsigned>(info.st_mode & 07777);
    return status;
}

int checkWritable(const std::string& path) {
    return ::access(path.c_str(), W_OK) == 0 ? 0 : errno;
}

DirectoryLock::~DirectoryLock() {
    release();
}

int DirectoryLock::tryAcquire(const std::string& directory) {
    release();
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK ? EWOULDBLOCK : error;
    }
    handle_ = fd;
    return 0;
}

void DirectoryLock::release() {
    if (handle_ < 0) return;
    ::close(handle_);  // closing the last descriptor lets go of the lock
    handle_ = -1;
}

NewFile::~NewFile() {
    if (handle_ >= 0) ::close(handle_);
}

int NewFile::create(const std::string& path, unsigned permissions) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          static_cast<mode_t>(permissions));
    if (fd < 0) return errno;
    handle_ = fd;
    struct stat info {};
    if (::fstat(fd, &info) == 0) identity_ = identityOf(info);
    return 0;
}

int NewFile::write(std::string_view bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(handle_, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return 0;
}

int NewFile::close() {
    const int fd = handle_;
    handle_ = -1;
    return ::close(fd) == 0 ? 0 : errno;
}

int renameOver(const std::string& from, const std::string& to) {
#ifdef RENAME_EXCHANGE
    // Exchanging the two names and then removing the old file under the temporary name leaves
    // `to` whole at every instant, as a rename over it does, but ext4 takes a rename over an
    // existing file as "replace by rename" and starts writing the new file out at once: that
    // costs milliseconds per rename on a busy disk, the exchange and the removal a few dozen
    // microseconds.
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_EXCHANGE) == 0) {
        if (::unlink(from.c_str()) == 0 || errno != EISDIR) return 0;
        // A directory took the report's name after it was looked at: put it back.
        ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_EXCHANGE);
        return EISDIR;
    }
    // Nothing to exchange with (no report yet), or a file system without exchange: a rename.
#endif
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int removeFile(const std::string& path) {
    if (::unlink(path.c_str()) == 0 || errno == ENOENT) return 0;
    return errno;
}

void pauseFor(int milliseconds) {
    ::usleep(static_cast<useconds_t>(milliseconds) * 1000u);
}

RegularFileContent readRegularFile(const std::string& path) {
    RegularFileContent content;
    // No-follow: a link is refused, not read through. Non-blocking: opening a pipe with no writer
    // returns at once instead of waiting; the kind check below then refuses it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno == ELOOP) {
            content.kind = PathKind::Link;
        } else {
            content.error = errno;
        }
        return content;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        content.error = errno;
        ::close(fd);
        return content;
    }
    content.kind = kindOf(info.st_mode);
    content.identity = identityOf(info);
    if (content.kind != PathKind::Regular) {
        ::close(fd);
        return content;
    }
    if (info.st_size > 0) content.bytes.reserve(static_cast<std::size_t>(info.st_size));
    // Read to the end rather than trusting the length: what is returned is what was read.
    char chunk[8192];
    while (true) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR) continue;
            content.error = errno;
            content.bytes.clear();
            break;
        }
        if (got == 0) break;
        content.bytes.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return content;
}

}  // namespace tessarin
