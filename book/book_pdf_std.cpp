#include "book/book_pdf_std.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <functional>
#include <utility>
#include <variant>

#include "book/book_cover.h"

namespace tessarin {

namespace {

// ---------------------------------------------------------------------------------------------
// Characters

// One character of UTF-8 text: its code point and where its bytes are.
struct Glyph {
    char32_t code = 0;
    std::size_t begin = 0;
    std::size_t end = 0;
};

std::vector<Glyph> decode(std::string_view text) {
    std::vector<Glyph> glyphs;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        int length = 1;
        char32_t code = byte;
        if (byte >= 0xF0 && byte < 0xF8) {
            length = 4;
            code = byte & 0x07U;
        } else if (byte >= 0xE0) {
            length = 3;
            code = byte & 0x0FU;
        } else if (byte >= 0xC2 && byte < 0xE0) {
            length = 2;
            code = byte & 0x1FU;
        }
        bool valid = byte < 0x80 || length > 1;
        if (valid && length > 1) {
            if (i + static_cast<std::size_t>(length) > text.size()) valid = false;
            for (int k = 1; valid && k < length; ++k) {
                const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
                if ((next & 0xC0U) != 0x80U) valid = false;
                code = (code << 6U) | (next & 0x3FU);
            }
            if (valid && (code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))) valid = false;
        }
        if (!valid) {
            // A byte that is not UTF-8 prints as the replacement character.
            glyphs.push_back({U'\uFFFD', i, i + 1});
            ++i;
            continue;
        }
        glyphs.push_back({code, i, i + static_cast<std::size_t>(length)});
        i += static_cast<std::size_t>(length);
    }
    return glyphs;
}

// A character Adobe-GB1 has no glyph for, drawn as one it has: the superscript and subscript
// digits and signs of the units and formulas (mm², 10⁻⁵, ε₀) as the plain ones, smaller and
// raised or lowered, and the minus sign as the full-width one of GB 2312. The PDF says what they
// stand for (ActualText), so that a copy still gives the character of the book.
struct Stand {
    char32_t glyph = 0;  // 0: the character is drawn as it is
    double scale = 1.0;  // of the face's size
    double rise = 0.0;   // of the face's size, up
};
Stand standInFor(char32_t code) {
    constexpr double kSmall = 0.6;
    switch (code) {
        case U'\u00B2':
            return {U'2', kSmall, 0.4};
        case U'\u00B3':
            return {U'3', kSmall, 0.4};
        case U'\u00B9':
            return {U'1', kSmall, 0.4};
        case U'\u2070':
            return {U'0', kSmall, 0.4};
        case U'\u207A':
            return {U'+', kSmall, 0.4};
        case U'\u207B':
            return {U'-', kSmall, 0.4};
        case U'\u2212':
            return {U'\uFF0D', 1.0, 0.0};
        default:
            break;
    }
    if (code >= 0x2074 && code <= 0x2079) return {U'4' + (code - 0x2074), kSmall, 0.4};
    if (code >= 0x2080 && code <= 0x2089) return {U'0' + (code - 0x2080), kSmall, -0.15};
    return {};
}

// The face's advance of a character, 1/1000 em. UniGB-UTF16-H takes U+0020..U+007E to the
// proportional Latin CIDs 1..95, which the font's /W sets at 500; every other character goes
// to a full-width CID of the default width 1000.
double advanceOf(char32_t code) {
    const Stand stand = standInFor(code);
    if (stand.glyph != 0) return advanceOf(stand.glyph) * stand.scale;
    return code >= 0x20 && code <= 0x7E ? 500.0 : 1000.0;
}

// Where CJK text may break: ideographs, kana, hangul, the CJK and full-width marks.
bool breaksAnywhere(char32_t code) {
    return (code >= 0x2E80 && code <= 0x9FFF) || (code >= 0xAC00 && code <= 0xD7AF) ||
           (code >= 0xF900 && code <= 0xFAFF) || (code >= 0xFE30 && code <= 0xFE4F) ||
           (code >= 0xFF00 && code <= 0xFFEF) || (code >= 0x20000 && code <= 0x3FFFF);
}
// No line starts with these...
bool closing(char32_t code) {
    constexpr std::u32string_view kClosing = U"，。、；：？！）》」』】〕〉”’…·％,.;:?!)]}%";
    return kClosing.find(code) != std::u32string_view::npos;
}
// ...and none ends with these.
bool opening(char32_t code) {
    constexpr std::u32string_view kOpening = U"（《「『【〔〈“‘([{";
    return kOpening.find(code) != std::u32string_view::npos;
}

// Where a formula is broken: before one of these, so that the continued line starts with it.
constexpr std::u32string_view kOperators = U"=+−-×/·<>≤≥≈";

void appendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0U | (code >> 6U));
        out += static_cast<char>(0x80U | (code & 0x3FU));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0U | (code >> 12U));
        out += static_cast<char>(0x80U | ((code >> 6U) & 0x3FU));
        out += static_cast<char>(0x80U | (code & 0x3FU));
    } else {
        out += static_cast<char>(0xF0U | (code >> 18U));
        out += static_cast<char>(0x80U | ((code >> 12U) & 0x3FU));
        out += static_cast<char>(0x80U | ((code >> 6U) & 0x3FU));
        out += static_cast<char>(0x80U | (code & 0x3FU));
    }
}

// UTF-16BE as hex digits: the bytes of a PDF string in the UniGB-UTF16-H encoding.
std::string utf16Hex(std::string_view text) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    const auto unit = [&hex](std::uint32_t value) {
        for (int shift = 12; shift >= 0; shift -= 4) hex += kDigits[(value >> shift) & 0xFU];
    };
    for (const Glyph& g : decode(text)) {
        if (g.code >= 0x10000) {
            const std::uint32_t v = g.code - 0x10000;
            unit(0xD800U + (v >> 10U));
            unit(0xDC00U + (v & 0x3FFU));
        } else {
            unit(g.code);
        }
    }
    return hex;
}

// ---------------------------------------------------------------------------------------------
// Page geometry, in points (1/72 in) from the top left of the page

constexpr double kMm = 72.0 / 25.4;
constexpr double kPageWidth = 210.0 * kMm;
constexpr double kPageHeight = 297.0 * kMm;
constexpr double kSideMargin = 20.0 * kMm;
constexpr double kTopMargin = 25.0 * kMm;
constexpr double kBottomMargin = 22.0 * kMm;
constexpr double kTextWidth = kPageWidth - 2.0 * kSideMargin;
constexpr double kTextHeight = kPageHeight - kTopMargin - kBottomMargin;

// A line of text is 1.3 em high with its baseline 1.04 em below its top: the Song face's ascent
// of 0.88 em under half of the leading.
constexpr double kLineHeight = 1.3;
constexpr double kBaseline = 1.04;

// A number as a PDF operand: fixed point, at most three decimals, never in the locale's form.
std::string num(double value) {
    if (!std::isfinite(value)) return "0";
    std::array<char, 64> buffer{};
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                      std::round(value * 1000.0) / 1000.0, std::chars_format::fixed, 3);
    if (error != std::errc()) return "0";
    std::string text(buffer.data(), end);
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    if (text == "-0" || text.empty()) return "0";
    return text;
}

struct Colour {
    double r = 0, g = 0, b = 0;
};
bool parseColour(const std::string& text, Colour& colour) {
    if (text.size() != 7 || text[0] != '#') return false;
    std::array<double, 3> parts{};
    for (std::size_t i = 0; i < 3; ++i) {
        unsigned value = 0;
        const char* first = text.data() + 1 + 2 * i;
        const auto [end, error] = std::from_chars(first, first + 2, value, 16);
        if (error != std::errc() || end != first + 2) return false;
        parts[i] = value / 255.0;
    }
    colour = {parts[0], parts[1], parts[2]};
    return true;
}
std::string fillColour(const Colour& c) {
    return num(c.r) + ' ' + num(c.g) + ' ' + num(c.b) + " rg\n";
}
std::string strokeColour(const Colour& c) {
    return num(c.r) + ' ' + num(c.g) + ' ' + num(c.b) + " RG\n";
}

// Page y (down from the top) as PDF y (up from the bottom).
double pdfY(double y) {
    return kPageHeight - y;
}

// Text with its baseline at (x, y) of the page; bold as the Song face's outline drawn over it
// (the standard face has no bold of its own).
std::string textOp(std::string_view text, double x, double y, double size, bool bold = false,
                   const Colour& colour = {}) {
    if (text.empty()) return {};
    std::string op = "BT\n" + fillColour(colour);
    // The rendering mode is part of the graphics state and outlives ET: set it every time.
    op += bold ? strokeColour(colour) + "2 Tr " + num(size * 0.035) + " w\n" : "0 Tr\n";
    op += "/F1 " + num(size) + " Tf\n" + num(x) + ' ' + num(pdfY(y)) + " Td\n";
    // Runs of characters drawn as they are, and each stand-in on its own.
    std::size_t from = 0;
    const auto flush = [&](std::size_t to) {
        if (to > from) op += "<" + utf16Hex(text.substr(from, to - from)) + "> Tj\n";
    };
    for (const Glyph& g : decode(text)) {
        const Stand stand = standInFor(g.code);
        if (stand.glyph == 0) continue;
        flush(g.begin);
        std::string glyph;
        appendUtf8(glyph, stand.glyph);
        const bool resized = stand.scale != 1.0 || stand.rise != 0.0;
        if (resized) {
            op += "/F1 " + num(size * stand.scale) + " Tf " + num(size * stand.rise) + " Ts\n";
        }
        op += "/Span << /ActualText <FEFF" + utf16Hex(text.substr(g.begin, g.end - g.begin)) +
              "> >> BDC <" + utf16Hex(glyph) + "> Tj EMC\n";
        if (resized) op += "/F1 " + num(size) + " Tf 0 Ts\n";
        from = g.end;
    }
    flush(text.size());
    return op + "ET\n";
}

