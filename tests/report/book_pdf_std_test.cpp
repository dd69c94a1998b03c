#include "book/book_pdf_std.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace tessarin {
namespace {

struct BreakCase {
    const char* name;
    const char* text;
    double em;
    double width;
    bool formula;
    std::vector<std::string> lines;
};

// Widths: an ideograph 1 em, an ASCII character 0.5 em; a line breaks once the next character
// would pass the width.
const BreakCase kBreaks[] = {
    // 10 pt characters on 30 pt: three ideographs a line, broken anywhere.
    {"IdeographsAnywhere", "工程名称示例", 10, 30, false, {"工程名", "称示例"}},
    // Two a line, but "，" may not start one: "二" goes down with it.
    {"NoLineStartsWithAComma", "一二，三四", 10, 20, false, {"一", "二，", "三四"}},
    // "（" may not end a line.
    {"NoLineEndsWithAnOpeningBracket", "一二（三）", 10, 30, false, {"一二", "（三）"}},
    // Twelve half-width characters on 60 pt at 10 pt: Latin breaks at the last blank, which
    // goes.
    {"LatinAtBlanks", "As = 1779.56 mm", 10, 60, false, {"As = 1779.56", "mm"}},
    // A formula breaks before its last operator instead, never before a bare number.
    {"FormulaBeforeAnOperator", "As = 1779.56 mm", 10, 60, true, {"As", "= 1779.56 mm"}},
    // A word longer than the line is cut.
    {"LongWordCut", "abcdefgh", 10, 20, false, {"abcd", "efgh"}},
    {"LineEnd", "a\nb", 10, 100, false, {"a", "b"}},
    {"Empty", "", 10, 100, false, {""}},
    // Latin and ideographs: a break between them is allowed.
    {"MixedText", "钢筋HRB400强度", 10, 50, false, {"钢筋HRB400", "强度"}},
};

class BreakLines : public ::testing::TestWithParam<BreakCase> {};

TEST_P(BreakLines, AsTheRulesOfChineseTextSay) {
    const BreakCase& c = GetParam();
    EXPECT_EQ(breakLines(c.text, c.em, c.width, c.formula), c.lines);
}

INSTANTIATE_TEST_SUITE_P(Text, BreakLines, ::testing::ValuesIn(kBreaks),
                         [](const ::testing::TestParamInfo<BreakCase>& test) {
                             return std::string(test.param.name);
                         });

TEST(BookPdfStd, WidthsAreThoseOfTheAdobeGb1Face) {
    EXPECT_EQ(textWidthPerMille("工程"), 2000.0);
    EXPECT_EQ(textWidthPerMille("KZ1"), 1500.0);
    // The superscript two is drawn as a 0.6 size "2": 0.6 x 500.
    EXPECT_EQ(textWidthPerMille("mm²"), 1300.0);
    // The minus sign as the full-width one of GB 2312.
    EXPECT_EQ(textWidthPerMille("−"), 1000.0);
}

std::size_t countOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

Book bookOf(std::vector<BookBlock> blocks) {
    Book book;
    book.title = "计算书";
    book.cover.project = "示例工程";
    book.cover.column = "KZ1";
    book.blocks = std::move(blocks);
    return book;
}

TEST(BookPdfStd, TheFileIsWholeAndItsCrossReferencesPointAtTheObjects) {
    const std::string pdf = renderBookPdfStd(bookOf({BookParagraph{"正文"}}));
    ASSERT_EQ(pdf.substr(0, 9), "%PDF-1.5\n");
    ASSERT_EQ(pdf.substr(pdf.size() - 6), "%%EOF\n");
    const std::size_t startxref = pdf.rfind("startxref\n");
    ASSERT_NE(startxref, std::string::npos);
    const std::size_t xref = std::stoul(pdf.substr(startxref + 10));
    ASSERT_EQ(pdf.substr(xref, 5), "xref\n");
    // Every object where the table says, "n 0 obj" at its offset.
    const std::regex entry("([0-9]{10}) 00000 n ");
    int number = 0;
    const std::string table = pdf.substr(xref, startxref - xref);
    for (std::sregex_iterator it(table.begin(), table.end(), entry), end; it != end; ++it) {
        ++number;
        const std::size_t offset = std::stoul((*it)[1].str());
        EXPECT_EQ(pdf.substr(offset, std::to_string(number).size() + 6),
                  std::to_string(number) + " 0 obj")
            << "object " << number;
    }
    EXPECT_GE(number, 10);
    // The standard face, not embedded, text in UTF-16.
    EXPECT_NE(pdf.find("/BaseFont /STSong-Light /Encoding /UniGB-UTF16-H"), std::string::npos);
    EXPECT_NE(pdf.find("/Ordering (GB1)"), std::string::npos);
    EXPECT_NE(pdf.find("/W [1 95 500]"), std::string::npos);
    EXPECT_EQ(pdf.find("/FontFile"), std::string::npos);
    // 正文 = U+6B63 U+6587; the footer "第 2 页 共 2 页" of the second page.
    EXPECT_NE(pdf.find("<6B636587>"), std::string::npos);
    EXPECT_NE(pdf.find("<7B2C0020003200209875002051710020003200209875>"), std::string::npos);
}

TEST(BookPdfStd, ParagraphsFillPagesOfTheTextArea) {
    // A line of 10.5 pt is 13.65 pt high with 2 pt above and below; the text area is
    // 297 - 25 - 22 = 250 mm = 708.66 pt: 13.65 + 2 + 39 x 17.65 = 704 pt holds 40 lines, the
    // 41st would end at 721.7. Sixty one-line paragraphs: the title page, 40 lines and 20.
    std::vector<BookBlock> blocks;
    blocks.reserve(60);
    for (int i = 0; i < 60; ++i)
        blocks.emplace_back(BookParagraph{"第 " + std::to_string(i) + " 行"});
    const std::string pdf = renderBookPdfStd(bookOf(blocks));
    EXPECT_NE(pdf.find("/Count 3 "), std::string::npos);
    // 40 lines: "第 39 行" is on page 2, "第 40 行" opens page 3, after page 2's footer.
    const std::string line39 = "<7B2C0020003300390020884C>";
    const std::string line40 = "<7B2C0020003400300020884C>";
    const std::string footer2 = "<7B2C0020003200209875002051710020003300209875>";
    ASSERT_NE(pdf.find(line39), std::string::npos);
    ASSERT_NE(pdf.find(line40), std::string::npos);
    EXPECT_LT(pdf.find(line39), pdf.find(footer2));
    EXPECT_GT(pdf.find(line40), pdf.find(footer2));
}

TEST(BookPdfStd, ATableOnTwoPagesRepeatsItsHeaderRow) {
    // Rows of 9.5 pt text: 9.5 x 1.3 + 2 x 2 = 16.35 pt; 43 rows (header and 42) take 703.05 of
    // the 708.66 pt. 80 rows: the header and rows 1-42 on page 2, the header and 43-80 on page 3.
    BookTable table{{"项目", "数值"}, {}};
    for (int i = 1; i <= 80; ++i) table.rows.push_back({"行", std::to_string(i)});
    const std::string pdf = renderBookPdfStd(bookOf({table}));
    EXPECT_NE(pdf.find("/Count 3 "), std::string::npos);
    EXPECT_EQ(countOf(pdf, "<987976EE>"), 2U);  // 项目
    const std::string footer2 = "<7B2C0020003200209875002051710020003300209875>";
    ASSERT_NE(pdf.find("<00340032>"), std::string::npos);
    ASSERT_NE(pdf.find("<00340033>"), std::string::npos);
    EXPECT_LT(pdf.find("<00340032>"), pdf.find(footer2));  // 42
    EXPECT_GT(pdf.find("<00340033>"), pdf.find(footer2));  // 43
}

TEST(BookPdfStd, AHeadingIsNeverTheLastLineOfAPage) {
    // 38 lines end at 15.65 + 37 x 17.65 = 668.7 pt. A heading of 11.5 pt (14.95 pt high, 8
    // above) would fit below them alone (691.65 <= 708.66), but not with the first line after it
    // (+ 4 + 2 + 13.65 = 711.3): both go to page 3.
    std::vector<BookBlock> blocks;
    blocks.reserve(40);
    for (int i = 0; i < 38; ++i) blocks.emplace_back(BookParagraph{"行"});
    blocks.emplace_back(BookHeading{2, "标题"});
    blocks.emplace_back(BookParagraph{"之后"});
    const std::string pdf = renderBookPdfStd(bookOf(blocks));
    const std::string footer2 = "<7B2C0020003200209875002051710020003300209875>";
    ASSERT_NE(pdf.find(footer2), std::string::npos);
    ASSERT_NE(pdf.find("<68079898>"), std::string::npos);
    ASSERT_NE(pdf.find("<4E4B540E>"), std::string::npos);
    EXPECT_GT(pdf.find("<68079898>"), pdf.find(footer2));  // 标题 on page 3
    EXPECT_GT(pdf.find("<4E4B540E>"), pdf.find(footer2));  // 之后 with it
}

TEST(BookPdfStd, TextAfterABoldHeadingIsNotBold) {
    // Bold is the outline drawn over the glyphs (rendering mode 2), which stays set after ET:
    // the paragraph's text object sets mode 0 again.
    const std::string pdf =
        renderBookPdfStd(bookOf({BookHeading{1, "标题"}, BookParagraph{"之后"}}));
    const std::size_t heading = pdf.find("<68079898>");
    const std::size_t text = pdf.find("<4E4B540E>");
    ASSERT_NE(heading, std::string::npos);
    ASSERT_NE(text, std::string::npos);
    const std::size_t headingBegin = pdf.rfind("BT\n", heading);
    const std::size_t textBegin = pdf.rfind("BT\n", text);
    EXPECT_NE(pdf.substr(headingBegin, heading - headingBegin).find("2 Tr"), std::string::npos);
    EXPECT_NE(pdf.substr(textBegin, text - textBegin).find("0 Tr"), std::string::npos);
}

}  // namespace
}  // namespace tessarin
