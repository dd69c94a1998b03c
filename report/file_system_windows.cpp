// The report file's operating-system calls on Windows.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdint>

#include "report/file_system.h"

namespace tessarin {

namespace {

// The errno value for a Windows error code (strerror gives the text).
int errnoFor(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
            return EACCES;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
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
        case ERROR_DIRECTORY:
            return ENOTDIR;
        default:
            return EIO;
    }
}

int lastErrno() {
    return errnoFor(GetLastError());
}

FileIdentity identityOf(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(handle, &info) == 0) return {};
    return {info.dwVolumeSerialNumber,
            (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

PathKind kindOf(DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return PathKind::Link;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return PathKind::Directory;
    if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) return PathKind::CharacterDevice;
    return PathKind::Regular;
}

// A CRT descriptor owning handle, so that the class members stay plain ints; -1 on failure.
int descriptorFor(HANDLE handle, int flags) {
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags);
    if (fd < 0) CloseHandle(handle);
    return fd;
}

}  // namespace

PathStatus inspectPath(const std::string& path) {
    PathStatus status;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const int error = lastErrno();
        if (error != ENOENT) status.error = error;
        return status;
    }
    status.kind = kindOf(attributes);
    status.permissions = (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? 0444u : 0666u;
    const HANDLE handle = CreateFileA(
        path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        if (status.kind == PathKind::Regular && GetFileType(handle) == FILE_TYPE_PIPE) {
            status.kind = PathKind::NamedPipe;
        }
        status.identity = identityOf(handle);
        CloseHandle(handle);
    }
    return status;
}

int checkWritable(const std::string& path) {
    return _access(path.c_str(), 2) == 0 ? 0 : errno;
}

DirectoryLock::~DirectoryLock() {
    release();
}

int DirectoryLock::tryAcquire(const std::string& directory) {
    release();
    // A directory cannot be locked here (the process's own current directory is held without
    // delete sharing), so the lock is a hidden file in it, opened by one holder only and deleted
    // by the system when the holder closes it or dies.
    const std::string lockFile = directory + "\\.tessarin-lock";
    const HANDLE handle =
        CreateFileA(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // Held by another run, or being deleted as its holder lets go.
        if (error == ERROR_SHARING_VIOLATION ||
            (error == ERROR_ACCESS_DENIED &&
             GetFileAttributesA(lockFile.c_str()) != INVALID_FILE_ATTRIBUTES)) {
            return EWOULDBLOCK;
        }
        return errnoFor(error);
    }
    const int fd = descriptorFor(handle, _O_RDONLY);
    if (fd < 0) return EMFILE;
    handle_ = fd;
    return 0;
}

void DirectoryLock::release() {
    if (handle_ < 0) return;
    _close(handle_);
    handle_ = -1;
}

NewFile::~NewFile() {
    if (handle_ >= 0) _close(handle_);
}

int NewFile::create(const std::string& path, unsigned permissions) {
    const DWORD attributes =
        (permissions & 0200u) != 0 ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
    const HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_NEW, attributes, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return lastErrno();
    identity_ = identityOf(handle);
    const int fd = descriptorFor(handle, _O_WRONLY | _O_BINARY);
    if (fd < 0) return EMFILE;
    handle_ = fd;
    return 0;
}

int NewFile::write(std::string_view bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const unsigned chunk = left > 0x40000000u ? 0x40000000u : static_cast<unsigned>(left);
        const int written = _write(handle_, data, chunk);
        if (written < 0) return errno;
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return 0;
}

int NewFile::close() {
    const int fd = handle_;
    handle_ = -1;
    return _close(fd) == 0 ? 0 : errno;
}

int renameOver(const std::string& from, const std::string& to) {
    // The replacing move swaps the directory entry in one step; a link named like the report is
    // replaced, not followed.
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0) return 0;
    const int error = lastErrno();
    const DWORD attributes = GetFileAttributesA(to.c_str());
    if (error == EACCES && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return EISDIR;
    }
    return error;
}

int removeFile(const std::string& path) {
    if (DeleteFileA(path.c_str()) != 0) return 0;
    const int error = lastErrno();
    return error == ENOENT ? 0 : error;
}

void pauseFor(int milliseconds) {
    Sleep(static_cast<DWORD>(milliseconds));
}

RegularFileContent readRegularFile(const std::string& path) {
    RegularFileContent content;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        content.error = lastErrno();
        return content;
    }
    content.kind = kindOf(attributes);
    if (content.kind != PathKind::Regular) return content;
    const HANDLE handle = CreateFileA(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        content.error = lastErrno();
        return content;
    }
    // A pipe or a device is not read: it could wait for a writer.
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        content.kind =
            GetFileType(handle) == FILE_TYPE_PIPE ? PathKind::NamedPipe : PathKind::CharacterDevice;
        CloseHandle(handle);
        return content;
    }
    content.identity = identityOf(handle);
    char chunk[8192];
    while (true) {
        DWORD got = 0;
        if (ReadFile(handle, chunk, sizeof chunk, &got, nullptr) == 0) {
            content.error = lastErrno();
            content.bytes.clear();
            break;
        }
        if (got == 0) break;
        content.bytes.append(chunk, got);
    }
    CloseHandle(handle);
    return content;
}

}  // namespace tessarin