double widthOf(std::string_view text, double size) {
    return textWidthPerMille(text) * size / 1000.0;
}

// ---------------------------------------------------------------------------------------------
// The flow: the book as chunks of the height they take, placed on pages

// What a chunk draws, given the page y of its top.
using Draw = std::function<std::string(double top)>;

struct Chunk {
    double before = 0;  // space above, left out at the top of a page
    double after = 0;   // space below
    double height = 0;
    Draw draw;
    bool keepWithNext = false;  // on the page of the chunk after it
    bool pageBreakBefore = false;
    int header = -1;  // a table row: the chunk of its table's header row, repeated on a new page
};

// The lines of a text of one face, left aligned at x (or centred in [x, x + width]).
Chunk textChunk(std::string_view text, double x, double width, double size, bool bold,
                bool centred = false) {
    Chunk chunk;
    auto lines = breakLines(text, size, width);
    chunk.height = static_cast<double>(lines.size()) * kLineHeight * size;
    chunk.draw = [lines = std::move(lines), x, width, size, bold, centred](double top) {
        std::string ops;
        double y = top + kBaseline * size;
        for (const std::string& line : lines) {
            const double left = centred ? x + (width - widthOf(line, size)) / 2.0 : x;
            ops += textOp(line, left, y, size, bold);
            y += kLineHeight * size;
        }
        return ops;
    };
    return chunk;
}

// A table: columns sized by their contents within the width available, every cell bordered,
// text wrapped within its cell.
struct TableStyle {
    double size = 9.5;
    double padding = 2.0;
    double border = 0.375;
    Colour borderColour{0x70 / 255.0, 0x70 / 255.0, 0x70 / 255.0};
    double width = 0;  // the table's width; 0: as its contents need, at most maxWidth
    double maxWidth = kTextWidth;
    double left = kSideMargin;
    bool centred = false;
    bool boldFirstColumn = false;
};

// Column widths: each column as wide as its longest line where they all fit, otherwise each its
// longest word and the rest shared by what the columns would like more.
std::vector<double> columnWidths(const std::vector<std::vector<std::string>>& rows,
                                 std::size_t columns, const TableStyle& style) {
    std::vector<double> natural(columns, 2.0 * style.padding);
    std::vector<double> least(columns, 2.0 * style.padding);
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < columns && c < row.size(); ++c) {
            const double size = style.size;
            natural[c] = std::max(natural[c], widthOf(row[c], size) * 1.0 + 2.0 * style.padding);
            // The longest piece that cannot break: a Latin word, or one ideograph.
            double word = 0;
            for (const Glyph& g : decode(row[c])) {
                if (g.code == U' ' || breaksAnywhere(g.code)) {
                    word = breaksAnywhere(g.code) ? 1000.0 * size / 1000.0 : 0.0;
                } else {
                    word += advanceOf(g.code) * size / 1000.0;
                }
                least[c] = std::max(least[c], word + 2.0 * style.padding);
            }
        }
    }
    double sumNatural = 0;
    double sumLeast = 0;
    for (std::size_t c = 0; c < columns; ++c) {
        natural[c] += 1.0;  // a hair of room, so that a line that fits is never broken
        least[c] += 1.0;
        sumNatural += natural[c];
        sumLeast += least[c];
    }
    const double target = style.width > 0 ? style.width : std::min(sumNatural, style.maxWidth);
    std::vector<double> widths(columns);
    if (sumNatural <= target) {
        // Room to spare (a table of a fixed width): shared by the natural widths.
        for (std::size_t c = 0; c < columns; ++c) widths[c] = natural[c] * target / sumNatural;
        return widths;
    }
    if (sumLeast >= target) {
        for (std::size_t c = 0; c < columns; ++c) widths[c] = least[c] * target / sumLeast;
        return widths;
    }
    // Too narrow for every line: a column whose longest line is no wider than an even share of
    // the table (a label) or than its share would be gets just that; the others share the rest
    // by how much more than their longest word they want.
    std::vector<bool> settled(columns, false);
    for (std::size_t c = 0; c < columns; ++c) {
        settled[c] = natural[c] <= target / static_cast<double>(columns);
    }
    for (bool changed = true; changed;) {
        changed = false;
        double room = target, wantLeast = 0, wantMore = 0;
        for (std::size_t c = 0; c < columns; ++c) {
            if (settled[c]) {
                room -= natural[c];
            } else {
                wantLeast += least[c];
                wantMore += natural[c] - least[c];
            }
        }
        const double extra = std::max(0.0, room - wantLeast);
        for (std::size_t c = 0; c < columns; ++c) {
            if (settled[c]) {
                widths[c] = natural[c];
                continue;
            }
            widths[c] = least[c] + (wantMore > 0 ? extra * (natural[c] - least[c]) / wantMore : 0);
            if (widths[c] >= natural[c]) {
                settled[c] = true;
                changed = true;
            }
        }
    }
    return widths;
}

