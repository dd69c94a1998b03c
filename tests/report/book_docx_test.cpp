#include "book/book_docx.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <regex>
#include <stdexcept>
#include <string>

#include "book/book_cover.h"
#include "book/zip_archive.h"

namespace tessarin {
namespace {

std::uint32_t read16(const std::string& bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8U);
}
std::uint32_t read32(const std::string& bytes, std::size_t at) {
    return read16(bytes, at) | (read16(bytes, at + 2) << 16U);
}

TEST(ZipArchive, Crc32OfKnownTexts) {
    // The check values of CRC-32/ISO-HDLC (the ZIP and PNG CRC).
    struct Case {
        std::string_view text;
        std::uint32_t crc;
    };
    for (const Case& c :
         {Case{"", 0x00000000U}, Case{"a", 0xE8B7BE43U}, Case{"123456789", 0xCBF43926U},
          Case{"The quick brown fox jumps over the lazy dog", 0x414FA339U}}) {
        EXPECT_EQ(crc32(c.text), c.crc) << c.text;
    }
}

TEST(ZipArchive, StoredEntriesWithTheirHeadersAndDirectory) {
    ZipArchive zip;
    zip.add("a.txt", "123456789");
    zip.add("dir/b.xml", "");
    const std::string bytes = zip.bytes();
    // Local headers of 30 bytes with the name, then the data: 30 + 5 + 9 = 44 for the first,
    // 30 + 9 + 0 = 39 for the second; central entries of 46 bytes with the name: 51 + 55 = 106;
    // the end record is 22 bytes: 44 + 39 + 106 + 22 = 211.
    ASSERT_EQ(bytes.size(), 211U);
    struct Local {
        std::size_t at;
        std::string name;
        std::uint32_t crc, size;
    };
    for (const Local& l : {Local{0, "a.txt", 0xCBF43926U, 9}, Local{44, "dir/b.xml", 0, 0}}) {
        SCOPED_TRACE(l.name);
        EXPECT_EQ(read32(bytes, l.at), 0x04034B50U);  // "PK\3\4"
        EXPECT_EQ(read16(bytes, l.at + 4), 20U);      // version 2.0
        EXPECT_EQ(read16(bytes, l.at + 8), 0U);       // stored
        EXPECT_EQ(read16(bytes, l.at + 12), 0x21U);   // 1980-01-01
        EXPECT_EQ(read32(bytes, l.at + 14), l.crc);
        EXPECT_EQ(read32(bytes, l.at + 18), l.size);
        EXPECT_EQ(read32(bytes, l.at + 22), l.size);
        EXPECT_EQ(read16(bytes, l.at + 26), l.name.size());
        EXPECT_EQ(bytes.substr(l.at + 30, l.name.size()), l.name);
    }
    EXPECT_EQ(bytes.substr(35, 9), "123456789");
    // The central directory at 83 names each entry with its local header's offset.
    EXPECT_EQ(read32(bytes, 83), 0x02014B50U);
    EXPECT_EQ(read32(bytes, 83 + 16), 0xCBF43926U);
    EXPECT_EQ(read32(bytes, 83 + 42), 0U);
    EXPECT_EQ(read32(bytes, 134), 0x02014B50U);
    EXPECT_EQ(read32(bytes, 134 + 42), 44U);
    EXPECT_EQ(bytes.substr(134 + 46, 9), "dir/b.xml");
    // The end record: two entries, the directory's size and offset.
    EXPECT_EQ(read32(bytes, 189), 0x06054B50U);
    EXPECT_EQ(read16(bytes, 189 + 8), 2U);
    EXPECT_EQ(read16(bytes, 189 + 10), 2U);
    EXPECT_EQ(read32(bytes, 189 + 12), 106U);
    EXPECT_EQ(read32(bytes, 189 + 16), 83U);
    // The same content gives the same bytes.
    ZipArchive again;
    again.add("a.txt", "123456789");
    again.add("dir/b.xml", "");
    EXPECT_EQ(again.bytes(), bytes);
}

TEST(ZipArchive, RefusesNamesAPackageCannotHold) {
    ZipArchive zip;
    zip.add("word/document.xml", "x");
    EXPECT_THROW(zip.add("word/document.xml", "y"), std::invalid_argument);
    EXPECT_THROW(zip.add("", "y"), std::invalid_argument);
}

TEST(BookDocx, EscapesTextForXml) {
    struct Case {
        std::string_view text, xml;
    };
    for (const Case& c : {
             Case{"<示例&工程>", "&lt;示例&amp;工程&gt;"},
             Case{"\"A\" 'B'", "&quot;A&quot; 'B'"},
             // Control bytes are not characters of an XML 1.0 document; tab and line ends are.
             Case{std::string_view("a\0b\x01\x1F"
                                   "c\x7F",
                                   7),
                  "abc\x7F"},
             Case{"x\ty\r\nz", "x\ty\r\nz"},
             // Not UTF-8: a lone continuation byte, a cut sequence, an overlong '/', a
             // surrogate, and the non-characters U+FFFE and U+FFFF, each byte as U+FFFD.
             Case{"\x80", "\xEF\xBF\xBD"},
             Case{"\xE6\xB1", "\xEF\xBF\xBD\xEF\xBF\xBD"},
             Case{"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},
             Case{"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
             Case{"\xEF\xBF\xBE\xEF\xBF\xBF", "\xEF\xBF\xBD\xEF\xBF\xBD"},
             // Well-formed text of every length stays as it is: Φ, 柱, U+1D70E (mathematical ε).
             Case{"Φ柱\xF0\x9D\x9C\x8E", "Φ柱\xF0\x9D\x9C\x8E"},
         }) {
        EXPECT_EQ(xmlEscape(c.text), c.xml) << c.text;
    }
}

Book sampleBook(const std::string& project) {
    Book book;
    book.title = "矩形截面双向偏心受压柱配筋计算书";
    book.cover.project = project;
    book.cover.column = "KZ1";
    book.cover.date = "2026-12-09";
    book.cover.designBasis = {"《混凝土结构设计规范》GB 50010-2010（2015年版）"};
    book.cover.designer = "张三";
    book.blocks.emplace_back(BookHeading{1, "1 输入数据"});
    book.blocks.emplace_back(BookTable{{"项目", "符号", "数值"}, {{"柱宽", "b", "400"}}});
    book.blocks.emplace_back(BookHeading{2, "1.1 荷载组合"});
    book.blocks.emplace_back(BookFormula{"x 方向的初始偏心距", "e0x = M0x / N", "", "610 mm"});
    BookPicture picture{100, 60, {}, "截面配筋图"};
    picture.shapes.emplace_back(PictureRect{10, 10, 40, 30, "#000000", "", 0.35});
    picture.shapes.emplace_back(PictureLine{0, 5, 100, 5, "#555555", 0.2, true});
    picture.shapes.emplace_back(PictureCircle{20, 20, 2, "#000000", "#b02020"});
    picture.shapes.emplace_back(PicturePolyline{{0, 0, 10, 10, 20, 0}, true, "#000000", "", 0.3});
    picture.shapes.emplace_back(PictureText{50, 50, "b = 400", 3.0, TextAnchor::Middle});
    book.blocks.emplace_back(picture);
    return book;
}

std::map<std::string, std::string> partsOf(const Book& book) {
    std::map<std::string, std::string> parts;
    for (auto& [name, xml] : bookDocxParts(book)) parts[name] = xml;
    return parts;
}

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

TEST(BookDocx, HasThePartsWordNeedsAndTheirRelationships) {
    const auto parts = partsOf(sampleBook("工程"));
    for (const char* name :
         {"[Content_Types].xml", "_rels/.rels", "word/document.xml", "word/_rels/document.xml.rels",
          "word/styles.xml", "word/header1.xml", "word/footer1.xml"}) {
        ASSERT_EQ(parts.count(name), 1U) << name;
    }
    // Every part but the relationships has its content type, and the package points at the
    // main document.
    const std::string& types = parts.at("[Content_Types].xml");
    for (const auto& [name, xml] : parts) {
        if (name.ends_with(".rels") || name == "[Content_Types].xml") continue;
        EXPECT_NE(types.find("PartName=\"/" + name + "\""), std::string::npos) << name;
        EXPECT_TRUE(xml.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"")) << name;
    }
    EXPECT_NE(parts.at("_rels/.rels").find("Target=\"word/document.xml\""), std::string::npos);
    // The section's header and footer references resolve to the header and footer parts.
    const std::string& rels = parts.at("word/_rels/document.xml.rels");
    const std::string& document = parts.at("word/document.xml");
    for (const auto& [kind, target] :
         {std::pair{"header", "header1.xml"}, {"footer", "footer1.xml"}}) {
        const std::regex reference(std::string("<w:") + kind +
                                   "Reference w:type=\"default\" r:id=\"(rId[0-9]+)\"");
        std::smatch match;
        ASSERT_TRUE(std::regex_search(document, match, reference)) << kind;
        EXPECT_NE(
            rels.find(
                "Id=\"" + match[1].str() +
                "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/" +
                kind + "\" Target=\"" + target + "\""),
            std::string::npos)
            << kind;
    }
}

TEST(BookDocx, HeadingsFormulasTablesAndFooterAsWordMarksThem) {
    const auto parts = partsOf(sampleBook("工程"));
    const std::string& styles = parts.at("word/styles.xml");
    const std::string& document = parts.at("word/document.xml");
    // Word's built-in heading styles with their outline levels, kept with the next paragraph.
    for (const auto& [id, level] : {std::pair{"Heading1", "0"}, {"Heading2", "1"}}) {
        const std::regex style(std::string("<w:style w:type=\"paragraph\" w:styleId=\"") + id +
                               "\"><w:name w:val=\"heading " + (level[0] == '0' ? "1" : "2") +
                               "\"/>.*?<w:keepNext/>.*?<w:outlineLvl w:val=\"" + level + "\"/>");
        EXPECT_TRUE(std::regex_search(styles, style)) << id;
    }
    EXPECT_NE(document.find("<w:pStyle w:val=\"Heading1\"/><w:pageBreakBefore/></w:pPr><w:r><w:t "
                            "xml:space=\"preserve\">1 输入数据</w:t>"),
              std::string::npos);
    EXPECT_NE(document.find("<w:pStyle w:val=\"Heading2\"/></w:pPr><w:r><w:t "
                            "xml:space=\"preserve\">1.1 荷载组合</w:t>"),
              std::string::npos);
    // The formula: its label kept with its line, and neither split.
    EXPECT_TRUE(std::regex_search(
        styles, std::regex("w:styleId=\"FormulaLabel\">.*?<w:keepNext/><w:keepLines/>")));
    EXPECT_TRUE(std::regex_search(styles, std::regex("w:styleId=\"Formula\">.*?<w:keepLines/>")));
    EXPECT_NE(document.find("e0x = M0x / N = 610 mm"), std::string::npos);
    // One face for every script.
    EXPECT_NE(styles.find("<w:rFonts w:ascii=\"SimSun\" w:hAnsi=\"SimSun\" w:eastAsia=\"SimSun\" "
                          "w:cs=\"SimSun\"/>"),
              std::string::npos);
    // The table's header row repeats; the cover table, the signature block's header and the
    // book's table are the three header rows (the cover table has none).
    EXPECT_EQ(count(document, "<w:tblHeader/>"), 2U);
    EXPECT_EQ(count(document, "<w:tbl>"), 3U);
    // The footer: 第 PAGE 页 共 NUMPAGES 页.
    const std::string& footer = parts.at("word/footer1.xml");
    const std::regex pages(
        "第 </w:t></w:r><w:fldSimple w:instr=\" PAGE [^\"]*\">.*</w:fldSimple>"
        "<w:r><w:t xml:space=\"preserve\"> 页 共 </w:t></w:r><w:fldSimple "
        "w:instr=\" NUMPAGES [^\"]*\">.*</w:fldSimple><w:r><w:t "
        "xml:space=\"preserve\"> 页</w:t>");
    EXPECT_TRUE(std::regex_search(footer, pages));
    // The picture: one group of shapes, a frame and one shape for each drawn one.
    EXPECT_EQ(count(document, "<wpg:wgp>"), 1U);
    EXPECT_EQ(count(document, "<wps:wsp>"), 1U + 5U);
    EXPECT_EQ(count(document, "<a:prstDash val=\"dash\"/>"), 1U);
    // 100 mm × 60 mm at 36000 EMU per millimetre.
    EXPECT_NE(document.find("<wp:extent cx=\"3600000\" cy=\"2160000\"/>"), std::string::npos);
}

TEST(BookDocx, ProjectNamesCannotBreakThePackage) {
    const std::string project = std::string("<A&B> \"二期\"\x01\x1B") + "\xFF";
    const auto parts = partsOf(sampleBook(project));
    const std::string escaped = "&lt;A&amp;B&gt; &quot;二期&quot;\xEF\xBF\xBD";
    EXPECT_NE(parts.at("word/header1.xml").find("工程名称：" + escaped + "　构件编号：KZ1"),
              std::string::npos);
    EXPECT_NE(parts.at("word/document.xml").find(escaped), std::string::npos);
    for (const auto& [name, xml] : parts) {
        SCOPED_TRACE(name);
        for (const char c : xml) {
            const auto byte = static_cast<unsigned char>(c);
            EXPECT_TRUE(byte >= 0x20U || c == '\n' || c == '\t' || c == '\r') << int(byte);
        }
        EXPECT_EQ(xml.find("<A&B>"), std::string::npos);
    }
}

TEST(BookDocx, WideTablesStayWithinTheMargins) {
    // A4 less two 18 mm margins: 174 mm = 9864 twips (11906 - 2 × 1021).
    const auto gridWidths = [](const BookTable& table) {
        Book book;
        book.blocks.emplace_back(table);
        const std::string document = partsOf(book).at("word/document.xml");
        // The book's table comes after the cover's two.
        std::size_t at = document.find("<w:tblGrid>");
        at = document.find("<w:tblGrid>", at + 1);
        at = document.find("<w:tblGrid>", at + 1);
        const std::string grid = document.substr(at, document.find("</w:tblGrid>", at) - at);
        std::vector<int> widths;
        const std::regex column("w:w=\"([0-9]+)\"");
        for (auto it = std::sregex_iterator(grid.begin(), grid.end(), column);
             it != std::sregex_iterator(); ++it) {
            widths.push_back(std::stoi((*it)[1].str()));
        }
        return widths;
    };
    const std::vector<int> narrow = gridWidths(BookTable{{"组", "N (kN)"}, {{"1", "1800.00"}}});
    ASSERT_EQ(narrow.size(), 2U);
    const std::string longText(300, 'x');
    const std::vector<int> wide =
        gridWidths(BookTable{{"组", "N (kN)", "说明"}, {{"1", "1800.00", longText}}});
    ASSERT_EQ(wide.size(), 3U);
    // The long column takes what the short ones leave; they keep their own width.
    EXPECT_EQ(wide[0], narrow[0]);
    EXPECT_EQ(wide[1], narrow[1]);
    EXPECT_LE(wide[0] + wide[1] + wide[2], 9864);
    EXPECT_GE(wide[0] + wide[1] + wide[2], 9862);
}

}  // namespace
}  // namespace tessarin
