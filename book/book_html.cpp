#include "book/book_html.h"

#include <algorithm>
#include <string_view>

#include "book/book_cover.h"
#include "text/clean_text.h"
#include "text/number_text.h"

namespace tessarin {

namespace {

constexpr std::string_view kStyle =
    "body{font-family:\"Noto Serif CJK SC\",\"SimSun\",\"Songti SC\",serif;font-size:11pt;"
    "max-width:190mm;margin:12mm auto;color:#000;line-height:1.45}"
    "h1{font-size:17pt;text-align:center;margin:0 0 6mm}"
    "h2{font-size:13pt;border-bottom:1px solid #444;margin:7mm 0 3mm}"
    "h3{font-size:11.5pt;margin:5mm 0 2mm}h4{font-size:11pt;margin:4mm 0 2mm}"
    "table{border-collapse:collapse;margin:2mm 0 4mm}"
    "td,th{border:1px solid #777;padding:1mm 2.5mm;text-align:left;vertical-align:top;"
    "word-break:keep-all;overflow-wrap:normal}"
    "th{background:#eee}thead{display:table-header-group}"
    // Printed: a heading stays with what follows it; a formula, a picture and a table row are
    // never split; wide tables take a smaller face so that they stay within the margins.
    "h2,h3,h4{break-after:avoid-page;page-break-after:avoid}"
    ".formula,figure,tr{break-inside:avoid;page-break-inside:avoid}"
    "table.wide{font-size:8.5pt}table.wide td,table.wide th{padding:0.6mm 1.2mm}"
    ".cover{break-after:page;page-break-after:always;text-align:center}"
    ".cover h1{font-size:20pt;margin:30mm 0 14mm}"
    ".cover table{margin:0 auto 10mm;min-width:120mm;text-align:left}"
    ".cover .basis{text-align:left;margin:0 auto 10mm;width:120mm}"
    ".cover .basis h2{border:none;font-size:12pt;margin:0 0 2mm}"
    ".cover .basis ol{margin:0;padding-left:6mm}"
    ".cover table.sign td{min-width:40mm;height:9mm}"
    "@media print{body{max-width:none;margin:0}}"
    ".formula{margin:1.5mm 0 2.5mm 4mm}"
    ".formula .label{display:block}"
    ".formula .math{font-family:\"DejaVu Sans Mono\",\"Noto Sans Mono CJK SC\",monospace;"
    "font-size:10pt;margin-left:6mm;white-space:pre-wrap}"
    "figure{margin:3mm 0 5mm;text-align:center}figcaption{font-size:10pt}"
    "svg text{font-family:\"Noto Sans CJK SC\",\"Microsoft YaHei\",sans-serif}";

void escape(std::string& out, std::string_view given) {
    // A book shows ids and project names as they were given: no NUL, control character or
    // broken UTF-8 goes into the page.
    const std::string text = printableText(given);
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
}

// Coordinates to a hundredth of a millimetre, the same under every locale.
std::string mm(double value) {
    return formatDecimals(value, 2);
}

void attribute(std::string& out, std::string_view name, const std::string& value) {
    out += ' ';
    out += name;
    out += "=\"";
    escape(out, value);
    out += '"';
}

void strokeAndFill(std::string& out, const std::string& stroke, const std::string& fill,
                   double width) {
    attribute(out, "stroke", stroke.empty() ? "none" : stroke);
    attribute(out, "stroke-width", mm(width));
    attribute(out, "fill", fill.empty() ? "none" : fill);
}

struct ShapeWriter {
    std::string& out;

    void operator()(const PictureLine& s) const {
        out += "<line";
        attribute(out, "x1", mm(s.x1));
        attribute(out, "y1", mm(s.y1));
        attribute(out, "x2", mm(s.x2));
        attribute(out, "y2", mm(s.y2));
        attribute(out, "stroke", s.stroke);
        attribute(out, "stroke-width", mm(s.width));
        if (s.dashed) attribute(out, "stroke-dasharray", "2 1");
        out += "/>";
    }
    void operator()(const PictureRect& s) const {
        out += "<rect";
        attribute(out, "x", mm(s.x));
        attribute(out, "y", mm(s.y));
        attribute(out, "width", mm(s.w));
        attribute(out, "height", mm(s.h));
        strokeAndFill(out, s.stroke, s.fill, s.width);
        out += "/>";
    }
    void operator()(const PictureCircle& s) const {
        out += "<circle";
        attribute(out, "cx", mm(s.cx));
        attribute(out, "cy", mm(s.cy));
        attribute(out, "r", mm(s.r));
        strokeAndFill(out, s.stroke, s.fill, s.width);
        out += "/>";
    }
    void operator()(const PicturePolyline& s) const {
        out += s.closed ? "<polygon" : "<polyline";
        std::string points;
        for (std::size_t i = 0; i + 1 < s.points.size(); i += 2) {
            if (i > 0) points += ' ';
            points += mm(s.points[i]) + "," + mm(s.points[i + 1]);
        }
        attribute(out, "points", points);
        strokeAndFill(out, s.stroke, s.fill, s.width);
        out += "/>";
    }
    void operator()(const PictureText& s) const {
        out += "<text";
        attribute(out, "x", mm(s.x));
        attribute(out, "y", mm(s.y));
        attribute(out, "font-size", mm(s.size));
        attribute(out, "fill", s.colour);
        if (s.anchor != TextAnchor::Start) {
            attribute(out, "text-anchor", s.anchor == TextAnchor::Middle ? "middle" : "end");
        }
        out += '>';
        escape(out, s.text);
        out += "</text>";
    }
};

// A CSS string literal: quotes, backslashes, line breaks and '<' (which could end the style
// element) as escapes, so that a project name can never break out of it.
void cssString(std::string& out, std::string_view raw) {
    const std::string text = printableText(raw);
    out += '"';
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\22 ";
                break;
            case '\\':
                out += "\\5c ";
                break;
            case '<':
                out += "\\3c ";
                break;
            case '\n':
            case '\r':
                out += "\\a ";
                break;
            default:
                if (static_cast<unsigned char>(c) >= 0x20) out += c;
        }
    }
    out += '"';
}