// The chunks of a table, one per row; a header row is shaded, bold, kept with the first row
// and repeated at the top of every page the table goes on to.
void tableChunks(std::vector<Chunk>& out, const std::vector<std::string>& header,
                 const std::vector<std::vector<std::string>>& body, std::size_t columns,
                 const TableStyle& style, double before, double after) {
    std::vector<std::vector<std::string>> all;
    if (!header.empty()) all.push_back(header);
    all.insert(all.end(), body.begin(), body.end());
    if (all.empty() || columns == 0) return;
    const std::vector<double> widths = columnWidths(all, columns, style);
    double total = 0;
    for (const double w : widths) total += w;
    const double left = style.centred ? kSideMargin + (kTextWidth - total) / 2.0 : style.left;
    const int headerIndex = header.empty() ? -1 : static_cast<int>(out.size());
    for (std::size_t r = 0; r < all.size(); ++r) {
        const bool isHeader = !header.empty() && r == 0;
        std::vector<std::vector<std::string>> cells(columns);
        std::vector<bool> bold(columns, isHeader);
        std::size_t lines = 1;
        for (std::size_t c = 0; c < columns; ++c) {
            const std::string text = c < all[r].size() ? all[r][c] : std::string();
            cells[c] = breakLines(text, style.size, widths[c] - 2.0 * style.padding);
            lines = std::max(lines, cells[c].size());
            if (c == 0 && style.boldFirstColumn) bold[c] = true;
        }
        Chunk chunk;
        chunk.height = static_cast<double>(lines) * kLineHeight * style.size + 2.0 * style.padding;
        chunk.before = r == 0 ? before : 0.0;
        chunk.after = r + 1 == all.size() ? after : 0.0;
        chunk.keepWithNext = isHeader;
        chunk.header = isHeader ? -1 : headerIndex;
        chunk.draw = [cells, bold, widths, left, isHeader, style, total,
                      height = chunk.height](double top) {
            std::string ops;
            if (isHeader) {
                ops += "0.933 0.933 0.933 rg\n" + num(left) + ' ' + num(pdfY(top + height)) + ' ' +
                       num(total) + ' ' + num(height) + " re f\n";
            }
            double x = left;
            for (std::size_t c = 0; c < cells.size(); ++c) {
                double y = top + style.padding + kBaseline * style.size;
                for (const std::string& line : cells[c]) {
                    ops += textOp(line, x + style.padding, y, style.size, bold[c]);
                    y += kLineHeight * style.size;
                }
                ops += strokeColour(style.borderColour) + num(style.border) + " w [] 0 d " +
                       num(x) + ' ' + num(pdfY(top + height)) + ' ' + num(widths[c]) + ' ' +
                       num(height) + " re S\n";
                x += widths[c];
            }
            return ops;
        };
        out.push_back(std::move(chunk));
    }
}

// A picture's shapes as PDF paths: millimetres from its top left corner at (left, top) of the
// page.
struct ShapeWriter {
    double left;
    double top;
    std::string& ops;

    double pageX(double x) const { return left + x * kMm; }
    double pageY(double y) const { return pdfY(top + y * kMm); }
    std::string point(double x, double y) const { return num(pageX(x)) + ' ' + num(pageY(y)); }

