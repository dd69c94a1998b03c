#include "book/book_docx.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "book/book_cover.h"
#include "book/zip_archive.h"

namespace tessarin {

namespace {

// ---------------------------------------------------------------------------------------------
// Namespaces and fixed parts

constexpr std::string_view kXmlDeclaration =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr std::string_view kW = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr std::string_view kR =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr std::string_view kRelationships =
    "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr std::string_view kRelationshipType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

// The namespaces of the document, header and footer parts: WordprocessingML, relationships and,
// for the pictures, DrawingML with Word 2010's shapes and groups.
std::string rootAttributes() {
    std::string out;
    out += " xmlns:w=\"" + std::string(kW) + "\"";
    out += " xmlns:r=\"" + std::string(kR) + "\"";
    out += " xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\"";
    out += " xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"";
    out += " xmlns:wpg=\"http://schemas.microsoft.com/office/word/2010/wordprocessingGroup\"";
    out += " xmlns:wps=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\"";
    return out;
}

// The one face of the book, for every script: Latin, Greek and Chinese from the same family sit
// on one baseline at one size. Word finds 宋体 by its English name on every Windows.
constexpr std::string_view kFace = "SimSun";

// A4 with the margins of the HTML and PDF books (22 mm top, 18 mm sides, 20 mm bottom), twips.
constexpr int kPageWidth = 11906;
constexpr int kPageHeight = 16838;
constexpr int kMarginTop = 1247;
constexpr int kMarginSide = 1021;
constexpr int kMarginBottom = 1134;
constexpr int kTextWidth = kPageWidth - 2 * kMarginSide;
constexpr int kCellPadding = 108;     // each side of a cell's text
constexpr int kWideCellPadding = 57;  // the same in a wide table

constexpr int kBodyHalfPoints = 21;  // 五号, 10.5 pt
constexpr int kWideHalfPoints = 17;  // tables of kWideTableColumns columns and more

std::string relationship(std::string_view id, std::string_view type, std::string_view target) {
    return "<Relationship Id=\"" + std::string(id) + "\" Type=\"" + std::string(type) +
           "\" Target=\"" + std::string(target) + "\"/>";
}

std::string contentTypes() {
    std::string out(kXmlDeclaration);
    out +=
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" "
        "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>";
    const auto part = [&out](std::string_view name, std::string_view type) {
        out += "<Override PartName=\"" + std::string(name) + "\" ContentType=\"" +
               std::string(type) + "\"/>";
    };
    const std::string wml = "application/vnd.openxmlformats-officedocument.wordprocessingml.";
    part("/word/document.xml", wml + "document.main+xml");
    part("/word/styles.xml", wml + "styles+xml");
    part("/word/settings.xml", wml + "settings+xml");
    part("/word/fontTable.xml", wml + "fontTable+xml");
    part("/word/header1.xml", wml + "header+xml");
    part("/word/footer1.xml", wml + "footer+xml");
    part("/docProps/core.xml", "application/vnd.openxmlformats-package.core-properties+xml");
    part("/docProps/app.xml",
         "application/vnd.openxmlformats-officedocument.extended-properties+xml");
    out += "</Types>";
    return out;
}

std::string packageRelationships() {
    std::string out(kXmlDeclaration);
    out += "<Relationships xmlns=\"" + std::string(kRelationships) + "\">";
    out += relationship("rId1", std::string(kRelationshipType) + "officeDocument",
                        "word/document.xml");
    out += relationship(
        "rId2",
        "http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties",
        "docProps/core.xml");
    out += relationship("rId3", std::string(kRelationshipType) + "extended-properties",
                        "docProps/app.xml");
    out += "</Relationships>";
    return out;
}

std::string documentRelationships() {
    std::string out(kXmlDeclaration);
    out += "<Relationships xmlns=\"" + std::string(kRelationships) + "\">";
    out += relationship("rId1", std::string(kRelationshipType) + "styles", "styles.xml");
    out += relationship("rId2", std::string(kRelationshipType) + "settings", "settings.xml");
    out += relationship("rId3", std::string(kRelationshipType) + "fontTable", "fontTable.xml");
    out += relationship("rId4", std::string(kRelationshipType) + "header", "header1.xml");
    out += relationship("rId5", std::string(kRelationshipType) + "footer", "footer1.xml");
    out += "</Relationships>";
    return out;
}

// "2026-12-09" as the W3C date-time of the core properties; anything else is left out.
bool isIsoDate(std::string_view date) {
    if (date.size() != 10 || date[4] != '-' || date[7] != '-') return false;
    for (std::size_t i = 0; i < date.size(); ++i) {
        if (i != 4 && i != 7 && (date[i] < '0' || date[i] > '9')) return false;
    }
    return true;
}

std::string coreProperties(const Book& book) {
    std::string out(kXmlDeclaration);
    out +=
        "<cp:coreProperties "
        "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
        "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
        "xmlns:dcterms=\"http://purl.org/dc/terms/\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">";
    out += "<dc:title>" + xmlEscape(book.title) + "</dc:title>";
    if (!book.cover.project.empty()) {
        out += "<dc:subject>" + xmlEscape(book.cover.project) + "</dc:subject>";
    }
    if (!book.cover.designer.empty()) {
        out += "<dc:creator>" + xmlEscape(book.cover.designer) + "</dc:creator>";
    }
    out += "<dc:language>zh-CN</dc:language>";
    if (isIsoDate(book.cover.date)) {
        out += "<dcterms:created xsi:type=\"dcterms:W3CDTF\">" + book.cover.date +
               "T00:00:00Z</dcterms:created>";
    }
    out += "</cp:coreProperties>";
    return out;
}

std::string appProperties(const Book& book) {
    std::string out(kXmlDeclaration);
    out +=
        "<Properties "
        "xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\">"
        "<Application>" +
        xmlEscape(book.cover.program.empty() ? std::string("Tessarin") : book.cover.program) +
        "</Application></Properties>";
    return out;
}

std::string fontTable() {
    std::string out(kXmlDeclaration);
    out += "<w:fonts xmlns:w=\"" + std::string(kW) + "\">";
    out += "<w:font w:name=\"" + std::string(kFace) +
           "\"><w:altName w:val=\"宋体\"/><w:panose1 w:val=\"02010600030101010101\"/>"
           "<w:charset w:val=\"86\"/><w:family w:val=\"auto\"/><w:pitch w:val=\"variable\"/>"
           "</w:font></w:fonts>";
    return out;
}

std::string settings() {
    std::string out(kXmlDeclaration);
    out += "<w:settings xmlns:w=\"" + std::string(kW) + "\">";
    out +=
        "<w:defaultTabStop w:val=\"420\"/>"
        "<w:characterSpacingControl w:val=\"compressPunctuation\"/>"
        "<w:compat><w:compatSetting w:name=\"compatibilityMode\" "
        "w:uri=\"http://schemas.microsoft.com/office/word\" w:val=\"15\"/></w:compat>"
        "</w:settings>";
    return out;
}

std::string fonts() {
    const std::string face(kFace);
    return "<w:rFonts w:ascii=\"" + face + "\" w:hAnsi=\"" + face + "\" w:eastAsia=\"" + face +
           "\" w:cs=\"" + face + "\"/>";
}

// Word's built-in styles under their built-in names ("heading 1" is shown as 标题 1 by a Chinese
// Word and as Heading 1 by an English one), with the book's own for formulas and pictures.
std::string styles() {
    std::string out(kXmlDeclaration);
    out += "<w:styles xmlns:w=\"" + std::string(kW) + "\">";
    out += "<w:docDefaults><w:rPrDefault><w:rPr>" + fonts() +
           "<w:sz w:val=\"21\"/><w:szCs w:val=\"21\"/>"
           "<w:lang w:val=\"en-US\" w:eastAsia=\"zh-CN\" w:bidi=\"ar-SA\"/></w:rPr>"
           "</w:rPrDefault><w:pPrDefault><w:pPr>"
           "<w:spacing w:after=\"60\" w:line=\"312\" w:lineRule=\"auto\"/>"
           "<w:jc w:val=\"both\"/></w:pPr></w:pPrDefault></w:docDefaults>";
    const auto paragraphStyle = [&out](std::string_view id, std::string_view name,
                                       std::string_view pPr, std::string_view rPr, bool primary) {
        out += "<w:style w:type=\"paragraph\" w:styleId=\"" + std::string(id) + "\">";
        out += "<w:name w:val=\"" + std::string(name) + "\"/>";
        out += "<w:basedOn w:val=\"Normal\"/><w:next w:val=\"Normal\"/>";
        if (primary) out += "<w:qFormat/>";
        if (!pPr.empty()) out += "<w:pPr>" + std::string(pPr) + "</w:pPr>";
        if (!rPr.empty()) out += "<w:rPr>" + std::string(rPr) + "</w:rPr>";
        out += "</w:style>";
    };
    out +=
        "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Normal\">"
        "<w:name w:val=\"Normal\"/><w:qFormat/></w:style>";
    // Headings stay with what follows them and are never split.
    paragraphStyle("Heading1", "heading 1",
                   "<w:keepNext/><w:keepLines/><w:spacing w:before=\"360\" w:after=\"160\"/>"
                   "<w:jc w:val=\"left\"/><w:outlineLvl w:val=\"0\"/>",
                   "<w:b/><w:bCs/><w:sz w:val=\"30\"/><w:szCs w:val=\"30\"/>", true);
    paragraphStyle("Heading2", "heading 2",
                   "<w:keepNext/><w:keepLines/><w:spacing w:before=\"240\" w:after=\"120\"/>"
                   "<w:jc w:val=\"left\"/><w:outlineLvl w:val=\"1\"/>",
                   "<w:b/><w:bCs/><w:sz w:val=\"24\"/><w:szCs w:val=\"24\"/>", true);
    paragraphStyle("Heading3", "heading 3",
                   "<w:keepNext/><w:keepLines/><w:spacing w:before=\"200\" w:after=\"80\"/>"
                   "<w:jc w:val=\"left\"/><w:outlineLvl w:val=\"2\"/>",
                   "<w:b/><w:bCs/><w:sz w:val=\"22\"/><w:szCs w:val=\"22\"/>", true);
    paragraphStyle("Title", "Title",
                   "<w:spacing w:before=\"1700\" w:after=\"800\"/><w:jc w:val=\"center\"/>",
                   "<w:b/><w:bCs/><w:sz w:val=\"40\"/><w:szCs w:val=\"40\"/>", true);
    paragraphStyle("CoverHeading", "Cover Heading",
                   "<w:keepNext/><w:spacing w:before=\"480\" w:after=\"120\"/>"
                   "<w:ind w:left=\"1134\"/><w:jc w:val=\"left\"/>",
                   "<w:b/><w:bCs/><w:sz w:val=\"24\"/><w:szCs w:val=\"24\"/>", false);
    paragraphStyle("CoverItem", "Cover Item",
                   "<w:keepNext/><w:ind w:left=\"1474\" w:hanging=\"340\"/><w:jc w:val=\"left\"/>",
                   "", false);
    // A formula's label stays with its line, and neither is split across pages.
    paragraphStyle("FormulaLabel", "Formula Label",
                   "<w:keepNext/><w:keepLines/><w:spacing w:before=\"80\" w:after=\"0\"/>"
                   "<w:ind w:left=\"227\"/><w:jc w:val=\"left\"/>",
                   "", false);
    paragraphStyle("Formula", "Formula",
                   "<w:keepLines/><w:spacing w:before=\"0\" w:after=\"100\"/>"
                   "<w:ind w:left=\"567\"/><w:jc w:val=\"left\"/>",
                   "", false);
    paragraphStyle("Figure", "Figure",
                   "<w:keepNext/><w:keepLines/><w:spacing w:before=\"120\" w:after=\"60\" "
                   "w:line=\"240\" w:lineRule=\"auto\"/><w:jc w:val=\"center\"/>",
                   "", false);
    paragraphStyle("Caption", "caption",
                   "<w:keepLines/><w:spacing w:before=\"0\" w:after=\"200\"/>"
                   "<w:jc w:val=\"center\"/>",
                   "<w:sz w:val=\"20\"/><w:szCs w:val=\"20\"/>", true);
    paragraphStyle("TableText", "Table Text",
                   "<w:spacing w:before=\"20\" w:after=\"20\" w:line=\"240\" w:lineRule=\"auto\"/>"
                   "<w:jc w:val=\"left\"/>",
                   "", false);
    paragraphStyle("Header", "header",
                   "<w:pBdr><w:bottom w:val=\"single\" w:sz=\"4\" w:space=\"1\" "
                   "w:color=\"444444\"/></w:pBdr><w:spacing w:after=\"0\"/>"
                   "<w:jc w:val=\"left\"/>",
                   "<w:sz w:val=\"18\"/><w:szCs w:val=\"18\"/>", false);
    paragraphStyle("Footer", "footer", "<w:spacing w:after=\"0\"/><w:jc w:val=\"center\"/>",
                   "<w:sz w:val=\"18\"/><w:szCs w:val=\"18\"/>", false);
    out +=
        "<w:style w:type=\"table\" w:default=\"1\" w:styleId=\"TableNormal\">"
        "<w:name w:val=\"Normal Table\"/><w:tblPr><w:tblInd w:w=\"0\" w:type=\"dxa\"/>"
        "<w:tblCellMar><w:top w:w=\"0\" w:type=\"dxa\"/><w:left w:w=\"108\" w:type=\"dxa\"/>"
        "<w:bottom w:w=\"0\" w:type=\"dxa\"/><w:right w:w=\"108\" w:type=\"dxa\"/>"
        "</w:tblCellMar></w:tblPr></w:style>"
        "<w:style w:type=\"table\" w:styleId=\"TableGrid\"><w:name w:val=\"Table Grid\"/>"
        "<w:basedOn w:val=\"TableNormal\"/><w:tblPr><w:tblBorders>";
    for (const char* side : {"top", "left", "bottom", "right", "insideH", "insideV"}) {
        out += "<w:" + std::string(side) +
               " w:val=\"single\" w:sz=\"4\" w:space=\"0\" w:color=\"777777\"/>";
    }
    out += "</w:tblBorders></w:tblPr></w:style></w:styles>";
    return out;
}

// ---------------------------------------------------------------------------------------------
// Text

// The code point at text[i] and its length in bytes; U+FFFD with length 1 for a byte that does
// not start a well-formed UTF-8 sequence.
std::pair<char32_t, std::size_t> decodeUtf8(std::string_view text, std::size_t i) {
    const auto byte = [&text](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80U) return {lead, 1};
    std::size_t length = 0;
    unsigned char low = 0x80U, high = 0xBFU;
    char32_t value = 0;
    if (lead >= 0xC2U && lead <= 0xDFU) {
        length = 2;
        value = lead & 0x1FU;
    } else if (lead >= 0xE0U && lead <= 0xEFU) {
        length = 3;
        value = lead & 0x0FU;
        if (lead == 0xE0U) low = 0xA0U;
        if (lead == 0xEDU) high = 0x9FU;  // no surrogates
    } else if (lead >= 0xF0U && lead <= 0xF4U) {
        length = 4;
        value = lead & 0x07U;
        if (lead == 0xF0U) low = 0x90U;
        if (lead == 0xF4U) high = 0x8FU;
    } else {
        return {U'\uFFFD', 1};
    }
    if (i + length > text.size()) return {U'\uFFFD', 1};
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char next = byte(i + k);
        if (next < (k == 1 ? low : 0x80U) || next > (k == 1 ? high : 0xBFU)) {
            return {U'\uFFFD', 1};
        }
        value = (value << 6U) | (next & 0x3FU);
    }
    return {value, length};
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80U) {
        out += static_cast<char>(c);
    } else if (c < 0x800U) {
        out += static_cast<char>(0xC0U | (c >> 6U));
        out += static_cast<char>(0x80U | (c & 0x3FU));
    } else if (c < 0x10000U) {
        out += static_cast<char>(0xE0U | (c >> 12U));
        out += static_cast<char>(0x80U | ((c >> 6U) & 0x3FU));
        out += static_cast<char>(0x80U | (c & 0x3FU));
    } else {
        out += static_cast<char>(0xF0U | (c >> 18U));
        out += static_cast<char>(0x80U | ((c >> 12U) & 0x3FU));
        out += static_cast<char>(0x80U | ((c >> 6U) & 0x3FU));
        out += static_cast<char>(0x80U | (c & 0x3FU));
    }
}

