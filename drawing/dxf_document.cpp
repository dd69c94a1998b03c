#include "drawing/dxf_document.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "platform/whole_file.h"
#include "text/clean_text.h"
#include "text/gbk_text.h"
#include "text/number_text.h"

namespace tessarin {

namespace {

// One group: its code right-aligned in three places, then its value, each on its own line.
void group(std::string& out, int code, std::string_view value) {
    const std::string number = std::to_string(code);
    out.append(number.size() < 3 ? 3 - number.size() : 0, ' ');
    out += number;
    out += "\r\n";
    out += value;
    out += "\r\n";
}

void group(std::string& out, int code, double value) {
    group(out, code, dxfReal(value));
}
void group(std::string& out, int code, int value) {
    group(out, code, std::to_string(value));
}

// A point as its x, y and z groups (codes 10/20/30, 11/21/31, ...).
void point(std::string& out, int code, DxfPoint p) {
    group(out, code, p.x);
    group(out, code + 10, p.y);
    group(out, code + 20, 0.0);
}

// Blanks for the control characters a text line cannot hold: a line break would end the group.
std::string singleLine(std::string_view utf8) {
    std::string line(utf8);
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    }
    return line;
}

// The text as the GBK file can hold it: a character GBK lacks as the DXF escape \U+XXXX, which
// CAD programs show as that character (one beyond U+FFFF, or bytes that are not UTF-8, as one
// '?' each), so that the file's conversion to GBK replaces nothing.
std::string gbkSafe(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const CodePoint c = firstCodePoint(utf8.substr(i));
        if (c.length == 0) {
            out += '?';
            ++i;
            continue;
        }
        const std::string_view character = utf8.substr(i, c.length);
        i += c.length;
        // Non-ASCII, so a '?' in its GBK form is the conversion's replacement.
        if (c.value < 0x80 || utf8ToGbk(character).find('?') == std::string::npos) {
            out.append(character);
        } else if (c.value <= 0xFFFF) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += "\\U+";
            for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(c.value >> shift) & 0xFu];
        } else {
            out += '?';
        }
    }
    return out;
}

}  // namespace

// Chinese characters take three UTF-8 bytes, counted once by their lead byte.
double dxfTextLength(std::string_view utf8, double height) {
    double length = 0.0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            length += 0.7 * height;
        } else if (c >= 0xC0) {
            length += height;  // the lead byte of a character beyond ASCII
        }
    }
    return length;
}

std::string dxfReal(double value) {
    // Below half a millionth the value prints as zero; "-0.0" would be a needless sign.
    if (std::fabs(value) < 5e-7) return "0.0";
    std::string text = formatDecimals(value, 6);
    const std::size_t last = text.find_last_not_of('0');
    text.resize(text[last] == '.' ? last + 2 : last + 1);
    return text;
}

void DxfDocument::addLayer(std::string_view name, int colour) {
    for (Layer& layer : layers_) {
        if (layer.name == name) {
            layer.colour = colour;
            return;
        }
    }
    layers_.push_back({std::string(name), colour});
}

void DxfDocument::useLayer(std::string_view name) {
    const bool known = std::any_of(layers_.begin(), layers_.end(),
                                   [&](const Layer& layer) { return layer.name == name; });
    if (!known) layers_.push_back({std::string(name), 7});
}

void DxfDocument::check(double value) {
    if (!std::isfinite(value)) finite_ = false;
}

void DxfDocument::include(DxfPoint p) {
    check(p.x);
    check(p.y);
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
    if (empty_) {
        min_ = p;
        max_ = p;
        empty_ = false;
        return;
    }
    min_ = {std::min(min_.x, p.x), std::min(min_.y, p.y)};
    max_ = {std::max(max_.x, p.x), std::max(max_.y, p.y)};
}

void DxfDocument::line(std::string_view layer, DxfPoint from, DxfPoint to) {
    from = moved(from);
    to = moved(to);
    useLayer(layer);
    include(from);
    include(to);
    group(entities_, 0, "LINE");
    group(entities_, 8, layer);
    point(entities_, 10, from);
    point(entities_, 11, to);
}