    // The paint operator for a path with this stroke and fill, after setting their colours.
    std::string paint(const std::string& stroke, double width, const std::string& fill,
                      bool dashed = false) const {
        Colour s, f;
        const bool stroked = parseColour(stroke, s);
        const bool filled = parseColour(fill, f);
        std::string head;
        if (stroked) {
            head += strokeColour(s) + num(width * kMm) + " w ";
            head += dashed ? "[" + num(2.0 * kMm) + ' ' + num(1.0 * kMm) + "] 0 d\n" : "[] 0 d\n";
        }
        if (filled) head += fillColour(f);
        ops += head;
        if (stroked && filled) return "B\n";
        if (filled) return "f\n";
        if (stroked) return "S\n";
        return "n\n";
    }
    void operator()(const PictureLine& s) const {
        const std::string op = paint(s.stroke, s.width, "", s.dashed);
        ops += point(s.x1, s.y1) + " m " + point(s.x2, s.y2) + " l " + op;
    }
    void operator()(const PictureRect& s) const {
        const std::string op = paint(s.stroke, s.width, s.fill);
        ops += num(pageX(s.x)) + ' ' + num(pageY(s.y + s.h)) + ' ' + num(s.w * kMm) + ' ' +
               num(s.h * kMm) + " re " + op;
    }
    void operator()(const PictureCircle& s) const {
        // Four Bézier quarters, each with its control points at 0.5523 r along the tangents.
        const std::string op = paint(s.stroke, s.width, s.fill);
        constexpr double kArc = 0.5522847498;
        const double r = s.r;
        const double cx = s.cx, cy = s.cy;
        std::string path = point(cx + r, cy) + " m\n";
        path += point(cx + r, cy + kArc * r) + ' ' + point(cx + kArc * r, cy + r) + ' ' +
                point(cx, cy + r) + " c\n";
        path += point(cx - kArc * r, cy + r) + ' ' + point(cx - r, cy + kArc * r) + ' ' +
                point(cx - r, cy) + " c\n";
        path += point(cx - r, cy - kArc * r) + ' ' + point(cx - kArc * r, cy - r) + ' ' +
                point(cx, cy - r) + " c\n";
        path += point(cx + kArc * r, cy - r) + ' ' + point(cx + r, cy - kArc * r) + ' ' +
                point(cx + r, cy) + " c h ";
        ops += path + op;
    }
    void operator()(const PicturePolyline& s) const {
        if (s.points.size() < 4) return;
        const std::string op = paint(s.stroke, s.width, s.fill);
        std::string path = point(s.points[0], s.points[1]) + " m";
        for (std::size_t i = 2; i + 1 < s.points.size(); i += 2) {
            path += ' ' + point(s.points[i], s.points[i + 1]) + " l";
        }
        if (s.closed) path += " h";
        ops += path + ' ' + op;
    }
    void operator()(const PictureText& s) const {
        // The character height in millimetres is the face's em.
        const double size = s.size * kMm;
        double x = pageX(s.x);
        const double width = widthOf(s.text, size);
        if (s.anchor == TextAnchor::Middle) x -= width / 2.0;
        if (s.anchor == TextAnchor::End) x -= width;
        Colour colour;
        parseColour(s.colour, colour);
        ops += textOp(s.text, x, top + s.y * kMm, size, false, colour);
    }
};

class FlowBuilder {
  public:
    explicit FlowBuilder(std::vector<Chunk>& chunks) : out_(chunks) {}

    void cover(const std::string& title, const BookCover& c) {
        // The title 110 pt down the first page, then the project's rows, 设计依据 and the
        // signature block; the first chapter starts on a new page.
        // A title too long for one line goes on at its last bracket ("…计算书" over
        // "（GB 50010-2010）"), never inside it.
        std::string shown = title;
        const std::size_t bracket = title.rfind("（");
        if (widthOf(title, 20) > kTextWidth && bracket != std::string::npos && bracket > 0) {
            shown = title.substr(0, bracket);
            shown += '\n';
            shown += title.substr(bracket);
        }
        Chunk titleChunk = textChunk(shown, kSideMargin, kTextWidth, 20, true, true);
        titleChunk.before = 110;
        titleChunk.after = 40;
        const Draw draw = titleChunk.draw;
        titleChunk.draw = [draw](double top) { return draw(top + 110.0); };
        titleChunk.height += 110.0;
        titleChunk.before = 0;
        out_.push_back(std::move(titleChunk));
        TableStyle style;
        style.size = 11;
        style.padding = 4;
        style.borderColour = {0x40 / 255.0, 0x40 / 255.0, 0x40 / 255.0};
        style.width = 0.75 * kTextWidth;
        style.centred = true;
        style.boldFirstColumn = true;
        tableChunks(out_, {}, rowsOf(coverRows(c)), 2, style, 6, 0);
        Chunk basis = textChunk("设计依据", kSideMargin + 60, kTextWidth - 60, 12, true);
        basis.before = 24;
        basis.after = 4;
        basis.keepWithNext = true;
        out_.push_back(std::move(basis));
        int n = 0;
        for (const std::string& code : c.designBasis) {
            Chunk line = textChunk(std::to_string(++n) + ". " + code, kSideMargin + 60,
                                   kTextWidth - 60, 11, false);
            line.before = 1;
            line.after = 1;
            out_.push_back(std::move(line));
        }
        style.boldFirstColumn = false;
        tableChunks(out_, {"职责", "姓名", "签字", "日期"}, rowsOf(signatureRows(c)), 4, style,
                    24 + 6, 0);
        breakNext_ = true;
    }

