#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "report/file_system.h"

namespace tessarin {

// The files of a batch run. Every call to the operating system stands in this pair of files.

// Which file a name or an open file is (FileIdentity): two names are the same file when these
// agree, whatever links or spellings lead to it.

// The file a path names (links followed); nullopt when there is none.
std::optional<FileIdentity> identityOfPath(const std::string& path);
// The file an open descriptor refers to; nullopt when the descriptor is closed.
std::optional<FileIdentity> identityOfDescriptor(int descriptor);

// The file stdout writes to; nullopt when it is no file (a pipe or a console on Windows).
std::optional<FileIdentity> identityOfStandardOutput();

// The system's text for an error number.
std::string systemReason(int errorNumber);

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

// An output file written through a stream: opened without cutting it, so that a file that turns
// out to be the input is refused before a byte of it changes, then cut and written.
class OutputFile : private std::streambuf {
  public:
    OutputFile();
    ~OutputFile() override;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Opens (creating) the file. False with the error number when it cannot be opened.
    bool open(const std::string& path);
    // The cases given as text (a project's combinations): kept in an unnamed temporary file;
    // name is what messages call them, and the file of that name (when there is one) is the
    // input an output must not be.
    bool openBytes(const std::string& name, const std::string& bytes);
    const FileIdentity& identity() const { return identity_; }
    // Cuts the file to nothing; false with the error number on failure.
    bool truncate();
    std::ostream& stream() { return stream_; }
    // Writes what is buffered and closes; false with the error number on failure.
    bool close();
    // The error number of the first failure.
    int error() const { return error_; }

  private:
    int overflow(int c) override;
    int sync() override;
    bool flushBuffer();

    int descriptor_ = -1;
    FileIdentity identity_;
    std::vector<char> buffer_;
    std::ostream stream_;
    int error_ = 0;
};

}  // namespace tessarin