void DxfDocument::polyline(std::string_view layer, const std::vector<DxfPoint>& points, bool closed,
                           double width) {
    std::vector<DxfPoint> placed;
    placed.reserve(points.size());
    for (const DxfPoint& p : points) placed.push_back(moved(p));
    useLayer(layer);
    check(width);
    const double half = std::fabs(width) / 2.0;
    for (const DxfPoint& p : placed) {
        include({p.x - half, p.y - half});
        include({p.x + half, p.y + half});
    }
    group(entities_, 0, "POLYLINE");
    group(entities_, 8, layer);
    group(entities_, 66, 1);
    point(entities_, 10, {});
    group(entities_, 70, closed ? 1 : 0);
    group(entities_, 40, width);
    group(entities_, 41, width);
    for (const DxfPoint& p : placed) {
        group(entities_, 0, "VERTEX");
        group(entities_, 8, layer);
        point(entities_, 10, p);
        group(entities_, 40, width);
        group(entities_, 41, width);
    }
    group(entities_, 0, "SEQEND");
    group(entities_, 8, layer);
}

void DxfDocument::circle(std::string_view layer, DxfPoint centre, double radius) {
    centre = moved(centre);
    useLayer(layer);
    check(radius);
    include({centre.x - radius, centre.y - radius});
    include({centre.x + radius, centre.y + radius});
    group(entities_, 0, "CIRCLE");
    group(entities_, 8, layer);
    point(entities_, 10, centre);
    group(entities_, 40, radius);
}

void DxfDocument::disc(std::string_view layer, DxfPoint centre, double radius) {
    centre = moved(centre);
    useLayer(layer);
    check(radius);
    include({centre.x - radius, centre.y - radius});
    include({centre.x + radius, centre.y + radius});
    const double half = radius / 2.0;
    group(entities_, 0, "POLYLINE");
    group(entities_, 8, layer);
    group(entities_, 66, 1);
    point(entities_, 10, {});
    group(entities_, 70, 1);
    group(entities_, 40, radius);
    group(entities_, 41, radius);
    // Bulge 1 is a half circle from one vertex to the next.
    for (const double x : {centre.x - half, centre.x + half}) {
        group(entities_, 0, "VERTEX");
        group(entities_, 8, layer);
        point(entities_, 10, {x, centre.y});
        group(entities_, 40, radius);
        group(entities_, 41, radius);
        group(entities_, 42, 1.0);
    }
    group(entities_, 0, "SEQEND");
    group(entities_, 8, layer);
}

void DxfDocument::text(std::string_view layer, DxfPoint at, double height, std::string_view utf8,
                       DxfAlign align, double rotationDegrees) {
    at = moved(at);
    useLayer(layer);
    check(height);
    check(rotationDegrees);
    const std::string line = singleLine(utf8);
    // The corners of the text's box, turned about the insertion point.
    const double length = dxfTextLength(line, height);
    const double start = align == DxfAlign::Left     ? 0.0
                         : align == DxfAlign::Centre ? -length / 2.0
                                                     : -length;
    const double angle = rotationDegrees * std::numbers::pi / 180.0;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    for (const double along : {start, start + length}) {
        for (const double across : {-0.3 * height, height}) {
            include({at.x + along * c - across * s, at.y + along * s + across * c});
        }
    }
    include(at);
    group(entities_, 0, "TEXT");
    group(entities_, 8, layer);
    point(entities_, 10, at);
    group(entities_, 40, height);
    group(entities_, 1, gbkSafe(line));
    if (rotationDegrees != 0.0) group(entities_, 50, rotationDegrees);
    group(entities_, 7, kTextStyle);
    if (align != DxfAlign::Left) {
        group(entities_, 72, align == DxfAlign::Centre ? 1 : 2);
        point(entities_, 11, at);
    }
}

