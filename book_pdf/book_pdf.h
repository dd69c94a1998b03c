#pragma once

#include <string>

#include "book/book.h"

namespace tessarin {

// A book as PDF bytes: A4 portrait, 2 cm margins, page numbers, the CJK face embedded (subset),
// pictures drawn as vector graphics at their size in millimetres. Needs a QGuiApplication.
// Returns false with the reason in `error` when the PDF could not be produced.
bool renderBookPdf(const Book& book, std::string& pdf, std::string& error);

}  // namespace tessarin