// The width of text in ems: a Chinese character or a full-width form takes a whole em; digits,
// letters and signs the widths of a common serif face, wider than SimSun's half-em Latin, so
// that a reader without SimSun still keeps a table's numbers on one line.
double textEms(std::string_view text) {
    double ems = 0.0;
    for (std::size_t i = 0; i < text.size();) {
        const auto [c, length] = decodeUtf8(text, i);
        i += length;
        const bool wide = (c >= 0x2E80U && c <= 0xA4CFU) || (c >= 0xAC00U && c <= 0xD7A3U) ||
                          (c >= 0xF900U && c <= 0xFAFFU) || (c >= 0xFE30U && c <= 0xFE4FU) ||
                          (c >= 0xFF00U && c <= 0xFF60U) || (c >= 0xFFE0U && c <= 0xFFE6U) ||
                          c >= 0x20000U;
        if (wide) {
            ems += 1.0;
        } else if (c >= '0' && c <= '9') {
            ems += 0.64;
        } else if (c == '.' || c == ',' || c == ' ' || c == ':' || c == ';' || c == '(' ||
                   c == ')' || c == '/') {
            ems += 0.4;
        } else if (c >= 'a' && c <= 'z') {
            ems += 0.62;
        } else {
            ems += 0.75;  // capitals, Greek, mathematical signs
        }
    }
    return ems;
}

