// The CSV reader on any bytes: it ends, every record it returns is written back by
// appendCsvField into text that reads back to the same records (cleaned by printableText), the byte
// count never passes the input, and once it stops at an unterminated quote it stays stopped.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "batch/csv_reader.h"
#include "text/clean_text.h"

using namespace tessarin;

namespace {

using Records = std::vector<std::vector<std::string>>;

void check(bool condition) {
    if (!condition) std::abort();
}

// Every record (and a malformed one's fields) of the bytes, up to the end or the stop.
Records readAll(const std::uint8_t* data, std::size_t size) {
    Records records;
    // fmemopen needs a buffer of at least one byte: the empty input is a one-byte buffer opened
    // with nothing in it.
    static char empty[1] = {0};
    char* buffer = size > 0 ? const_cast<char*>(reinterpret_cast<const char*>(data)) : empty;
    std::FILE* file = fmemopen(buffer, size > 0 ? size : 1, "r");
    if (file == nullptr) return records;
    if (size == 0) std::fgetc(file);  // at the end at once
    CsvReader reader(file);
    std::vector<std::string> fields;
    long long lastLine = 0;
    while (true) {
        const CsvReader::Status status = reader.next(fields);
        check(reader.bytesRead() >= 0 && static_cast<std::size_t>(reader.bytesRead()) <= size);
        if (status == CsvReader::Status::End) break;
        if (status == CsvReader::Status::Error) {
            check(!reader.error().empty());
            check(reader.next(fields) == CsvReader::Status::Error);
            break;
        }
        check(reader.recordLine() > lastLine);
        lastLine = reader.recordLine();
        check(!fields.empty());
        if (status == CsvReader::Status::Malformed) check(!reader.error().empty());
        // A record of one empty field is written as a blank line, which is no record: the
        // results never hold one, so it is left out of the round trip.
        if (fields.size() == 1 && fields[0].empty()) continue;
        records.push_back(fields);
    }
    std::fclose(file);
    return records;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Records records = readAll(data, size);
    std::string written;
    for (const std::vector<std::string>& record : records) {
        std::string line;
        for (std::size_t i = 0; i < record.size(); ++i) {
            if (i > 0) line += ',';
            appendCsvField(line, record[i]);
        }
        written += line + "\r\n";
    }
    // A first field that begins with a byte-order mark would be taken for one when read back.
    if (written.rfind("\xEF\xBB\xBF", 0) == 0) return 0;
    const Records again =
        readAll(reinterpret_cast<const std::uint8_t*>(written.data()), written.size());
    // The writer replaces NUL, controls and broken UTF-8 (printableText): so do the records.
    Records expected = records;
    for (std::vector<std::string>& record : expected) {
        for (std::string& field : record) field = printableText(field);
    }
    check(again == expected);
    return 0;
}