struct BlockWriter {
    std::string& out;

    void operator()(const BookHeading& b) const {
        const std::string tag = b.level <= 1 ? "h2" : b.level == 2 ? "h3" : "h4";
        out += "<" + tag + ">";
        escape(out, b.text);
        out += "</" + tag + ">\n";
    }
    void operator()(const BookParagraph& b) const {
        out += "<p>";
        escape(out, b.text);
        out += "</p>\n";
    }
    void operator()(const BookFormula& b) const {
        out += "<div class=\"formula\"><span class=\"label\">";
        escape(out, b.label);
        out += "</span><span class=\"math\">";
        escape(out, b.formula);
        if (!b.substituted.empty()) {
            out += " = ";
            escape(out, b.substituted);
        }
        out += " = ";
        escape(out, b.result);
        out += "</span></div>\n";
    }
    void operator()(const BookTable& b) const {
        const std::size_t columns =
            std::max(b.header.size(), b.rows.empty() ? std::size_t{0} : b.rows.front().size());
        out += columns >= kWideTableColumns ? "<table class=\"wide\">" : "<table>";
        if (!b.header.empty()) {
            // In the table head, so that a table continued on the next page repeats it.
            out += "<thead><tr>";
            for (const std::string& cell : b.header) {
                out += "<th>";
                escape(out, cell);
                out += "</th>";
            }
            out += "</tr></thead>";
        }
        for (const auto& row : b.rows) {
            out += "<tr>";
            for (const std::string& cell : row) {
                out += "<td>";
                escape(out, cell);
                out += "</td>";
            }
            out += "</tr>";
        }
        out += "</table>\n";
    }
    void operator()(const BookPicture& b) const {
        out += "<figure><svg xmlns=\"http://www.w3.org/2000/svg\"";
        attribute(out, "width", mm(b.width) + "mm");
        attribute(out, "height", mm(b.height) + "mm");
        attribute(out, "viewBox", "0 0 " + mm(b.width) + " " + mm(b.height));
        out += ">";
        const ShapeWriter shapes{out};
        for (const PictureShape& shape : b.shapes) {
            std::visit(shapes, shape);
        }
        out += "</svg>";
        if (!b.caption.empty()) {
            out += "<figcaption>";
            escape(out, b.caption);
            out += "</figcaption>";
        }
        out += "</figure>\n";
    }
};

}  // namespace

std::string renderBookHtml(const Book& book) {
    const BookCover& c = book.cover;
    std::string out;
    out.reserve(std::size_t{64} * 1024);
    out += "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
    escape(out, book.title);
    out += "</title>\n<style>";
    out += kStyle;
    // Every printed page: the project and the column at the top, "第 i 页 共 n 页" at the foot.
    out += "@page{size:A4;margin:22mm 18mm 20mm;@top-left{content:";
    cssString(out, runningHeader(c));
    out +=
        ";font-size:9pt}@bottom-center{content:\"第 \" counter(page) \" 页 共 \" "
        "counter(pages) \" 页\";font-size:9pt}}";
    out += "</style>\n</head>\n<body>\n<section class=\"cover\">\n<h1>";
    escape(out, book.title);
    out += "</h1>\n<table>";
    for (const auto& [label, value] : coverRows(c)) {
        out += "<tr><th>";
        escape(out, label);
        out += "</th><td>";
        escape(out, value);
        out += "</td></tr>";
    }
    out += "</table>\n<div class=\"basis\"><h2>设计依据</h2><ol>";
    for (const std::string& code : c.designBasis) {
        out += "<li>";
        escape(out, code);
        out += "</li>";
    }
    out +=
        "</ol></div>\n<table class=\"sign\"><tr><th>职责</th><th>姓名</th><th>签字</th>"
        "<th>日期</th></tr>";
    for (const auto& [role, name] : signatureRows(c)) {
        out += "<tr><th>";
        escape(out, role);
        out += "</th><td>";
        escape(out, name);
        out += "</td><td></td><td></td></tr>";
    }
    out += "</table>\n</section>\n";
    const BlockWriter blocks{out};
    for (const BookBlock& block : book.blocks) {
        std::visit(blocks, block);
    }
    out += "</body>\n</html>\n";
    return out;
}

}  // namespace tessarin
