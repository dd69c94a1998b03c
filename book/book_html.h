#pragma once

#include <string>

#include "book/book.h"

namespace tessarin {

// The book as one self-contained HTML page (UTF-8): styles inline, every picture as inline SVG,
// no external file, script or font.
std::string renderBookHtml(const Book& book);

}  // namespace tessarin
