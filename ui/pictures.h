#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace tessarin {

// The pictures compiled into the program (SVG, drawn at their own pixel size).
inline constexpr const char* kIconLarge = ":/images/icon_128_32.svg";                   // 32 x 32
inline constexpr const char* kIconSmall = ":/images/icon_128_16.svg";                   // 16 x 16
inline constexpr const char* kPrincipleDiagram = ":/images/principle_diagram_129.svg";  // 659 x 381
inline constexpr const char* kSchemeSketch = ":/images/scheme_sketch_133.svg";          // 248 x 376

// The compiled-in SVG of a picture named in a dialog template (views/pictures.h).
QString pictureResourcePath(const char* name);

// Renders an SVG resource at the size its document declares. A missing resource gives a null
// pixmap.
QPixmap renderPicture(const QString& resource);

// Icon 128: the column section, 32 x 32 and 16 x 16.
QIcon applicationIcon();

}  // namespace tessarin