// A run's text: tabs and line breaks as Word's own elements, everything else escaped.
std::string runText(std::string_view text) {
    std::string out;
    std::size_t start = 0;
    const auto piece = [&out, &text](std::size_t from, std::size_t to) {
        if (to > from) {
            out +=
                "<w:t xml:space=\"preserve\">" + xmlEscape(text.substr(from, to - from)) + "</w:t>";
        }
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' || text[i] == '\t' || text[i] == '\r') {
            piece(start, i);
            if (text[i] == '\n') out += "<w:br/>";
            if (text[i] == '\t') out += "<w:tab/>";
            start = i + 1;
        }
    }
    piece(start, text.size());
    return out;
}

std::string run(std::string_view text, std::string_view rPr = {}) {
    std::string out = "<w:r>";
    if (!rPr.empty()) out += "<w:rPr>" + std::string(rPr) + "</w:rPr>";
    out += runText(text) + "</w:r>";
    return out;
}

std::string paragraph(std::string_view style, std::string_view text, std::string_view extraPPr = {},
                      std::string_view rPr = {}) {
    std::string out = "<w:p><w:pPr><w:pStyle w:val=\"" + std::string(style) + "\"/>";
    out += std::string(extraPPr) + "</w:pPr>";
    if (!text.empty()) out += run(text, rPr);
    out += "</w:p>";
    return out;
}

