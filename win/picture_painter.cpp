#include "win/picture_painter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "win/wide_text.h"

namespace tessarin {

namespace {

// Selects a pen and a brush for one shape and restores the previous ones at the end.
class ShapeTools {
  public:
    ShapeTools(HDC context, const std::string& stroke, double widthPixels, bool dashed,
               const std::string& fill)
        : context_(context) {
        LOGBRUSH brush{BS_SOLID, colourOf(stroke), 0};
        const DWORD width = static_cast<DWORD>(std::max(1.0, std::round(widthPixels)));
        pen_ = ExtCreatePen(PS_GEOMETRIC | (dashed ? PS_DASH : PS_SOLID) | PS_ENDCAP_FLAT, width,
                            &brush, 0, nullptr);
        fill_ = fill.empty() ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))
                             : CreateSolidBrush(colourOf(fill));
        ownsFill_ = !fill.empty();
        oldPen_ = SelectObject(context_, pen_);
        oldBrush_ = SelectObject(context_, fill_);
    }
    ~ShapeTools() {
        SelectObject(context_, oldPen_);
        SelectObject(context_, oldBrush_);
        DeleteObject(pen_);
        if (ownsFill_) DeleteObject(fill_);
    }
    ShapeTools(const ShapeTools&) = delete;
    ShapeTools& operator=(const ShapeTools&) = delete;

  private:
    HDC context_;
    HPEN pen_ = nullptr;
    HBRUSH fill_ = nullptr;
    bool ownsFill_ = false;
    HGDIOBJ oldPen_ = nullptr;
    HGDIOBJ oldBrush_ = nullptr;
};

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

COLORREF colourOf(const std::string& text) {
    if (text.size() != 7 || text[0] != '#') return RGB(0, 0, 0);
    int channel[3] = {};
    for (std::size_t i = 0; i < 3; ++i) {
        const int high = hexDigit(text[1 + 2 * i]);
        const int low = hexDigit(text[2 + 2 * i]);
        if (high < 0 || low < 0) return RGB(0, 0, 0);
        channel[i] = high * 16 + low;
    }
    return RGB(channel[0], channel[1], channel[2]);
}

void paintBookPicture(HDC context, const RECT& box, const BookPicture& picture,
                      const wchar_t* face) {
    if (!(picture.width > 0.0) || !(picture.height > 0.0)) return;
    const double boxWidth = box.right - box.left;
    const double boxHeight = box.bottom - box.top;
    const double scale = std::min(boxWidth / picture.width, boxHeight / picture.height);
    const double left = box.left + (boxWidth - picture.width * scale) / 2.0;
    const double top = box.top + (boxHeight - picture.height * scale) / 2.0;
    const auto x = [&](double mm) { return static_cast<int>(std::lround(left + mm * scale)); };
    const auto y = [&](double mm) { return static_cast<int>(std::lround(top + mm * scale)); };

    const int savedState = SaveDC(context);
    SetBkMode(context, TRANSPARENT);
    for (const PictureShape& shape : picture.shapes) {
        if (const auto* line = std::get_if<PictureLine>(&shape)) {
            ShapeTools tools(context, line->stroke, line->width * scale, line->dashed, "");
            MoveToEx(context, x(line->x1), y(line->y1), nullptr);
            LineTo(context, x(line->x2), y(line->y2));
        } else if (const auto* rect = std::get_if<PictureRect>(&shape)) {
            ShapeTools tools(context, rect->stroke, rect->width * scale, false, rect->fill);
            Rectangle(context, x(rect->x), y(rect->y), x(rect->x + rect->w), y(rect->y + rect->h));
        } else if (const auto* circle = std::get_if<PictureCircle>(&shape)) {
            ShapeTools tools(context, circle->stroke, circle->width * scale, false, circle->fill);
            Ellipse(context, x(circle->cx - circle->r), y(circle->cy - circle->r),
                    x(circle->cx + circle->r) + 1, y(circle->cy + circle->r) + 1);
        } else if (const auto* polyline = std::get_if<PicturePolyline>(&shape)) {
            std::vector<POINT> points;
            for (std::size_t i = 0; i + 1 < polyline->points.size(); i += 2) {
                points.push_back({x(polyline->points[i]), y(polyline->points[i + 1])});
            }
            if (points.empty()) continue;
            ShapeTools tools(context, polyline->stroke, polyline->width * scale, false,
                             polyline->closed ? polyline->fill : std::string());
            const int count = static_cast<int>(points.size());
            if (polyline->closed) {
                Polygon(context, points.data(), count);
            } else {
                Polyline(context, points.data(), count);
            }
        } else if (const auto* text = std::get_if<PictureText>(&shape)) {
            // The character height in the model is the em; GDI takes it as a negative height.
            const int height = std::max(6, static_cast<int>(std::lround(text->size * scale)));
            HFONT font = CreateFontW(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                     CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, face);
            HGDIOBJ previous = SelectObject(context, font);
            UINT align = TA_BASELINE | TA_LEFT;
            if (text->anchor == TextAnchor::Middle) align = TA_BASELINE | TA_CENTER;
            if (text->anchor == TextAnchor::End) align = TA_BASELINE | TA_RIGHT;
            SetTextAlign(context, align);
            SetTextColor(context, colourOf(text->colour));
            const std::wstring wide = widen(text->text);
            TextOutW(context, x(text->x), y(text->y), wide.c_str(), static_cast<int>(wide.size()));
            SelectObject(context, previous);
            DeleteObject(font);
        }
    }
    RestoreDC(context, savedState);
}

}  // namespace tessarin