    void operator()(const BookHeading& h) {
        Chunk chunk = textChunk(h.text, kSideMargin, kTextWidth, h.level <= 1 ? 13 : 11.5, true);
        chunk.before = h.level <= 1 ? 12 : 8;
        chunk.after = 4;
        chunk.keepWithNext = true;
        push(std::move(chunk));
    }
    void operator()(const BookParagraph& p) {
        // Line by line, so that a paragraph may go on to the next page.
        const std::vector<std::string> lines = breakLines(p.text, 10.5, kTextWidth);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            Chunk line = textChunk(lines[i], kSideMargin, kTextWidth, 10.5, false);
            line.before = i == 0 ? 2 : 0;
            line.after = i + 1 == lines.size() ? 2 : 0;
            push(std::move(line));
        }
    }
    void operator()(const BookFormula& f) {
        // The label and the formula are one chunk: a formula is never split. The formula stands
        // under its label, indented by two ideographic blanks, and so do its continued lines.
        constexpr double kIndent = 10;
        const double left = kSideMargin + kIndent;
        const double width = kTextWidth - kIndent;
        std::vector<std::pair<std::string, double>> lines;
        if (!f.label.empty()) {
            for (std::string& line : breakLines(f.label, 10.5, width)) {
                lines.emplace_back(std::move(line), 10.5);
            }
        }
        std::string math = f.formula;
        if (!f.substituted.empty()) math += " = " + f.substituted;
        math += " = " + f.result;
        for (std::string& line : breakLines(math, 10, width - 20.0, true)) {
            lines.emplace_back("\u3000\u3000" + line, 10);
        }
        Chunk chunk;
        chunk.before = 3;
        chunk.after = 2;
        for (const auto& line : lines) chunk.height += kLineHeight * line.second;
        chunk.draw = [lines, left](double top) {
            std::string ops;
            double y = top;
            for (const auto& [text, size] : lines) {
                ops += textOp(text, left, y + kBaseline * size, size);
                y += kLineHeight * size;
            }
            return ops;
        };
        push(std::move(chunk));
    }
    void operator()(const BookTable& t) {
        const std::size_t columns =
            std::max<std::size_t>(t.header.size(), t.rows.empty() ? 1 : t.rows.front().size());
        if (t.header.empty() && t.rows.empty()) return;
        TableStyle style;
        // Wide tables (the iteration passes) take the page width and a smaller face.
        const bool wide = columns >= kWideTableColumns;
        style.size = wide ? 8.5 : 9.5;
        if (wide) style.width = kTextWidth;
        const std::size_t first = out_.size();
        tableChunks(out_, t.header, t.rows, columns, style, 2, 4);
        if (breakNext_ && out_.size() > first) {
            out_[first].pageBreakBefore = true;
            breakNext_ = false;
        }
    }
    void operator()(const BookPicture& p) {
        Chunk chunk;
        chunk.before = 6;
        chunk.height = p.height * kMm;
        const double left = kSideMargin + (kTextWidth - p.width * kMm) / 2.0;
        chunk.draw = [&p, left](double top) {
            std::string ops = "q\n1 J 1 j\n";
            for (const PictureShape& shape : p.shapes)
                std::visit(ShapeWriter{left, top, ops}, shape);
            return ops + "Q\n";
        };
        // A picture stays on the page of its caption.
        chunk.keepWithNext = !p.caption.empty();
        push(std::move(chunk));
        if (!p.caption.empty()) {
            Chunk caption = textChunk(p.caption, kSideMargin, kTextWidth, 9.5, false, true);
            caption.before = 2;
            caption.after = 8;
            push(std::move(caption));
        }
    }

  private:
    static std::vector<std::vector<std::string>> rowsOf(
        const std::vector<std::pair<std::string, std::string>>& pairs) {
        std::vector<std::vector<std::string>> rows;
        rows.reserve(pairs.size());
        for (const auto& [label, value] : pairs) rows.push_back({label, value});
        return rows;
    }
    void push(Chunk chunk) {
        if (breakNext_) {
            chunk.pageBreakBefore = true;
            breakNext_ = false;
        }
        out_.push_back(std::move(chunk));
    }

    std::vector<Chunk>& out_;
    bool breakNext_ = false;
};

// The chunks placed on pages: each page's content stream without its header and footer.
std::vector<std::string> paginate(const std::vector<Chunk>& chunks) {
    std::vector<std::string> pages(1);
    double y = 0;  // from the top of the text area
    bool empty = true;
    const auto newPage = [&] {
        pages.emplace_back();
        y = 0;
        empty = true;
    };
    const auto place = [&](const Chunk& chunk) {
        if (!empty) y += chunk.before;
        pages.back() += chunk.draw(kTopMargin + y);
        y += chunk.height + chunk.after;
        empty = false;
    };
    for (std::size_t i = 0; i < chunks.size(); ++i) {
        const Chunk& chunk = chunks[i];
        if (chunk.pageBreakBefore && !empty) newPage();
        if (!empty) {
            // The chunk with those kept with it: a heading with the first line after it, a
            // picture with its caption, a header row with the first row under it.
            double need = chunk.before + chunk.height;
            for (std::size_t j = i; chunks[j].keepWithNext && j + 1 < chunks.size(); ++j) {
                need += chunks[j].after + chunks[j + 1].before + chunks[j + 1].height;
            }
            if (y + need > kTextHeight) newPage();
        }
        // A table row opening a page: its header row first.
        if (empty && chunk.header >= 0 && pages.size() > 1) {
            const Chunk& header = chunks[static_cast<std::size_t>(chunk.header)];
            pages.back() += header.draw(kTopMargin);
            y = header.height;
            empty = false;
        }
        place(chunk);
    }
    return pages;
}