std::string halfPoints(int value) {
    return "<w:sz w:val=\"" + std::to_string(value) + "\"/><w:szCs w:val=\"" +
           std::to_string(value) + "\"/>";
}

// ---------------------------------------------------------------------------------------------
// Tables

struct TableLayout {
    std::vector<int> widths;  // twips per column
    int fontHalfPoints = kBodyHalfPoints;
    int padding = kCellPadding;  // left and right of every cell's text
};

// Columns as wide as their longest cell at the table's face. A table that would pass the right
// margin gives up width where it has most: the widest columns are cut to one common width (and
// wrap), so that the narrow ones (symbols, units, numbers) keep every word on one line.
TableLayout layoutTable(const std::vector<std::vector<std::string>>& rows, std::size_t columns,
                        int fontHalfPoints, int room) {
    TableLayout layout;
    layout.fontHalfPoints = fontHalfPoints;
    layout.padding = fontHalfPoints == kBodyHalfPoints ? kCellPadding : kWideCellPadding;
    const double twipsPerEm = fontHalfPoints * 10.0;
    std::vector<double> widths(columns, 0.0);
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size() && c < columns; ++c) {
            widths[c] = std::max(widths[c], textEms(row[c]) * twipsPerEm);
        }
    }
    double total = 0.0;
    for (double& w : widths) {
        w = std::max(w, 2.0 * twipsPerEm) + 2.0 * layout.padding + 60.0;
        total += w;
    }
    if (total > room) {
        // The common width c with sum(min(w, c)) = room, found from the narrowest column up.
        std::vector<double> sorted = widths;
        std::sort(sorted.begin(), sorted.end());
        double left = room;
        double cap = 0.0;
        for (std::size_t i = 0; i < sorted.size(); ++i) {
            cap = left / static_cast<double>(sorted.size() - i);
            if (sorted[i] > cap) break;
            left -= sorted[i];
        }
        for (double& w : widths) w = std::min(w, cap);
    }
    for (const double w : widths) layout.widths.push_back(static_cast<int>(std::floor(w)));
    return layout;
}

