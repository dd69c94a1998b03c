#pragma once

#include <windows.h>

#include "book/book.h"

namespace tessarin {

// Paints a picture of the calculation book's vector model (millimetres on the page, y downwards)
// with GDI into box: one scale for both directions, as large as fits, centred; texts in face.
void paintBookPicture(HDC context, const RECT& box, const BookPicture& picture,
                      const wchar_t* face);

// "#rrggbb" as a GDI colour; black for anything else.
COLORREF colourOf(const std::string& text);

}  // namespace tessarin
