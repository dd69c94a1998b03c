#include "batch/spill_file.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/file_system.h"

namespace tessarin {

SpillFile::SpillFile() = default;

SpillFile::~SpillFile() {
    if (file_ != nullptr) std::fclose(file_);
}

SpillFile::SpillFile(SpillFile&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)),
      failed_(other.failed_),
      error_(std::move(other.error_)) {}

SpillFile& SpillFile::operator=(SpillFile&& other) noexcept {
    if (this != &other) {
        if (file_ != nullptr) std::fclose(file_);
        file_ = std::exchange(other.file_, nullptr);
        failed_ = other.failed_;
        error_ = std::move(other.error_);
    }
    return *this;
}

void SpillFile::fail(const char* what, int errorNumber) {
    if (failed_) return;
    failed_ = true;
    error_ = std::string(what) + " a temporary file: " + std::strerror(errorNumber);
}

bool SpillFile::create() {
    int error = 0;
    file_ = openTemporaryFile(error);
    if (file_ == nullptr) {
        fail("cannot create", error);
        return false;
    }
    return true;
}

void SpillFile::writeU64(std::uint64_t value) {
    unsigned char bytes[8];
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    if (!failed_ && std::fwrite(bytes, 1, sizeof bytes, file_) != sizeof bytes) {
        fail("cannot write", errno);
    }
}

void SpillFile::writeDouble(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    writeU64(bits);
}

void SpillFile::writeString(const std::string& text) {
    writeU64(text.size());
    if (!failed_ && !text.empty() &&
        std::fwrite(text.data(), 1, text.size(), file_) != text.size()) {
        fail("cannot write", errno);
    }
}

bool SpillFile::finishWriting() {
    if (failed_) return false;
    if (std::fflush(file_) != 0 || std::fseek(file_, 0, SEEK_SET) != 0) {
        fail("cannot write", errno);
        return false;
    }
    return true;
}

bool SpillFile::readU64(std::uint64_t& value) {
    if (failed_) return false;
    unsigned char bytes[8];
    const std::size_t got = std::fread(bytes, 1, sizeof bytes, file_);
    if (got != sizeof bytes) {
        // A record cut short, or a read error, is a failure; only a clean end is the end.
        if (got != 0 || std::ferror(file_)) fail("cannot read", got != 0 ? EIO : errno);
        return false;
    }
    value = 0;
    for (int i = 0; i < 8; ++i) value |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    return true;
}

bool SpillFile::readI64(std::int64_t& value) {
    std::uint64_t bits = 0;
    if (!readU64(bits)) return false;
    value = static_cast<std::int64_t>(bits);
    return true;
}

bool SpillFile::readDouble(double& value) {
    std::uint64_t bits = 0;
    if (!readU64(bits)) return false;
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

bool SpillFile::readString(std::string& text) {
    std::uint64_t size = 0;
    if (!readU64(size)) return false;
    text.resize(static_cast<std::size_t>(size));
    if (size > 0 && std::fread(text.data(), 1, text.size(), file_) != text.size()) {
        fail("cannot read", std::ferror(file_) ? errno : EIO);
        return false;
    }
    return true;
}

}  // namespace tessarin
