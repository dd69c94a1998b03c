#include <gtest/gtest.h>

#include <string>

#include "book/book_file.h"
#include "tests/support/scratch_directory.h"

namespace tessarin {
namespace {

Book smallBook() {
    Book book;
    book.title = "计算书";
    book.blocks.emplace_back(BookParagraph{"正文"});
    return book;
}

// A PDF maker that records that it was asked and returns what the test gives it.
struct FakePdf {
    bool ok = true;
    int calls = 0;
    PdfRenderer renderer() {
        return [this](const Book&, std::string& pdf, std::string& reason) {
            ++calls;
            if (!ok) {
                reason = "no PDF writer";
                return false;
            }
            pdf = "%PDF-1.4 fake";
            return true;
        };
    }
};

// The format follows the name's suffix, case-insensitive; a name with no known suffix is HTML.
// The first bytes tell the formats apart: HTML begins with its doctype, Word (a zip) with "PK",
// and the PDF is what the front end's maker returned.
TEST(WriteBook, TheNameSaysTheFormat) {
    struct Case {
        const char* name;
        const char* begins;
        int pdfCalls;
    };
    const Case cases[] = {
        {"a.html", "<!DOCTYPE html>", 0},
        {"b.HTM", "<!DOCTYPE html>", 0},
        {"c", "<!DOCTYPE html>", 0},
        {"d.docx", "PK", 0},
        {"e.DOCX", "PK", 0},
        {"f.pdf", "%PDF-1.4 fake", 1},
    };
    TemporaryDirectory folder;
    for (const Case& c : cases) {
        FakePdf pdf;
        const std::string path = folder.file(c.name);
        ASSERT_TRUE(writeBook(smallBook(), path, pdf.renderer()).ok) << c.name;
        EXPECT_EQ(readFileBytes(path).rfind(c.begins, 0), 0U) << c.name;
        EXPECT_EQ(pdf.calls, c.pdfCalls) << c.name;
    }
}

// A PDF that cannot be made is a failure with the maker's reason and the file's name, and the
// file that was there stays as it was.
TEST(WriteBook, APdfThatCannotBeMadeLeavesTheOldFile) {
    TemporaryDirectory folder;
    const std::string path = folder.file("计算书.pdf");
    FakePdf good;
    ASSERT_TRUE(writeBook(smallBook(), path, good.renderer()).ok);
    FakePdf bad;
    bad.ok = false;
    const FileResult result = writeBook(smallBook(), path, bad.renderer());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason, "no PDF writer");
    EXPECT_EQ(result.fileName, path);
    EXPECT_EQ(readFileBytes(path), "%PDF-1.4 fake");
}

// The standard-face maker always gives a PDF.
TEST(WriteBook, TheStandardFaceMakesAPdf) {
    std::string pdf, reason;
    ASSERT_TRUE(renderStandardPdf(smallBook(), pdf, reason));
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0U);
    EXPECT_TRUE(reason.empty());
}

}  // namespace
}  // namespace tessarin
