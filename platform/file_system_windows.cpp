// The program's file operations on Windows: UTF-8 paths converted to UTF-16 here, and only the
// wide (...W) functions called, so that any name the file system takes can be used.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/file_system.h"
#include "platform/wide_text.h"

namespace tessarin {

namespace {

// The errno value for a Windows error code (strerror gives the text): the one translation.
int errnoFor(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_DRIVE:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
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
        case ERROR_INVALID_NAME:
        case ERROR_NO_UNICODE_TRANSLATION:
            return EINVAL;
        case ERROR_BROKEN_PIPE:
        case ERROR_NO_DATA:
            return EPIPE;
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

DWORD attributesOf(const std::string& path) {
    return GetFileAttributesW(widePath(path).c_str());
}

PathStatus statusOf(const std::string& path, bool followLinks) {
    PathStatus status;
    const std::wstring wide = widePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const int error = lastErrno();
        if (error != ENOENT) status.error = error;
        return status;
    }
    status.kind = kindOf(attributes);
    status.permissions = (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? 0444u : 0666u;
    const DWORD flags =
        FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    const HANDLE handle =
        CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        // A link whose target is gone leads nowhere.
        if (followLinks && status.kind == PathKind::Link) status.kind = PathKind::Absent;
        return status;
    }
    if (followLinks && status.kind == PathKind::Link) {
        BY_HANDLE_FILE_INFORMATION info{};
        if (GetFileInformationByHandle(handle, &info) != 0) {
            status.kind = kindOf(info.dwFileAttributes & ~DWORD{FILE_ATTRIBUTE_REPARSE_POINT});
        }
    }
    const DWORD type = GetFileType(handle);
    if (status.kind == PathKind::Regular && type == FILE_TYPE_PIPE)
        status.kind = PathKind::NamedPipe;
    if (status.kind == PathKind::Regular && type == FILE_TYPE_CHAR) {
        status.kind = PathKind::CharacterDevice;
    }
    status.identity = identityOf(handle);
    CloseHandle(handle);
    return status;
}

bool isSeparator(char c) {
    return c == '/' || c == '\\';
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
    const DWORD attributes = attributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return lastErrno();
    return (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? EACCES : 0;
}

int checkFolderWritable(const std::string& folder) {
    // The folder's rights show only when a file is made in it; its existence is what can be told.
    const DWORD attributes = attributesOf(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES) return lastErrno();
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? 0 : ENOTDIR;
}

int createDirectories(const std::string& path) {
    if (path.empty()) return ENOENT;
    std::string trimmed = path;
    while (trimmed.size() > 1 && isSeparator(trimmed.back())) trimmed.pop_back();
    const PathStatus status = inspectTarget(trimmed);
    if (status.kind == PathKind::Directory) return 0;
    if (status.kind != PathKind::Absent)
        return ENOTDIR;  // as std::filesystem says: something else is in the way
    const PathParts parts = splitPath(trimmed);
    // "C:" and "\\server\share" are there or not; they cannot be made.
    if (!parts.folder.empty() && parts.folder != trimmed && parts.folder.back() != ':') {
        if (const int error = createDirectories(parts.folder); error != 0) return error;
    }
    if (CreateDirectoryW(widePath(trimmed).c_str(), nullptr) != 0) return 0;
    const int error = lastErrno();
    if (error == EEXIST) return inspectTarget(trimmed).kind == PathKind::Directory ? 0 : ENOTDIR;
    return error;
}

PathParts splitPath(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos) return {"", path};
    return {path.substr(0, slash == 0 ? 1 : slash), path.substr(slash + 1)};
}

bool sameOutputFile(const std::string& first, const std::string& second) {
    const PathStatus a = inspectTarget(first);
    const PathStatus b = inspectTarget(second);
    if (a.kind == PathKind::Regular && b.kind == PathKind::Regular) return a.identity == b.identity;
    // A terminal, a pipe or a device takes what each writer sends.
    if (isStream(a.kind) || isStream(b.kind)) return false;
    const PathParts partsA = splitPath(first);
    const PathParts partsB = splitPath(second);
    if (partsA.name.empty() || partsB.name.empty()) return false;
    // Names are compared as NTFS does: without case.
    const std::wstring nameA = widePath(partsA.name);
    const std::wstring nameB = widePath(partsB.name);
    if (CompareStringOrdinal(nameA.c_str(), static_cast<int>(nameA.size()), nameB.c_str(),
                             static_cast<int>(nameB.size()), TRUE) != CSTR_EQUAL) {
        return false;
    }
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
    const HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr) return std::nullopt;
    if (GetFileType(handle) != FILE_TYPE_DISK) return std::nullopt;
    return identityOf(handle);
}

DirectoryLock::~DirectoryLock() {
    release();
}

int DirectoryLock::tryAcquire(const std::string& directory) {
    release();
    // A directory cannot be locked here (the process's own current directory is held without
    // delete sharing), so the lock is a hidden file in it, opened by one holder only and deleted
    // by the system when the holder closes it or dies.
    const std::wstring lockFile = widePath(directory + "\\.tessarin-lock");
    const HANDLE handle =
        CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // Held by another run, or being deleted as its holder lets go.
        if (error == ERROR_SHARING_VIOLATION ||
            (error == ERROR_ACCESS_DENIED &&
             GetFileAttributesW(lockFile.c_str()) != INVALID_FILE_ATTRIBUTES)) {
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
    const HANDLE handle = CreateFileW(widePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                      nullptr, CREATE_NEW, attributes, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return lastErrno();
    identity_ = identityOf(handle);
    const int fd = descriptorFor(handle, _O_WRONLY | _O_BINARY);
    if (fd < 0) return EMFILE;
    handle_ = fd;
    return 0;
}

int NewFile::openStream(const std::string& path) {
    const HANDLE handle =
        CreateFileW(widePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
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
    // The replacing move swaps the directory entry in one step; a link named like the target is
    // replaced, not followed.
    if (MoveFileExW(widePath(from).c_str(), widePath(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0) {
        return 0;
    }
    const int error = lastErrno();
    const DWORD attributes = attributesOf(to);
    if (error == EACCES && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return EISDIR;
    }
    return error;
}

int removeFile(const std::string& path) {
    if (DeleteFileW(widePath(path).c_str()) != 0) return 0;
    const int error = lastErrno();
    return error == ENOENT ? 0 : error;
}

void pauseFor(int milliseconds) {
    Sleep(static_cast<DWORD>(milliseconds));
}

RegularFileContent readRegularFile(const std::string& path) {
    RegularFileContent content;
    const std::wstring wide = widePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        content.error = lastErrno();
        return content;
    }
    content.kind = kindOf(attributes);
    if (content.kind != PathKind::Regular) return content;
    const HANDLE handle = CreateFileW(
        wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
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

InputStream openInputStream(const std::string& path) {
    InputStream stream;
    const std::wstring wide = widePath(path);
    // CONIN$ and the like are devices; everything else is opened as a file.
    const HANDLE handle =
        CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        stream.error = lastErrno();
        return stream;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const DWORD type = GetFileType(handle);
    if (type == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &info) != 0) {
        stream.identity = {
            info.dwVolumeSerialNumber,
            (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
        if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            CloseHandle(handle);
            stream.kind = PathKind::Directory;
            stream.error = EISDIR;
            return stream;
        }
        stream.kind = PathKind::Regular;
        stream.size = static_cast<long long>(
            (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    } else {
        stream.kind = type == FILE_TYPE_PIPE ? PathKind::NamedPipe : PathKind::CharacterDevice;
    }
    const int fd = descriptorFor(handle, _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        stream.error = EMFILE;
        return stream;
    }
    stream.file = _fdopen(fd, "rb");
    if (stream.file == nullptr) {
        stream.error = errno;
        _close(fd);
    }
    return stream;
}

std::FILE* openTemporaryFile(int& error) {
    // GetTempPathW reads TMP, then TEMP, then USERPROFILE.
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) {
        error = length == 0 ? lastErrno() : ENAMETOOLONG;
        return nullptr;
    }
    wchar_t name[MAX_PATH + 1];
    if (GetTempFileNameW(folder, L"tes", 0, name) == 0) {
        error = lastErrno();
        return nullptr;
    }
    // Removed by the system when closed, or when the process ends in any way.
    const HANDLE handle =
        CreateFileW(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = lastErrno();
        DeleteFileW(name);
        return nullptr;
    }
    const int fd = descriptorFor(handle, _O_RDWR | _O_BINARY);
    if (fd < 0) {
        error = EMFILE;
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "w+b");
    if (file == nullptr) {
        error = errno;
        _close(fd);
    }
    return file;
}

unsigned long processNumber() {
    return GetCurrentProcessId();
}

bool processEnded(long long number) {
    if (number <= 0 || number > 0xFFFFFFFFLL) return false;
    HANDLE process =
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(number));
    if (process == nullptr) return GetLastError() == ERROR_INVALID_PARAMETER;
    DWORD code = 0;
    const bool ended = GetExitCodeProcess(process, &code) != 0 && code != STILL_ACTIVE;
    CloseHandle(process);
    return ended;
}

}  // namespace tessarin
