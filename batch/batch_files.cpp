#include "batch/batch_files.h"

#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>

namespace tessarin {

namespace {

constexpr std::size_t kOutputBufferSize = 1 << 16;

// A byte count as read and write take it (an unsigned int on Windows), at most 1 GB at a time.
#ifdef _WIN32
using IoCount = unsigned int;
#else
using IoCount = std::size_t;
#endif
IoCount ioCount(std::size_t size) {
    constexpr std::size_t kMostAtOnce = std::size_t{1} << 30;
    return static_cast<IoCount>(size < kMostAtOnce ? size : kMostAtOnce);
}

#ifdef _WIN32
// Bytes as they are: no CR LF translation.
constexpr int kOpenFlags = O_BINARY;

// Windows has no inode numbers in stat: a file is its volume and its file index.
std::optional<FileIdentity> identityOfHandle(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (handle == INVALID_HANDLE_VALUE || GetFileInformationByHandle(handle, &info) == 0) {
        return std::nullopt;
    }
    return FileIdentity{
        info.dwVolumeSerialNumber,
        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

bool cutToNothing(int descriptor) {
    return _chsize_s(descriptor, 0) == 0;
}
#else
constexpr int kOpenFlags = O_CLOEXEC;

bool cutToNothing(int descriptor) {
    return ::ftruncate(descriptor, 0) == 0;
}
#endif

// Writes all of the bytes, however the system splits the write; false with errno set.
bool writeAll(int descriptor, const char* data, std::size_t size) {
    while (size > 0) {
        const auto written = ::write(descriptor, data, ioCount(size));
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

#ifdef _WIN32
std::optional<FileIdentity> identityOfPath(const std::string& path) {
    const HANDLE handle =
        CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    const auto identity = identityOfHandle(handle);
    CloseHandle(handle);
    return identity;
}

std::optional<FileIdentity> identityOfDescriptor(int descriptor) {
    return identityOfHandle(reinterpret_cast<HANDLE>(_get_osfhandle(descriptor)));
}
#else
std::optional<FileIdentity> identityOfPath(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}

std::optional<FileIdentity> identityOfDescriptor(int descriptor) {
    struct stat info {};
    if (::fstat(descriptor, &info) != 0) return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}
#endif

std::optional<FileIdentity> identityOfStandardOutput() {
    return identityOfDescriptor(1);
}

std::string systemReason(int errorNumber) {
    return std::strerror(errorNumber);
}

bool BatchInput::fail(const std::string& path, int errorNumber) {
    error_ = "cannot read " + path + ": " + systemReason(errorNumber);
    file_.reset();
    return false;
}

bool BatchInput::open(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | kOpenFlags);
    if (descriptor < 0) return fail(path, errno);
    struct stat info {};
    if (::fstat(descriptor, &info) != 0) {
        const int error = errno;
        ::close(descriptor);
        return fail(path, error);
    }
    identity_ = identityOfDescriptor(descriptor).value_or(FileIdentity{});
    // A directory opens for reading but holds no records; say what it is.
    if (S_ISDIR(info.st_mode)) {
        ::close(descriptor);
        return fail(path, EISDIR);
    }
    if (S_ISREG(info.st_mode)) {
        file_.reset(::fdopen(descriptor, "rb"));
        if (!file_) {
            const int error = errno;
            ::close(descriptor);
            return fail(path, error);
        }
        size_ = static_cast<long long>(info.st_size);
        return true;
    }
    // A stream can be read only once: keep every byte of it in a temporary file.
    file_.reset(std::tmpfile());
    if (!file_) {
        const int error = errno;
        ::close(descriptor);
        error_ = "cannot create a temporary copy of " + path + ": " + systemReason(error);
        return false;
    }
    std::vector<char> chunk(kOutputBufferSize);
    while (true) {
        const auto got = ::read(descriptor, chunk.data(), ioCount(chunk.size()));
        if (got < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(descriptor);
            return fail(path, error);
        }
        if (got == 0) break;
        const auto count = static_cast<std::size_t>(got);
        if (std::fwrite(chunk.data(), 1, count, file_.get()) != count) {
            const int error = errno;
            ::close(descriptor);
            error_ = "cannot write a temporary copy of " + path + ": " + systemReason(error);
            file_.reset();
            return false;
        }
        size_ += got;
    }
    ::close(descriptor);
    if (std::fflush(file_.get()) != 0) {
        error_ = "cannot write a temporary copy of " + path + ": " + systemReason(errno);
        file_.reset();
        return false;
    }
    return rewind();
}

bool BatchInput::openBytes(const std::string& name, const std::string& bytes) {
    identity_ = identityOfPath(name).value_or(FileIdentity{});
    file_.reset(std::tmpfile());
    if (!file_) {
        error_ = "cannot create a temporary copy of " + name + ": " + systemReason(errno);
        return false;
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) != bytes.size() ||
        std::fflush(file_.get()) != 0) {
        error_ = "cannot write a temporary copy of " + name + ": " + systemReason(errno);
        file_.reset();
        return false;
    }
    size_ = static_cast<long long>(bytes.size());
    return rewind();
}

bool BatchInput::rewind() {
    if (std::fseek(file_.get(), 0, SEEK_SET) != 0) return false;
    std::clearerr(file_.get());
    return true;
}

OutputFile::OutputFile() : buffer_(kOutputBufferSize), stream_(this) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

OutputFile::~OutputFile() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

bool OutputFile::open(const std::string& path) {
    descriptor_ = ::open(path.c_str(), O_WRONLY | O_CREAT | kOpenFlags, 0666);
    if (descriptor_ < 0) {
        error_ = errno;
        return false;
    }
    const auto identity = identityOfDescriptor(descriptor_);
    if (!identity) {
        error_ = errno;
        return false;
    }
    identity_ = *identity;
    return true;
}

bool OutputFile::truncate() {
    // Only regular files have a length to cut; /dev/null and pipes are written as they are.
    struct stat info {};
    if (::fstat(descriptor_, &info) != 0) {
        error_ = errno;
        return false;
    }
    if (S_ISREG(info.st_mode) && !cutToNothing(descriptor_)) {
        error_ = errno;
        return false;
    }
    return true;
}

bool OutputFile::flushBuffer() {
    const auto size = static_cast<std::size_t>(pptr() - pbase());
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    if (error_ != 0) return false;
    if (!writeAll(descriptor_, buffer_.data(), size)) {
        error_ = errno;
        return false;
    }
    return true;
}

int OutputFile::overflow(int c) {
    if (!flushBuffer()) return traits_type::eof();
    if (c != traits_type::eof()) {
        *pptr() = static_cast<char>(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int OutputFile::sync() {
    return flushBuffer() ? 0 : -1;
}

bool OutputFile::close() {
    const bool flushed = flushBuffer();
    const int descriptor = descriptor_;
    descriptor_ = -1;
    // A deferred write error (a full disk on a network file system) shows up at close.
    if (::close(descriptor) != 0 && error_ == 0) error_ = errno;
    return flushed && error_ == 0;
}

}  // namespace tessarin