// ---------------------------------------------------------------------------------------------
// The file

class PdfFile {
  public:
    // Reserves an object number.
    int reserve() {
        offsets_.push_back(0);
        return static_cast<int>(offsets_.size());
    }
    void object(int number, const std::string& body) {
        offsets_[static_cast<std::size_t>(number - 1)] = bytes_.size();
        bytes_ += std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
    }
    void stream(int number, const std::string& dictionary, const std::string& data) {
        object(number, "<< " + dictionary + "/Length " + std::to_string(data.size()) +
                           " >>\nstream\n" + data + "\nendstream");
    }
    std::string finish(int root, int info) {
        const std::size_t xref = bytes_.size();
        bytes_ += "xref\n0 " + std::to_string(offsets_.size() + 1) + "\n0000000000 65535 f \n";
        for (const std::size_t offset : offsets_) {
            std::string digits = std::to_string(offset);
            bytes_ += std::string(10 - std::min<std::size_t>(10, digits.size()), '0') + digits +
                      " 00000 n \n";
        }
        bytes_ += "trailer\n<< /Size " + std::to_string(offsets_.size() + 1) + " /Root " +
                  std::to_string(root) + " 0 R /Info " + std::to_string(info) +
                  " 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
        return std::move(bytes_);
    }

  private:
    // The header's second line has bytes above 127, so that a transfer takes the file for
    // binary.
    std::string bytes_ = "%PDF-1.5\n%\xE2\xE3\xCF\xD3\n";
    std::vector<std::size_t> offsets_;
};

// The ToUnicode map: every code of the strings is its own UTF-16 unit, so a copy gives what was
// printed whatever the reader knows of Adobe-GB1.
std::string toUnicodeMap() {
    std::string map =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
        "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::vector<std::string> ranges;
    for (unsigned high = 0; high < 256; ++high) {
        if (high >= 0xD8 && high <= 0xDF) continue;  // surrogates
        const std::string h{kDigits[high >> 4U], kDigits[high & 0xFU]};
        std::string range = "<";
        range += h;
        range += "00> <";
        range += h;
        range += "FF> <";
        range += h;
        range += "00>\n";
        ranges.push_back(std::move(range));
    }
    for (std::size_t at = 0; at < ranges.size(); at += 100) {
        const std::size_t count = std::min<std::size_t>(100, ranges.size() - at);
        map += std::to_string(count) + " beginbfrange\n";
        for (std::size_t i = at; i < at + count; ++i) map += ranges[i];
        map += "endbfrange\n";
    }
    map += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend";
    return map;
}

// A PDF text string for the document information: UTF-16BE with its byte-order mark.
std::string infoString(const std::string& text) {
    return "<FEFF" + utf16Hex(text) + ">";
}

}  // namespace

double textWidthPerMille(std::string_view utf8) {
    double width = 0;
    for (const Glyph& g : decode(utf8)) width += advanceOf(g.code);
    return width;
}

std::vector<std::string> breakLines(std::string_view utf8, double em, double width, bool formula) {
    std::vector<std::string> lines;
    const std::vector<Glyph> glyphs = decode(utf8);
    const double limit = width * 1000.0 / em;  // in 1/1000 em
    std::size_t start = 0;                     // the first glyph of the line
    while (start < glyphs.size()) {
        double used = 0;
        std::size_t breakAt = 0;     // a glyph the next line may start with; 0: none yet
        std::size_t operatorAt = 0;  // in a formula: a blank before an operator
        std::size_t end = start;
        bool hard = false;
        for (; end < glyphs.size(); ++end) {
            const char32_t code = glyphs[end].code;
            if (code == U'\n') {
                hard = true;
                break;
            }
            if (end > start) {
                const char32_t previous = glyphs[end - 1].code;
                const bool cjkBreak = (breaksAnywhere(code) || breaksAnywhere(previous)) &&
                                      !closing(code) && !opening(previous) && code != U' ';
                if (previous == U' ' || cjkBreak) breakAt = end;
                if (formula && previous == U' ' &&
                    kOperators.find(code) != std::u32string_view::npos) {
                    operatorAt = end;
                }
            }
            used += advanceOf(code);
            if (used > limit && code != U' ' && end > start) break;
        }
        std::size_t next = end;
        if (!hard && end < glyphs.size() && operatorAt > start) {
            next = operatorAt;
        } else if (!hard && end < glyphs.size() && breakAt > start) {
            next = breakAt;
        }
        // The line's text without the blanks at the break.
        std::size_t last = next;
        while (last > start && glyphs[last - 1].code == U' ') --last;
        const std::size_t from = glyphs[start].begin;
        const std::size_t to = last > start ? glyphs[last - 1].end : from;
        lines.emplace_back(utf8.substr(from, to - from));
        start = next;
        if (hard) {
            ++start;  // past the line end
            if (start == glyphs.size()) lines.emplace_back();
        } else {
            while (start < glyphs.size() && glyphs[start].code == U' ') ++start;
        }
    }
    if (lines.empty()) lines.emplace_back();
    return lines;
}

