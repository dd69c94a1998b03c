#include "batch/csv_reader.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace tessarin;

namespace {

using Status = CsvReader::Status;

struct Expected {
    Status status;
    long long line;
    std::vector<std::string> fields;
    std::string error;  // for Malformed and Error
};

struct ReaderCase {
    const char* name;
    std::string text;
    std::vector<Expected> records;  // then End (or nothing more after an Error)
};

class CsvReading : public testing::TestWithParam<ReaderCase> {};

TEST_P(CsvReading, GivesTheRecordsTheirLinesAndFaults) {
    const ReaderCase& c = GetParam();
    std::string text = c.text;
    std::FILE* file = fmemopen(text.data(), text.size(), "rb");
    ASSERT_NE(file, nullptr);
    CsvReader reader(file);
    std::vector<std::string> fields;
    for (std::size_t i = 0; i < c.records.size(); ++i) {
        const Expected& e = c.records[i];
        const Status status = reader.next(fields);
        EXPECT_EQ(status, e.status) << "record " << i;
        EXPECT_EQ(reader.recordLine(), e.line) << "record " << i;
        if (e.status != Status::Error) {
            EXPECT_EQ(fields, e.fields) << "record " << i;
        }
        if (e.status == Status::Malformed || e.status == Status::Error) {
            EXPECT_EQ(reader.error(), e.error) << "record " << i;
        }
    }
    const bool stopped = !c.records.empty() && c.records.back().status == Status::Error;
    EXPECT_EQ(reader.next(fields), stopped ? Status::Error : Status::End);
    std::fclose(file);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CsvReading,
    testing::Values(
        ReaderCase{"QuotesCommasAndDoubledQuotes",
                   "a,\"b,c\",\"say \"\"hi\"\"\"\n",
                   {{Status::Record, 1, {"a", "b,c", "say \"hi\""}, ""}}},
        ReaderCase{"LineBreakInsideQuotesCountsAsALine",
                   "\"x\ny\",1\n\nz,2\r\n",
                   {{Status::Record, 1, {"x\ny", "1"}, ""}, {Status::Record, 4, {"z", "2"}, ""}}},
        ReaderCase{"ByteOrderMarkAndNoFinalLineEnd",
                   "\xEF\xBB\xBFid,l0\r\nA,6000",
                   {{Status::Record, 1, {"id", "l0"}, ""}, {Status::Record, 2, {"A", "6000"}, ""}}},
        // The row keeps its id and the fields after the stray characters; the next line is read.
        ReaderCase{"StrayCharacterAfterAClosingQuote",
                   "\"KZ3\" ,6000,\"a\"b\nKZ4,5000\n",
                   {{Status::Malformed,
                     1,
                     {"KZ3", "6000", "a"},
                     "unexpected character after a closing quote on line 1"},
                    {Status::Record, 2, {"KZ4", "5000"}, ""}}},
        ReaderCase{"StrayCharacterAfterAQuotedLineBreak",
                   "id\n\"K\nZ\"x,1\nB,2\n",
                   {{Status::Record, 1, {"id"}, ""},
                    {Status::Malformed,
                     2,
                     {"K\nZ", "1"},
                     "unexpected character after a closing quote on line 3"},
                    {Status::Record, 4, {"B", "2"}, ""}}},
        ReaderCase{"UnterminatedQuoteEndsTheFile",
                   "A,1\n\"B,2\nC,3\n",
                   {{Status::Record, 1, {"A", "1"}, ""},
                    {Status::Error, 2, {}, "unterminated quoted field starting on line 2"}}}),
    [](const testing::TestParamInfo<ReaderCase>& p) { return std::string(p.param.name); });

TEST(CsvField, IsQuotedOnlyWhenItMustBe) {
    const std::pair<std::string, std::string> cases[] = {
        {"KZ1", "KZ1"},
        {"K,Z", "\"K,Z\""},
        {"a\"b", "\"a\"\"b\""},
        {"a\nb", "\"a\nb\""},
        {"", ""},
        // Bytes from the input that no spreadsheet should get: NUL, controls, broken UTF-8.
        {std::string("K\0Z", 3), "K\uFFFDZ"},
        {"K\x01Z\x1B", "K\uFFFDZ\uFFFD"},
        {"KZ\xFF,1", "\"KZ\uFFFD,1\""},
        {"柱\xE4\xB8", "柱\uFFFD\uFFFD"}};
    for (const auto& [field, text] : cases) {
        std::string line;
        appendCsvField(line, field);
        EXPECT_EQ(line, text);
    }
}

}  // namespace