std::string tableProperties(const TableLayout& layout, bool centred) {
    int total = 0;
    for (const int w : layout.widths) total += w;
    std::string out = "<w:tblPr><w:tblStyle w:val=\"TableGrid\"/>";
    out += "<w:tblW w:w=\"" + std::to_string(total) + "\" w:type=\"dxa\"/>";
    if (centred) out += "<w:jc w:val=\"center\"/>";
    out += "<w:tblLayout w:type=\"fixed\"/>";
    if (layout.padding != kCellPadding) {
        const std::string margin = std::to_string(layout.padding);
        out += "<w:tblCellMar><w:left w:w=\"" + margin + "\" w:type=\"dxa\"/><w:right w:w=\"" +
               margin + "\" w:type=\"dxa\"/></w:tblCellMar>";
    }
    out += "<w:tblLook w:val=\"0000\"/></w:tblPr><w:tblGrid>";
    for (const int w : layout.widths) out += "<w:gridCol w:w=\"" + std::to_string(w) + "\"/>";
    out += "</w:tblGrid>";
    return out;
}

// One row; a header row repeats on every page the table reaches. No row is split across pages.
std::string tableRow(const std::vector<std::string>& cells, const TableLayout& layout, bool header,
                     bool keepWithNext, std::string_view rowHeight = {}) {
    std::string out = "<w:tr><w:trPr><w:cantSplit/>";
    out += std::string(rowHeight);
    if (header) out += "<w:tblHeader/>";
    out += "</w:trPr>";
    const std::string size = layout.fontHalfPoints == kBodyHalfPoints
                                 ? std::string()
                                 : halfPoints(layout.fontHalfPoints);
    for (std::size_t c = 0; c < layout.widths.size(); ++c) {
        out += "<w:tc><w:tcPr><w:tcW w:w=\"" + std::to_string(layout.widths[c]) +
               "\" w:type=\"dxa\"/>";
        if (header) out += "<w:shd w:val=\"clear\" w:color=\"auto\" w:fill=\"EEEEEE\"/>";
        out += "</w:tcPr>";
        const std::string text = c < cells.size() ? cells[c] : std::string();
        out += paragraph("TableText", text, keepWithNext ? "<w:keepNext/>" : "",
                         header ? "<w:b/><w:bCs/>" + size : size);
        out += "</w:tc>";
    }
    out += "</w:tr>";
    return out;
}

std::string table(const BookTable& t) {
    const std::size_t columns =
        std::max(t.header.size(), t.rows.empty() ? std::size_t{0} : t.rows.front().size());
    if (columns == 0 || (t.header.empty() && t.rows.empty())) return {};
    std::vector<std::vector<std::string>> all;
    if (!t.header.empty()) all.push_back(t.header);
    all.insert(all.end(), t.rows.begin(), t.rows.end());
    const int size = columns >= kWideTableColumns ? kWideHalfPoints : kBodyHalfPoints;
    const TableLayout layout = layoutTable(all, columns, size, kTextWidth);
    std::string out = "<w:tbl>" + tableProperties(layout, false);
    if (!t.header.empty()) out += tableRow(t.header, layout, true, true);
    for (std::size_t r = 0; r < t.rows.size(); ++r) {
        // A short table stays on one page; a long one keeps at least its first rows with the
        // header.
        const bool keep = t.rows.size() <= 12 ? r + 1 < t.rows.size() : r < 2;
        out += tableRow(t.rows[r], layout, false, keep);
    }
    out += "</w:tbl>";
    return out;
}

// ---------------------------------------------------------------------------------------------
// Pictures: one group of Word drawing shapes per picture, inline in a centred paragraph, each
// shape at its place in millimetres (1 mm = 36000 EMU).

std::string emu(double mm) {
    return std::to_string(std::llround(mm * 36000.0));
}

std::string colour(const std::string& hash) {
    std::string hex = hash.size() == 7 && hash[0] == '#' ? hash.substr(1) : "000000";
    for (char& c : hex) {
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return "000000";
    }
    return hex;
}

std::string solidFill(const std::string& hash) {
    return "<a:solidFill><a:srgbClr val=\"" + colour(hash) + "\"/></a:solidFill>";
}

std::string fillAndLine(const std::string& stroke, const std::string& fill, double width,
                        bool dashed) {
    std::string out = fill.empty() ? "<a:noFill/>" : solidFill(fill);
    if (stroke.empty() || width <= 0.0) {
        out += "<a:ln><a:noFill/></a:ln>";
    } else {
        out += "<a:ln w=\"" + emu(width) + "\">" + solidFill(stroke);
        if (dashed) out += "<a:prstDash val=\"dash\"/>";
        out += "</a:ln>";
    }
    return out;
}

std::string transform(double x, double y, double w, double h) {
    // Word refuses nothing of zero size, but LibreOffice drops it: a line along an axis keeps one
    // EMU of thickness.
    const auto size = [](double mm) { return std::max<long long>(std::llround(mm * 36000.0), 1); };
    return "<a:xfrm><a:off x=\"" + emu(x) + "\" y=\"" + emu(y) + "\"/><a:ext cx=\"" +
           std::to_string(size(w)) + "\" cy=\"" + std::to_string(size(h)) + "\"/></a:xfrm>";
}

std::string shape(std::string_view spPr, std::string_view body = {}) {
    std::string out = "<wps:wsp><wps:cNvSpPr/><wps:spPr>" + std::string(spPr) + "</wps:spPr>";
    out += body.empty() ? "<wps:bodyPr/>" : std::string(body);
    out += "</wps:wsp>";
    return out;
}

