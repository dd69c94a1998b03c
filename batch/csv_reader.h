#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace tessarin {

// Reads CSV records (RFC 4180) one at a time from a file: fields separated by commas, quoted
// fields with commas, line breaks and doubled quotes inside, CR LF or LF line ends, an optional
// UTF-8 byte-order mark. Only the current record is held in memory.
class CsvReader {
  public:
    enum class Status {
        Record,     // fields holds the next record
        Malformed,  // fields holds a record read to its end despite a fault error() describes
                    // (a character after a closing quote); the next record can still be read
        End,        // no more records
        Error,      // a quoted field never ends (error() says where); the reader stops
    };

    explicit CsvReader(std::FILE* file);

    // The next record into fields. Blank lines are skipped.
    Status next(std::vector<std::string>& fields);

    long long recordLine() const { return recordLine_; }  // physical line the record starts on
    long long bytesRead() const { return bytesRead_; }
    const std::string& error() const { return error_; }
    bool readFailed() const { return readFailed_; }

  private:
    int get();
    int peek();

    std::FILE* file_;
    std::vector<char> buffer_;
    std::size_t position_ = 0;
    std::size_t filled_ = 0;
    long long line_ = 1;
    long long recordLine_ = 0;
    long long bytesRead_ = 0;
    bool atStart_ = true;
    bool stopped_ = false;
    bool readFailed_ = false;
    std::string error_;
};

// A field as CSV text: quoted when it holds a comma, a quote, a CR or an LF; NUL, other control
// characters and bytes that are not UTF-8 written as U+FFFD (printableText).
void appendCsvField(std::string& line, const std::string& given);

}  // namespace tessarin
