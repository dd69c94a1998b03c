#include "batch/batch_files.h"

#include <cerrno>

namespace tessarin {

namespace {

constexpr std::size_t kOutputBufferSize = 1 << 16;

}  // namespace

std::optional<FileIdentity> identityOfPath(const std::string& path) {
    const PathStatus status = inspectTarget(path);
    if (status.kind == PathKind::Absent || status.error != 0) return std::nullopt;
    return status.identity;
}

std::optional<FileIdentity> identityOfStandardOutput() {
    return standardOutputFile();
}

bool BatchInput::fail(const std::string& path, int errorNumber) {
    error_ = "cannot read " + path + ": " + systemReason(errorNumber);
    file_.reset();
    return false;
}

bool BatchInput::open(const std::string& path) {
    InputStream opened = openInputStream(path);
    if (opened.error != 0) {
        if (opened.file != nullptr) std::fclose(opened.file);
        return fail(path, opened.error);
    }
    FilePointer stream(opened.file, &std::fclose);
    identity_ = opened.identity;
    // A directory opens for reading but holds no records; say what it is.
    if (opened.kind == PathKind::Directory) return fail(path, EISDIR);
    if (opened.kind == PathKind::Regular) {
        file_ = std::move(stream);
        size_ = opened.size;
        return true;
    }
    // A stream can be read only once: keep every byte of it in a temporary file.
    int error = 0;
    file_.reset(openTemporaryFile(error));
    if (!file_) {
        error_ = "cannot create a temporary copy of " + path + ": " + systemReason(error);
        return false;
    }
    std::vector<char> chunk(kOutputBufferSize);
    while (true) {
        const std::size_t got = std::fread(chunk.data(), 1, chunk.size(), stream.get());
        if (got > 0 && std::fwrite(chunk.data(), 1, got, file_.get()) != got) {
            error_ = "cannot write a temporary copy of " + path + ": " + systemReason(errno);
            file_.reset();
            return false;
        }
        size_ += static_cast<long long>(got);
        if (got < chunk.size()) {
            if (std::ferror(stream.get())) return fail(path, errno != 0 ? errno : EIO);
            if (std::feof(stream.get())) break;
        }
    }
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
    // Never put in place: the earlier results stay, and the temporary file goes.
    if (file_.isOpen()) file_.close();
    if (!temporary_.empty()) removeFile(temporary_);
}

bool OutputFile::open(const std::string& path) {
    path_ = path;
    const PathStatus status = inspectPath(path);
    if (status.error != 0) {
        error_ = status.error;
        return false;
    }
    unsigned permissions = 0666;
    switch (status.kind) {
        case PathKind::Absent:
            break;
        case PathKind::Directory:
            error_ = EISDIR;
            return false;
        case PathKind::Regular:
            // Results the engineer made read-only are not replaced behind their back.
            if (const int error = checkWritable(path); error != 0) {
                error_ = error;
                return false;
            }
            permissions = status.permissions;
            identity_ = status.identity;
            break;
        case PathKind::Link: {
            const PathStatus target = inspectTarget(path);
            if (target.kind == PathKind::Regular) identity_ = target.identity;
            if (!isStream(target.kind)) break;  // a link to a file is replaced
            [[fallthrough]];
        }
        default:
            // A stream: written as it is.
            if (const int error = file_.openStream(path); error != 0) {
                error_ = error;
                return false;
            }
            return true;
    }
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        temporary_ = temporaryPathBeside(path);
        error = file_.create(temporary_, permissions);
    }
    if (error != 0) {
        temporary_.clear();
        error_ = error;
        return false;
    }
    return true;
}

bool OutputFile::flushBuffer() {
    const auto size = static_cast<std::size_t>(pptr() - pbase());
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    if (error_ != 0) return false;
    if (const int error = file_.write({buffer_.data(), size}); error != 0) {
        error_ = error;
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
    // A deferred write error (a full disk on a network file system) shows up at close.
    if (const int error = file_.close(); error != 0 && error_ == 0) error_ = error;
    if (!flushed || error_ != 0) return false;
    if (temporary_.empty()) return true;
    if (const int error = renameOver(temporary_, path_); error != 0) {
        error_ = error;
        return false;
    }
    temporary_.clear();
    return true;
}

}  // namespace tessarin