// A path through points (x0, y0, x1, y1, ...) in millimetres, as a shape of its own geometry.
std::string pathShape(const std::vector<double>& points, bool closed, const std::string& stroke,
                      const std::string& fill, double width, bool dashed) {
    if (points.size() < 4) return {};
    double minX = points[0], maxX = points[0], minY = points[1], maxY = points[1];
    for (std::size_t i = 0; i + 1 < points.size(); i += 2) {
        minX = std::min(minX, points[i]);
        maxX = std::max(maxX, points[i]);
        minY = std::min(minY, points[i + 1]);
        maxY = std::max(maxY, points[i + 1]);
    }
    const auto size = [](double mm) { return std::max<long long>(std::llround(mm * 36000.0), 1); };
    const std::string w = std::to_string(size(maxX - minX));
    const std::string h = std::to_string(size(maxY - minY));
    std::string path = "<a:path w=\"" + w + "\" h=\"" + h + "\"";
    if (fill.empty()) path += " fill=\"none\"";
    path += ">";
    for (std::size_t i = 0; i + 1 < points.size(); i += 2) {
        path += i == 0 ? "<a:moveTo>" : "<a:lnTo>";
        path +=
            "<a:pt x=\"" + emu(points[i] - minX) + "\" y=\"" + emu(points[i + 1] - minY) + "\"/>";
        path += i == 0 ? "</a:moveTo>" : "</a:lnTo>";
    }
    if (closed) path += "<a:close/>";
    path += "</a:path>";
    const std::string spPr = transform(minX, minY, maxX - minX, maxY - minY) +
                             "<a:custGeom><a:avLst/><a:gdLst/><a:ahLst/><a:cxnLst/>"
                             "<a:rect l=\"0\" t=\"0\" r=\"r\" b=\"b\"/><a:pathLst>" +
                             path + "</a:pathLst></a:custGeom>" +
                             fillAndLine(stroke, fill, width, dashed);
    return shape(spPr);
}

std::string presetShape(std::string_view preset, double x, double y, double w, double h,
                        const std::string& stroke, const std::string& fill, double width) {
    return shape(transform(x, y, w, h) + "<a:prstGeom prst=\"" + std::string(preset) +
                 "\"><a:avLst/></a:prstGeom>" + fillAndLine(stroke, fill, width, false));
}

// A label as a text box without margins whose one line puts its baseline at (x, y): the line
// is exactly 1.2 character heights high and the baseline sits about 0.95 of a height below its
// top. The box is wider than the text, aligned as the anchor asks.
std::string textShape(const PictureText& t) {
    const double size = t.size > 0.0 ? t.size : 3.0;
    const double width = textEms(t.text) * size + 2.0;
    const double height = 1.2 * size;
    double left = t.x;
    std::string jc = "left";
    if (t.anchor == TextAnchor::Middle) {
        left = t.x - width / 2.0;
        jc = "center";
    } else if (t.anchor == TextAnchor::End) {
        left = t.x - width;
        jc = "right";
    }
    const double top = t.y - 0.95 * size;
    const long long halfPoints = std::max<long long>(std::llround(size / 25.4 * 72.0 * 2.0), 2);
    const long long line = std::llround(height / 25.4 * 1440.0);
    const std::string spPr = transform(left, top, width, height) +
                             "<a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom><a:noFill/>"
                             "<a:ln><a:noFill/></a:ln>";
    std::string body =
        "<wps:txbx><w:txbxContent><w:p><w:pPr><w:spacing w:before=\"0\" "
        "w:after=\"0\" w:line=\"" +
        std::to_string(line) + "\" w:lineRule=\"exact\"/><w:jc w:val=\"" + jc + "\"/></w:pPr>";
    body += run(t.text, "<w:color w:val=\"" + colour(t.colour) + "\"/><w:sz w:val=\"" +
                            std::to_string(halfPoints) + "\"/><w:szCs w:val=\"" +
                            std::to_string(halfPoints) + "\"/>");
    body +=
        "</w:p></w:txbxContent></wps:txbx>"
        "<wps:bodyPr rot=\"0\" vert=\"horz\" wrap=\"none\" lIns=\"0\" tIns=\"0\" rIns=\"0\" "
        "bIns=\"0\" anchor=\"t\" anchorCtr=\"0\"><a:noAutofit/></wps:bodyPr>";
    std::string out = "<wps:wsp><wps:cNvSpPr txBox=\"1\"/><wps:spPr>" + spPr + "</wps:spPr>";
    out += body + "</wps:wsp>";
    return out;
}

struct ShapeWriter {
    std::string& out;

    void operator()(const PictureLine& s) const {
        out += pathShape({s.x1, s.y1, s.x2, s.y2}, false, s.stroke, {}, s.width, s.dashed);
    }
    void operator()(const PictureRect& s) const {
        out += presetShape("rect", s.x, s.y, s.w, s.h, s.stroke, s.fill, s.width);
    }
    void operator()(const PictureCircle& s) const {
        out += presetShape("ellipse", s.cx - s.r, s.cy - s.r, 2.0 * s.r, 2.0 * s.r, s.stroke,
                           s.fill, s.width);
    }
    void operator()(const PicturePolyline& s) const {
        out += pathShape(s.points, s.closed, s.stroke, s.fill, s.width, false);
    }
    void operator()(const PictureText& s) const {
        if (!s.text.empty()) out += textShape(s);
    }
};

