#pragma once

#include <string>
#include <variant>
#include <vector>

namespace tessarin {

// The content of a calculation book, independent of how it is rendered (HTML with inline SVG,
// or PDF through the Qt writer). Every text is UTF-8 and stands as it is printed; numbers are
// already formatted.

struct BookHeading {
    int level = 1;  // 1 chapter, 2 section
    std::string text;
};

struct BookParagraph {
    std::string text;
};

// One calculation step: what it computes, the formula in symbols, the formula with the numbers
// put in, and the result with its unit ("e0x = M0x × 1000 / N", "= 244.000000 × 1000 /
// 400.000000", "= 610.000000 mm"). The substitution is empty for a value taken as it is.
struct BookFormula {
    std::string label;
    std::string formula;
    std::string substituted;
    std::string result;
};

struct BookTable {
    std::vector<std::string> header;  // may be empty: a table of label/value rows
    std::vector<std::vector<std::string>> rows;
};

// A picture as a small vector drawing. Coordinates in millimetres on the printed page, origin at
// the top left, y downwards; colours as "#rrggbb" ("" for no fill).
struct PictureLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::string stroke = "#000000";
    double width = 0.25;
    bool dashed = false;
};
struct PictureRect {
    double x = 0, y = 0, w = 0, h = 0;
    std::string stroke = "#000000";
    std::string fill;
    double width = 0.35;
};
struct PictureCircle {
    double cx = 0, cy = 0, r = 0;
    std::string stroke = "#000000";
    std::string fill;
    double width = 0.2;
};
struct PicturePolyline {
    std::vector<double> points;  // x0, y0, x1, y1, ...
    bool closed = false;
    std::string stroke = "#000000";
    std::string fill;
    double width = 0.3;
};
enum class TextAnchor { Start, Middle, End };
struct PictureText {
    double x = 0, y = 0;  // the baseline point the anchor refers to
    std::string text;
    double size = 3.0;  // character height, mm
    TextAnchor anchor = TextAnchor::Start;
    std::string colour = "#000000";
};
using PictureShape =
    std::variant<PictureLine, PictureRect, PictureCircle, PicturePolyline, PictureText>;

struct BookPicture {
    double width = 0;   // mm
    double height = 0;  // mm
    std::vector<PictureShape> shapes;
    std::string caption;
};

using BookBlock = std::variant<BookHeading, BookParagraph, BookFormula, BookTable, BookPicture>;

// What the title page and every page's running header say: the project and the column, the
// calculation and its codes, and the signature block (names given, or blank lines to sign).
struct BookCover {
    std::string project;     // 工程名称
    std::string subProject;  // 子项 / 设计号
    std::string column;      // 构件编号
    std::string method;      // 计算内容: the calculation and the code edition it follows
    std::string program;     // 计算程序: program and version
    std::string date;        // 计算日期
    std::vector<std::string> designBasis;  // 设计依据: each code with its edition, in order
    std::string designer;                  // 设计
    std::string checker;                   // 校对
    std::string reviewer;                  // 审核
};

struct Book {
    std::string title;
    BookCover cover;
    std::vector<BookBlock> blocks;
};

}  // namespace tessarin
