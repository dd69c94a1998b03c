#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace tessarin {

// An unnamed temporary file of records, written once and then read back from its start: what
// a batch puts aside when it holds more than its memory budget. The file is made in the folder
// TMPDIR names (TMP or TEMP on Windows) and disappears when closed.
class SpillFile {
  public:
    SpillFile();
    ~SpillFile();
    SpillFile(SpillFile&& other) noexcept;
    SpillFile& operator=(SpillFile&& other) noexcept;
    SpillFile(const SpillFile&) = delete;
    SpillFile& operator=(const SpillFile&) = delete;

    // False when the temporary file cannot be created; error() says why.
    bool create();
    void writeU64(std::uint64_t value);
    void writeI64(std::int64_t value) { writeU64(static_cast<std::uint64_t>(value)); }
    void writeDouble(double value);
    void writeString(const std::string& text);
    // Ends the writing (false when a write failed) and goes back to the start for reading.
    bool finishWriting();

    // Reading: false at the end of the file or when it cannot be read (see failed()).
    bool readU64(std::uint64_t& value);
    bool readI64(std::int64_t& value);
    bool readDouble(double& value);
    bool readString(std::string& text);

    bool failed() const { return failed_; }
    const std::string& error() const { return error_; }

  private:
    void fail(const char* what, int errorNumber);

    std::FILE* file_ = nullptr;
    bool failed_ = false;
    std::string error_;
};

}  // namespace tessarin