std::string renderBookPdfStd(const Book& book) {
    std::vector<Chunk> chunks;
    FlowBuilder flow(chunks);
    flow.cover(book.title, book.cover);
    for (const BookBlock& block : book.blocks) std::visit(flow, block);
    std::vector<std::string> contents = paginate(chunks);

    // The running header on every page after the title page, the page count on every page.
    const std::string header = runningHeader(book.cover);
    const int pageCount = static_cast<int>(contents.size());
    for (int page = 0; page < pageCount; ++page) {
        std::string& content = contents[static_cast<std::size_t>(page)];
        if (page > 0 && !header.empty()) {
            content += textOp(header, kSideMargin, 20.0 * kMm, 9);
            content += "0.376 0.376 0.376 RG 0.375 w [] 0 d " + num(kSideMargin) + ' ' +
                       num(pdfY(22.0 * kMm)) + " m " + num(kPageWidth - kSideMargin) + ' ' +
                       num(pdfY(22.0 * kMm)) + " l S\n";
        }
        const std::string footer = pageFooter(page + 1, pageCount);
        content += textOp(footer, (kPageWidth - widthOf(footer, 9)) / 2.0,
                          (297.0 - 22.0 + 6.0) * kMm + 0.88 * 9, 9);
    }

    PdfFile file;
    const int catalog = file.reserve();
    const int pagesNode = file.reserve();
    const int font = file.reserve();
    const int cidFont = file.reserve();
    const int descriptor = file.reserve();
    const int toUnicode = file.reserve();
    const int info = file.reserve();
    std::vector<int> pageObjects;
    std::string kids;
    for (int page = 0; page < pageCount; ++page) {
        pageObjects.push_back(file.reserve());
        kids += std::to_string(pageObjects.back()) + " 0 R ";
    }
    file.object(catalog, "<< /Type /Catalog /Pages " + std::to_string(pagesNode) + " 0 R >>");
    file.object(pagesNode,
                "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pageCount) + " >>");
    file.object(font,
                "<< /Type /Font /Subtype /Type0 /BaseFont /STSong-Light /Encoding "
                "/UniGB-UTF16-H /DescendantFonts [" +
                    std::to_string(cidFont) + " 0 R] /ToUnicode " + std::to_string(toUnicode) +
                    " 0 R >>");
    file.object(cidFont,
                "<< /Type /Font /Subtype /CIDFontType0 /BaseFont /STSong-Light /CIDSystemInfo "
                "<< /Registry (Adobe) /Ordering (GB1) /Supplement 4 >> /FontDescriptor " +
                    std::to_string(descriptor) + " 0 R /DW 1000 /W [1 95 500] >>");
    file.object(descriptor,
                "<< /Type /FontDescriptor /FontName /STSong-Light /Flags 6 /FontBBox [-25 -254 "
                "1000 880] /ItalicAngle 0 /Ascent 880 /Descent -120 /CapHeight 880 /StemV 93 >>");
    file.stream(toUnicode, "", toUnicodeMap());
    file.object(info, "<< /Title " + infoString(book.title) + " /Creator " +
                          infoString("Tessarin") + " /Producer " + infoString("Tessarin") + " >>");
    for (int page = 0; page < pageCount; ++page) {
        const int content = file.reserve();
        file.object(pageObjects[static_cast<std::size_t>(page)],
                    "<< /Type /Page /Parent " + std::to_string(pagesNode) + " 0 R /MediaBox [0 0 " +
                        num(kPageWidth) + ' ' + num(kPageHeight) + "] /Resources << /Font << /F1 " +
                        std::to_string(font) + " 0 R >> >> /Contents " + std::to_string(content) +
                        " 0 R >>");
        file.stream(content, "", contents[static_cast<std::size_t>(page)]);
    }
    return file.finish(catalog, info);
}

}  // namespace tessarin
