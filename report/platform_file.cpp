#include "report/platform_file.h"

#include <fcntl.h>

#include <cerrno>
#include <climits>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cstdlib>
#else
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#endif

namespace tessarin {

#ifdef _WIN32

namespace {

// The errno that says what the system's error code says (strerror gives the text).
int errnoFor(DWORD error, const char* name) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
            return ENOENT;
        case ERROR_ACCESS_DENIED: {
            // Windows refuses to open a directory as a file with "access denied".
            const DWORD attributes = GetFileAttributesA(name);
            return attributes != INVALID_FILE_ATTRIBUTES &&
                           (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                       ? EISDIR
                       : EACCES;
        }
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return EWOULDBLOCK;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        case ERROR_TOO_MANY_OPEN_FILES:
            return EMFILE;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        case ERROR_INVALID_NAME:
            return EINVAL;
        default:
            return EIO;
    }
}

}  // namespace

int openOwnedFile(const char* name, FileAccess access) {
    const bool reading = access == FileAccess::Read;
    const DWORD share = reading ? FILE_SHARE_READ : 0;
    const DWORD disposition = access == FileAccess::Write ? OPEN_ALWAYS : OPEN_EXISTING;
    HANDLE handle = CreateFileA(name, reading ? GENERIC_READ : GENERIC_WRITE, share, nullptr,
                                disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = errnoFor(GetLastError(), name);
        return -1;
    }
    int flags = _O_BINARY | _O_NOINHERIT | (reading ? _O_RDONLY : _O_WRONLY);
    if (access == FileAccess::Append) flags |= _O_APPEND;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags);
    if (fd < 0) {
        CloseHandle(handle);
        errno = EMFILE;
    }
    return fd;
}

long long writeSome(int fd, const char* data, std::size_t size) {
    // _write takes an unsigned count and gives an int.
    const auto count = static_cast<unsigned>(size < INT_MAX ? size : INT_MAX);
    return _write(fd, data, count);
}

int createNewFile(const char* name) {
    return _open(name, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                 _S_IREAD | _S_IWRITE);
}

int openForWriting(const char* name) {
    return _open(name, _O_WRONLY | _O_BINARY | _O_NOINHERIT);
}

bool resolvePath(const std::string& path, std::string& resolved) {
    char full[MAX_PATH];
    if (_fullpath(full, path.c_str(), MAX_PATH) == nullptr) return false;
    resolved = full;
    return true;
}

bool setFileMode(int /*fd*/, unsigned /*mode*/) {
    return true;
}

bool replaceFile(const char* from, const char* to) {
    if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != 0) return true;
    errno = errnoFor(GetLastError(), to);
    return false;
}

bool processEnded(long long pid) {
    if (pid <= 0 || pid > 0xFFFFFFFFLL) return false;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (process == nullptr) return GetLastError() == ERROR_INVALID_PARAMETER;
    DWORD code = 0;
    const bool ended = GetExitCodeProcess(process, &code) != 0 && code != STILL_ACTIVE;
    CloseHandle(process);
    return ended;
}

#else

int openOwnedFile(const char* name, FileAccess access) {
    const int flags = access == FileAccess::Read     ? (O_RDONLY | O_CLOEXEC)
                      : access == FileAccess::Append ? (O_WRONLY | O_APPEND | O_CLOEXEC)
                                                     : (O_WRONLY | O_CREAT | O_CLOEXEC);
    const int fd = ::open(name, flags, 0666);
    if (fd < 0) return -1;
    if (::flock(fd, (access == FileAccess::Read ? LOCK_SH : LOCK_EX) | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

long long writeSome(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
}

int createNewFile(const char* name) {
    return ::open(name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

int openForWriting(const char* name) {
    return ::open(name, O_WRONLY | O_CLOEXEC | O_NOCTTY);
}

bool resolvePath(const std::string& path, std::string& resolved) {
    char buffer[PATH_MAX];
    if (::realpath(path.c_str(), buffer) == nullptr) return false;
    resolved = buffer;
    return true;
}

bool setFileMode(int fd, unsigned mode) {
    return ::fchmod(fd, static_cast<mode_t>(mode)) == 0;
}

bool replaceFile(const char* from, const char* to) {
    return ::rename(from, to) == 0;
}

bool processEnded(long long pid) {
    if (pid <= 0 || pid > INT_MAX) return false;
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

#endif

}  // namespace tessarin
