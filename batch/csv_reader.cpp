#include "batch/csv_reader.h"

#include "text/clean_text.h"

namespace tessarin {

namespace {
constexpr std::size_t kBufferSize = 1 << 16;
}

CsvReader::CsvReader(std::FILE* file) : file_(file), buffer_(kBufferSize) {}

int CsvReader::peek() {
    if (position_ == filled_) {
        filled_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
        position_ = 0;
        if (filled_ == 0) {
            if (std::ferror(file_)) readFailed_ = true;
            return EOF;
        }
    }
    return static_cast<unsigned char>(buffer_[position_]);
}

int CsvReader::get() {
    const int c = peek();
    if (c != EOF) {
        ++position_;
        ++bytesRead_;
    }
    return c;
}

CsvReader::Status CsvReader::next(std::vector<std::string>& fields) {
    if (atStart_) {
        atStart_ = false;
        // A UTF-8 byte-order mark, as spreadsheet programs write it. fread fills the whole first
        // buffer unless the file is shorter, so the three bytes are there to look at.
        if (peek() != EOF && filled_ >= 3 && buffer_[0] == '\xEF' && buffer_[1] == '\xBB' &&
            buffer_[2] == '\xBF') {
            position_ = 3;
            bytesRead_ = 3;
        }
    }
    if (stopped_) return Status::Error;

    while (true) {
        fields.clear();
        error_.clear();
        recordLine_ = line_;
        int c = peek();
        if (c == EOF) return Status::End;

        std::string field;
        bool quotedRecordField = false;
        while (true) {
            c = get();
            if (c == '"' && field.empty() && !quotedRecordField) {
                // A quoted field: everything up to the closing quote, "" standing for one quote.
                quotedRecordField = true;
                const long long opened = line_;
                while (true) {
                    c = get();
                    if (c == EOF) {
                        error_ =
                            "unterminated quoted field starting on line " + std::to_string(opened);
                        stopped_ = true;
                        return Status::Error;
                    }
                    if (c == '"') {
                        if (peek() == '"') {
                            get();
                            field += '"';
                            continue;
                        }
                        break;
                    }
                    if (c == '\n') ++line_;
                    field += static_cast<char>(c);
                }
                // Whatever stands between the closing quote and the next comma or line end is
                // passed over: the record keeps its fields (and its id) while it is rejected.
                c = peek();
                if (c != ',' && c != '\r' && c != '\n' && c != EOF) {
                    if (error_.empty()) {
                        error_ = "unexpected character after a closing quote on line " +
                                 std::to_string(line_);
                    }
                    while (c != ',' && c != '\r' && c != '\n' && c != EOF) {
                        get();
                        c = peek();
                    }
                }
                continue;
            }
            if (c == ',') {
                fields.push_back(std::move(field));
                field.clear();
                quotedRecordField = false;
                continue;
            }
            if (c == '\r' || c == '\n' || c == EOF) {
                if (c == '\r' && peek() == '\n') get();
                if (c != EOF) ++line_;
                fields.push_back(std::move(field));
                break;
            }
            field += static_cast<char>(c);
        }
        if (!error_.empty()) return Status::Malformed;
        // A blank line is no record.
        if (fields.size() == 1 && fields[0].empty() && !quotedRecordField) {
            if (c == EOF) return Status::End;
            continue;
        }
        return Status::Record;
    }
}

void appendCsvField(std::string& line, const std::string& given) {
    // Bytes from the input file go into the results: no NUL, control character or broken UTF-8
    // reaches the spreadsheet.
    const std::string field = printableText(given);
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        line += field;
        return;
    }
    line += '"';
    for (char c : field) {
        if (c == '"') line += '"';
        line += c;
    }
    line += '"';
}

}  // namespace tessarin