// Every drawing object of the document has an id of its own: the pictures count from 1, their
// shapes on from `shapeIds`.
std::string drawing(const BookPicture& picture, int id, int& shapeIds) {
    const std::string cx = emu(picture.width), cy = emu(picture.height);
    std::string out =
        "<w:r><w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\">"
        "<wp:extent cx=\"" +
        cx + "\" cy=\"" + cy +
        "\"/><wp:effectExtent l=\"0\" t=\"0\" r=\"0\" b=\"0\"/>"
        "<wp:docPr id=\"" +
        std::to_string(id) + "\" name=\"图 " + std::to_string(id) + "\" descr=\"" +
        xmlEscape(picture.caption) +
        "\"/><wp:cNvGraphicFramePr/>"
        "<a:graphic><a:graphicData "
        "uri=\"http://schemas.microsoft.com/office/word/2010/wordprocessingGroup\">"
        "<wpg:wgp><wpg:cNvGrpSpPr/><wpg:grpSpPr><a:xfrm><a:off x=\"0\" y=\"0\"/>"
        "<a:ext cx=\"" +
        cx + "\" cy=\"" + cy + "\"/><a:chOff x=\"0\" y=\"0\"/><a:chExt cx=\"" + cx + "\" cy=\"" +
        cy + "\"/></a:xfrm></wpg:grpSpPr>";
    // The frame of the group: an invisible rectangle over the whole picture, so that the group
    // has the picture's size in every reader whatever its shapes reach.
    out += presetShape("rect", 0.0, 0.0, picture.width, picture.height, {}, {}, 0.0);
    const ShapeWriter shapes{out};
    for (const PictureShape& s : picture.shapes) std::visit(shapes, s);
    out += "</wpg:wgp></a:graphicData></a:graphic></wp:inline></w:drawing></w:r>";
    // Each shape named and numbered, as Word names the shapes of a group it writes.
    const std::string start = "<wps:wsp><wps:cNvSpPr";
    for (std::size_t at = out.find(start); at != std::string::npos;
         at = out.find(start, at + start.size())) {
        const std::string number = std::to_string(++shapeIds);
        std::string name = "<wps:cNvPr id=\"";
        name += number;
        name += "\" name=\"形状 ";
        name += number;
        name += "\"/>";
        out.insert(at + std::string_view("<wps:wsp>").size(), name);
        at += name.size();
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// The body

struct BodyWriter {
    std::string& out;
    bool& pageBreak;  // the first block after the title page starts a new page
    int& pictures;
    int& shapeIds;

    // pPr to add to the next paragraph: the page break after the title page, once.
    std::string breakBefore() const {
        if (!pageBreak) return {};
        pageBreak = false;
        return "<w:pageBreakBefore/>";
    }
    void breakParagraph() const {
        if (pageBreak) out += paragraph("Normal", {}, breakBefore());
    }

    void operator()(const BookHeading& b) const {
        const int level = std::clamp(b.level, 1, 3);
        out += paragraph("Heading" + std::to_string(level), b.text, breakBefore());
    }
    void operator()(const BookParagraph& b) const {
        // A paragraph that ends in a colon introduces what follows and stays on its page.
        const bool introduces = b.text.ends_with("：") || b.text.ends_with(":");
        out +=
            paragraph("Normal", b.text,
                      (introduces ? std::string("<w:keepNext/>") : std::string()) + breakBefore());
    }
    void operator()(const BookFormula& b) const {
        // A formula without a label is its line alone.
        if (!b.label.empty()) out += paragraph("FormulaLabel", b.label, breakBefore());
        std::string math = b.formula;
        if (!b.substituted.empty()) math += " = " + b.substituted;
        math += " = " + b.result;
        out += paragraph("Formula", math, b.label.empty() ? breakBefore() : std::string());
    }
    void operator()(const BookTable& b) const {
        const std::string xml = table(b);
        if (xml.empty()) return;
        breakParagraph();
        out += xml;
    }
    void operator()(const BookPicture& b) const {
        ++pictures;
        // keepNext comes before pageBreakBefore in a paragraph's properties.
        std::string pPr = b.caption.empty() ? "<w:keepNext w:val=\"0\"/>" : "";
        pPr += breakBefore();
        out += "<w:p><w:pPr><w:pStyle w:val=\"Figure\"/>" + pPr + "</w:pPr>" +
               drawing(b, pictures, shapeIds) + "</w:p>";
        if (!b.caption.empty()) out += paragraph("Caption", b.caption);
    }
};

// The title page: the title, the cover table, 设计依据 and the signature block.
std::string titlePage(const Book& book) {
    const BookCover& c = book.cover;
    std::string out = paragraph("Title", book.title);
    std::vector<std::vector<std::string>> rows;
    for (const auto& [label, value] : coverRows(c)) rows.push_back({label, value});
    TableLayout layout = layoutTable(rows, 2, kBodyHalfPoints, kTextWidth);
    // The labels' column as wide as its longest label, the values filling 130 mm in all.
    const int total = 7370;
    layout.widths[1] = std::max(layout.widths[1], total - layout.widths[0]);
    out += "<w:tbl>" + tableProperties(layout, true);
    const std::string height = "<w:trHeight w:val=\"454\"/>";
    for (const auto& row : rows) {
        out += "<w:tr><w:trPr><w:cantSplit/>" + height + "</w:trPr>";
        for (std::size_t col = 0; col < 2; ++col) {
            out += "<w:tc><w:tcPr><w:tcW w:w=\"" + std::to_string(layout.widths[col]) +
                   "\" w:type=\"dxa\"/>";
            if (col == 0) out += "<w:shd w:val=\"clear\" w:color=\"auto\" w:fill=\"EEEEEE\"/>";
            out += "<w:vAlign w:val=\"center\"/></w:tcPr>";
            out += paragraph("TableText", row[col], "<w:keepNext/>", col == 0 ? "<w:b/>" : "");
            out += "</w:tc>";
        }
        out += "</w:tr>";
    }
    out += "</w:tbl>";
    out += paragraph("CoverHeading", "设计依据");
    int n = 0;
    for (const std::string& code : c.designBasis) {
        out += paragraph("CoverItem", std::to_string(++n) + ".\t" + code);
    }
    out += paragraph("Normal", {}, "<w:spacing w:before=\"240\" w:after=\"0\"/>");
    // 职责 / 姓名 / 签字 / 日期, with room to sign by hand.
    const TableLayout sign{{1300, 2300, 2300, 1470}, kBodyHalfPoints, kCellPadding};
    out += "<w:tbl>" + tableProperties(sign, true);
    const std::string signHeight = "<w:trHeight w:val=\"567\"/>";
    out += tableRow({"职责", "姓名", "签字", "日期"}, sign, true, true);
    for (const auto& [role, name] : signatureRows(c)) {
        out += tableRow({role, name, "", ""}, sign, false, true, signHeight);
    }
    out += "</w:tbl>";
    return out;
}

std::string sectionProperties() {
    return "<w:sectPr><w:headerReference w:type=\"default\" r:id=\"rId4\"/>"
           "<w:footerReference w:type=\"default\" r:id=\"rId5\"/>"
           "<w:pgSz w:w=\"" +
           std::to_string(kPageWidth) + "\" w:h=\"" + std::to_string(kPageHeight) +
           "\"/><w:pgMar w:top=\"" + std::to_string(kMarginTop) + "\" w:right=\"" +
           std::to_string(kMarginSide) + "\" w:bottom=\"" + std::to_string(kMarginBottom) +
           "\" w:left=\"" + std::to_string(kMarginSide) +
           "\" w:header=\"567\" w:footer=\"567\" w:gutter=\"0\"/>"
           "<w:cols w:space=\"425\"/></w:sectPr>";
}

std::string document(const Book& book) {
    std::string out(kXmlDeclaration);
    out.reserve(std::size_t{256} * 1024);
    out += "<w:document" + rootAttributes() + "><w:body>";
    out += titlePage(book);
    bool pageBreak = true;
    int pictures = 0;
    int shapeIds = 1000;
    const BodyWriter blocks{out, pageBreak, pictures, shapeIds};
    for (const BookBlock& block : book.blocks) std::visit(blocks, block);
    if (pageBreak) out += paragraph("Normal", {}, blocks.breakBefore());
    // Word wants a paragraph between a last table and the section's end.
    if (!book.blocks.empty() && std::holds_alternative<BookTable>(book.blocks.back())) {
        out += paragraph("Normal", {}, "<w:spacing w:after=\"0\"/>");
    }
    out += sectionProperties() + "</w:body></w:document>";
    return out;
}

// Every page's header: the project and the column.
std::string header(const Book& book) {
    std::string out(kXmlDeclaration);
    out += "<w:hdr" + rootAttributes() + ">" + paragraph("Header", runningHeader(book.cover)) +
           "</w:hdr>";
    return out;
}

// A field Word and LibreOffice compute when they lay out the page, "1" until then.
std::string field(std::string_view instruction) {
    return "<w:fldSimple w:instr=\" " + std::string(instruction) +
           " \\* MERGEFORMAT \"><w:r><w:t>1</w:t></w:r></w:fldSimple>";
}

// Every page's footer: "第 X 页 共 Y 页" (book_cover's pageFooter with the numbers as fields).
std::string footer() {
    std::string out(kXmlDeclaration);
    out += "<w:ftr" + rootAttributes() + "><w:p><w:pPr><w:pStyle w:val=\"Footer\"/></w:pPr>";
    out += run("第 ") + field("PAGE") + run(" 页 共 ") + field("NUMPAGES") + run(" 页");
    out += "</w:p></w:ftr>";
    return out;
}

}  // namespace

std::string xmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto [c, length] = decodeUtf8(text, i);
        i += length;
        switch (c) {
            case U'&':
                out += "&amp;";
                break;
            case U'<':
                out += "&lt;";
                break;
            case U'>':
                out += "&gt;";
                break;
            case U'"':
                out += "&quot;";
                break;
            case U'\t':
            case U'\n':
            case U'\r':
                out += static_cast<char>(c);
                break;
            default:
                if (c < 0x20U) break;  // no XML 1.0 document can hold it
                appendUtf8(out, c == 0xFFFEU || c == 0xFFFFU ? char32_t{0xFFFDU} : c);
        }
    }
    return out;
}

std::vector<std::pair<std::string, std::string>> bookDocxParts(const Book& book) {
    return {{"[Content_Types].xml", contentTypes()},
            {"_rels/.rels", packageRelationships()},
            {"docProps/core.xml", coreProperties(book)},
            {"docProps/app.xml", appProperties(book)},
            {"word/_rels/document.xml.rels", documentRelationships()},
            {"word/document.xml", document(book)},
            {"word/styles.xml", styles()},
            {"word/settings.xml", settings()},
            {"word/fontTable.xml", fontTable()},
            {"word/header1.xml", header(book)},
            {"word/footer1.xml", footer()}};
}

std::string renderBookDocx(const Book& book) {
    ZipArchive archive;
    for (auto& [name, xml] : bookDocxParts(book)) archive.add(std::move(name), xml);
    return archive.bytes();
}

}  // namespace tessarin