std::string DxfDocument::bytes() const {
    const DxfPoint low = empty_ ? DxfPoint{} : min_;
    const DxfPoint high = empty_ ? DxfPoint{} : max_;
    std::string out;
    out.reserve(entities_.size() + 4096);

    group(out, 0, "SECTION");
    group(out, 2, "HEADER");
    group(out, 9, "$ACADVER");
    group(out, 1, "AC1009");
    group(out, 9, "$DWGCODEPAGE");
    group(out, 3, "ANSI_936");
    group(out, 9, "$INSBASE");
    point(out, 10, {});
    group(out, 9, "$EXTMIN");
    point(out, 10, low);
    group(out, 9, "$EXTMAX");
    point(out, 10, high);
    group(out, 9, "$LIMMIN");
    group(out, 10, low.x);
    group(out, 20, low.y);
    group(out, 9, "$LIMMAX");
    group(out, 10, high.x);
    group(out, 20, high.y);
    group(out, 9, "$TEXTSTYLE");
    group(out, 7, kTextStyle);
    group(out, 9, "$CLAYER");
    group(out, 8, "0");
    group(out, 9, "$FILLMODE");  // filled discs and wide lines shown filled
    group(out, 70, 1);
    group(out, 0, "ENDSEC");

    group(out, 0, "SECTION");
    group(out, 2, "TABLES");
    // The view a program opens with: the whole drawing with a margin.
    const double width = high.x - low.x;
    const double height = high.y - low.y;
    constexpr double kAspect = 1.5;
    group(out, 0, "TABLE");
    group(out, 2, "VPORT");
    group(out, 70, 1);
    group(out, 0, "VPORT");
    group(out, 2, "*ACTIVE");
    group(out, 70, 0);
    group(out, 10, 0.0);
    group(out, 20, 0.0);
    group(out, 11, 1.0);
    group(out, 21, 1.0);
    group(out, 12, (low.x + high.x) / 2.0);
    group(out, 22, (low.y + high.y) / 2.0);
    group(out, 40, std::max({height, width / kAspect, 1.0}) * 1.1);
    group(out, 41, kAspect);
    group(out, 0, "ENDTAB");

    group(out, 0, "TABLE");
    group(out, 2, "LTYPE");
    group(out, 70, 1);
    group(out, 0, "LTYPE");
    group(out, 2, "CONTINUOUS");
    group(out, 70, 0);
    group(out, 3, "Solid line");
    group(out, 72, 65);
    group(out, 73, 0);
    group(out, 40, 0.0);
    group(out, 0, "ENDTAB");

    std::vector<Layer> layers = layers_;
    if (std::none_of(layers.begin(), layers.end(), [](const Layer& l) { return l.name == "0"; })) {
        layers.insert(layers.begin(), Layer{"0", 7});
    }
    group(out, 0, "TABLE");
    group(out, 2, "LAYER");
    group(out, 70, static_cast<int>(layers.size()));
    for (const Layer& layer : layers) {
        group(out, 0, "LAYER");
        group(out, 2, layer.name);
        group(out, 70, 0);
        group(out, 62, layer.colour);
        group(out, 6, "CONTINUOUS");
    }
    group(out, 0, "ENDTAB");

    group(out, 0, "TABLE");
    group(out, 2, "STYLE");
    group(out, 70, 2);
    for (const auto& [name, font, bigFont] :
         {std::array<std::string_view, 3>{"STANDARD", "txt", ""},
          std::array<std::string_view, 3>{kTextStyle, kFont, kBigFont}}) {
        group(out, 0, "STYLE");
        group(out, 2, name);
        group(out, 70, 0);
        group(out, 40, 0.0);
        group(out, 41, 1.0);
        group(out, 50, 0.0);
        group(out, 71, 0);
        group(out, 42, 2.5);
        group(out, 3, font);
        group(out, 4, bigFont);
    }
    group(out, 0, "ENDTAB");
    group(out, 0, "ENDSEC");

    group(out, 0, "SECTION");
    group(out, 2, "BLOCKS");
    group(out, 0, "ENDSEC");

    group(out, 0, "SECTION");
    group(out, 2, "ENTITIES");
    out += entities_;
    group(out, 0, "ENDSEC");
    group(out, 0, "EOF");
    return utf8ToGbk(out);
}

FileResult writeDxf(const std::string& path, const DxfDocument& document, StreamTarget streams) {
    if (!document.allFinite()) {
        return FileResult::refusal(path, FileAction::Write,
                                   "the drawing holds a size or position that is not a number");
    }
    return writeWholeFile(path, document.bytes(), streams);
}

}  // namespace tessarin
