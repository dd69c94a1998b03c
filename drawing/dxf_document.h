#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_result.h"
#include "platform/whole_file.h"

namespace tessarin {

// A point of the drawing in model units (mm at 1:1).
struct DxfPoint {
    double x = 0.0;
    double y = 0.0;
};

// Where a text's insertion point lies on its baseline.
enum class DxfAlign { Left, Centre, Right };

// A two-dimensional drawing written as ASCII DXF of release 12 (AC1009), the form every drawing
// program reads: layers with colours, lines, polylines with a constant width, circles, filled
// discs and single-line texts in one text style that shows Chinese. The file is in code page 936
// ($DWGCODEPAGE ANSI_936): texts and layer names are given as UTF-8 and written as GBK.
class DxfDocument {
  public:
    // The text style every text uses: a structural drafting shape font for letters, digits and the
    // steel grade symbols (%%130 to %%133, which the plain GB/T 14665 font gbenor.shx lacks), with
    // the GB 2312 big font; Chinese structural CAD programs ship both.
    static constexpr const char* kTextStyle = "HZ";
    static constexpr const char* kFont = "tssdeng.shx";
    static constexpr const char* kBigFont = "gbcbig.shx";

    // Declares a layer with an AutoCAD colour index (1 red, 2 yellow, 3 green, 4 cyan, 7 white).
    // A layer used without being declared is declared with colour 7.
    void addLayer(std::string_view name, int colour);

    void line(std::string_view layer, DxfPoint from, DxfPoint to);
    // A polyline through points, closed back to the first one when closed; width is the drawn
    // line's constant width (0: the thinnest line the program shows).
    void polyline(std::string_view layer, const std::vector<DxfPoint>& points, bool closed,
                  double width);
    void circle(std::string_view layer, DxfPoint centre, double radius);
    // A filled disc as CAD programs draw a donut: a closed polyline of two half circles of radius
    // r/2 with the constant width r.
    void disc(std::string_view layer, DxfPoint centre, double radius);
    // One line of text; control characters (a line break in a column name) become blanks.
    void text(std::string_view layer, DxfPoint at, double height, std::string_view utf8,
              DxfAlign align = DxfAlign::Left, double rotationDegrees = 0.0);

    // Where the drawing's origin lies from now on: every point given after this call is moved by
    // origin, so that one detail can be drawn at its own place in a larger sheet.
    void setOrigin(DxfPoint origin) { origin_ = origin; }

    // The smallest box holding everything drawn so far (texts by their estimated length); both
    // corners at (0, 0) while nothing is drawn.
    DxfPoint minimum() const { return empty_ ? DxfPoint{} : min_; }
    DxfPoint maximum() const { return empty_ ? DxfPoint{} : max_; }

    // False once any coordinate or size given was not a finite number; such a drawing is not
    // written.
    bool allFinite() const { return finite_; }

    // The whole file, GBK bytes with CR LF line ends.
    std::string bytes() const;

  private:
    struct Layer {
        std::string name;
        int colour;
    };
    void useLayer(std::string_view name);
    void include(DxfPoint p);
    void check(double value);
    DxfPoint moved(DxfPoint p) const { return {p.x + origin_.x, p.y + origin_.y}; }

    std::vector<Layer> layers_;
    std::string entities_;  // the ENTITIES section's groups, UTF-8
    bool finite_ = true;
    bool empty_ = true;
    DxfPoint min_;
    DxfPoint max_;
    DxfPoint origin_;
};

// Writes the document as a DXF file at path, whole or not at all (platform/whole_file.h). A
// document holding a value that is not a finite number is refused and nothing is written.
// A stream at path (/dev/null) is written as it is, or refused with StreamTarget::Refuse.
FileResult writeDxf(const std::string& path, const DxfDocument& document,
                    StreamTarget streams = StreamTarget::Write);

// An estimate of a text's length in a drawing: letters and digits of the drafting font are about
// 0.7 of the height wide, Chinese characters a full height.
double dxfTextLength(std::string_view utf8, double height);

// A real number as DXF groups carry it: fixed-point, at most six decimals, at least one
// ("400.0", "-159.5", "0.333333"), never in exponent form, independent of the locale.
std::string dxfReal(double value);

}  // namespace tessarin
