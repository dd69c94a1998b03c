// The program's file operations on POSIX systems (Linux, the BSDs, macOS).
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/descriptor.h"
#include "platform/file_system.h"

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

PathStatus statusOf(const std::string& path, bool followLinks) {
    PathStatus status;
    struct stat info {};
    const int got = followLinks ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
    if (got != 0) {
        if (errno != ENOENT) status.error = errno;
        return status;
    }
    status.kind = kindOf(info.st_mode);
    status.identity = identityOf(info);
    status.permissions = static_cast<unsigned>(info.st_mode & 07777);
    return status;
}

}  // namespace

PathStatus inspectPath(const std::string& path) {
    return statusOf(path, false);
}

PathStatus inspectTarget(const std::string& path) {
    return statusOf(path, true);
}

std::string systemReason(int errorNumber) {
    return std::strerror(errorNumber);
}

int checkWritable(const std::string& path) {
    return ::access(path.c_str(), W_OK) == 0 ? 0 : errno;
}

int checkFolderWritable(const std::string& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0 ? 0 : errno;
}

int createDirectories(const std::string& path) {
    if (path.empty()) return ENOENT;
    const PathStatus status = inspectTarget(path);
    if (status.kind == PathKind::Directory) return 0;
    if (status.kind != PathKind::Absent)
        return ENOTDIR;  // as std::filesystem says: something else is in the way
    if (status.error != 0 && status.error != ENOTDIR) return status.error;
    // The folder above first; a path ending in separators names the same folder without them.
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    const PathParts parts = splitPath(trimmed);
    if (!parts.folder.empty() && parts.folder != trimmed) {
        if (const int error = createDirectories(parts.folder); error != 0) return error;
    }
    if (::mkdir(trimmed.c_str(), 0777) == 0 || errno == EEXIST) {
        return inspectTarget(trimmed).kind == PathKind::Directory ? 0 : ENOTDIR;
    }
    return errno;
}

PathParts splitPath(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return {"", path};
    return {path.substr(0, slash == 0 ? 1 : slash), path.substr(slash + 1)};
}

bool sameOutputFile(const std::string& first, const std::string& second) {
    const PathStatus a = inspectTarget(first);
    const PathStatus b = inspectTarget(second);
    if (a.kind == PathKind::Regular && b.kind == PathKind::Regular) return a.identity == b.identity;
    // A terminal, a pipe or a device takes what each writer sends.
    if (isStream(a.kind) || isStream(b.kind)) return false;
    // One of them is not there yet (or is not a file): the same name in the same folder.
    const PathParts partsA = splitPath(first);
    const PathParts partsB = splitPath(second);
    if (partsA.name != partsB.name || partsA.name.empty()) return false;
    const PathStatus folderA = inspectTarget(partsA.folder.empty() ? "." : partsA.folder);
    const PathStatus folderB = inspectTarget(partsB.folder.empty() ? "." : partsB.folder);
    return folderA.kind == PathKind::Directory && folderB.kind == PathKind::Directory &&
           folderA.identity == folderB.identity;
}

bool leadsTo(const std::string& path, const FileIdentity& file) {
    const PathStatus status = inspectTarget(path);
    return status.kind == PathKind::Regular && status.identity == file;
}

std::optional<FileIdentity> standardOutputFile() {
    struct stat info {};
    if (::fstat(STDOUT_FILENO, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return identityOf(info);
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

int NewFile::openStream(const std::string& path) {
    // Non-blocking only for the open: a pipe without a reader fails at once instead of waiting.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return errno;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const int error = errno;
        ::close(fd);
        return error;
    }
    handle_ = fd;
    struct stat info {};
    if (::fstat(fd, &info) == 0) identity_ = identityOf(info);
    return 0;
}

int writeToDescriptor(int descriptor, std::string_view bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return 0;
}

int NewFile::write(std::string_view bytes) {
    return writeToDescriptor(handle_, bytes);
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

InputStream openInputStream(const std::string& path) {
    InputStream stream;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        stream.error = errno;
        return stream;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        stream.error = errno;
        ::close(fd);
        return stream;
    }
    stream.kind = kindOf(info.st_mode);
    stream.identity = identityOf(info);
    if (stream.kind == PathKind::Regular) stream.size = static_cast<long long>(info.st_size);
    stream.file = ::fdopen(fd, "rb");
    if (stream.file == nullptr) {
        stream.error = errno;
        ::close(fd);
    }
    return stream;
}

std::FILE* openTemporaryFile(int& error) {
    const char* folder = std::getenv("TMPDIR");
    std::string directory = folder != nullptr && *folder != '\0' ? folder : "/tmp";
#ifdef O_TMPFILE
    int fd = ::open(directory.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    // A file system without unnamed files: a named one, removed at once.
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) fd = -2;
#else
    int fd = -2;
#endif
    if (fd == -2) {
        std::string name = directory + "/tessarin-XXXXXX";
        fd = ::mkstemp(name.data());
        if (fd >= 0) {
            ::unlink(name.c_str());
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
    }
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "w+b");
    if (file == nullptr) {
        error = errno;
        ::close(fd);
    }
    return file;
}

unsigned long processNumber() {
    return static_cast<unsigned long>(::getpid());
}

bool processEnded(long long number) {
    if (number <= 0 || number > INT_MAX) return false;
    return ::kill(static_cast<pid_t>(number), 0) != 0 && errno == ESRCH;
}

}  // namespace tessarin
