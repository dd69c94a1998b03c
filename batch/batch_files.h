#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace tessarin {

// The files of a batch run, on the calls of platform/.

// The regular file a path leads to (links followed); nullopt when there is none. Two names are
// the same file when these agree, whatever links or spellings lead to it.
std::optional<FileIdentity> identityOfPath(const std::string& path);

// The file stdout writes to; nullopt when it is no regular file (a terminal, a pipe, a device).
std::optional<FileIdentity> identityOfStandardOutput();

using FilePointer = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// The cases file, opened once. A regular file is read in place; anything else (a pipe,
// /dev/stdin) is first copied once into an unnamed temporary file, so that both passes over the
// cases read the same bytes and nothing read from the stream is lost.
class BatchInput {
  public:
    // False with error() set ("cannot read NAME: reason") when the file cannot be opened or read.
    bool open(const std::string& path);
    // The cases given as text (a project's combinations): kept in an unnamed temporary file;
    // name is what messages call them, and the file of that name (when there is one) is the
    // input an output must not be.
    bool openBytes(const std::string& name, const std::string& bytes);
    std::FILE* file() const { return file_.get(); }
    // Back to the first byte for the next pass.
    bool rewind();
    long long size() const { return size_; }
    const FileIdentity& identity() const { return identity_; }
    const std::string& error() const { return error_; }

  private:
    bool fail(const std::string& path, int errorNumber);

    FilePointer file_{nullptr, &std::fclose};
    FileIdentity identity_;
    long long size_ = 0;
    std::string error_;
};

// The results file, written through a stream and whole (platform/whole_file.h's policy): the rows
// go to a temporary file beside it, renamed over it by close(), so that a killed or failed batch
// leaves the earlier results as they were and never a part of the new ones. A link at the name
// is replaced, not followed. A stream (/dev/null, a pipe, /dev/stdout on a pipe) is written as
// it is.
class OutputFile : private std::streambuf {
  public:
    OutputFile();
    ~OutputFile() override;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Readies the file. False with the error number when it cannot be written.
    bool open(const std::string& path);
    // The regular file the name led to before (nothing when there was none).
    const std::optional<FileIdentity>& identity() const { return identity_; }
    // The cases given as text (a project's combinations): kept in an unnamed temporary file;
    // name is what messages call them, and the file of that name (when there is one) is the
    // input an output must not be.
    bool openBytes(const std::string& name, const std::string& bytes);
    // Cuts the file to nothing; false with the error number on failure.
    bool truncate();
    std::ostream& stream() { return stream_; }
    // Writes what is buffered, closes and puts the file in place; false with the error number on
    // failure (the earlier file then stays).
    bool close();
    // The error number of the first failure.
    int error() const { return error_; }

  private:
    int overflow(int c) override;
    int sync() override;
    bool flushBuffer();

    std::string path_;
    std::string temporary_;  // empty for a stream written as it is
    NewFile file_;
    std::optional<FileIdentity> identity_;
    std::vector<char> buffer_;
    std::ostream stream_;
    int error_ = 0;
};

}  // namespace tessarin
