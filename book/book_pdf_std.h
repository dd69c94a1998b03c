#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "book/book.h"

namespace tessarin {

// The calculation book as a PDF, written with the standard library alone: the writer of the
// Windows programs, which have no Qt (on Linux the Qt helper tessarin-book writes the PDF).
//
// The book is set in STSong-Light, the standard Adobe-GB1 Song face that every Chinese PDF reader
// has (Acrobat's Asian font pack, Foxit, the browsers' readers, poppler with poppler-data), so
// nothing is embedded: a book stays small and no font file is shipped. The text stands in the PDF
// as UTF-16 (the UniGB-UTF16-H encoding) with a ToUnicode map, so a copy or a search gives the
// characters printed. Widths come from the face's metrics: an ideograph or any other character
// 1000/1000 em, the printable ASCII characters 500/1000 em (the /W array of the font).
//
// The pages are those of the Qt writer: A4, the title page (title, the project's rows, 设计依据,
// the signature block), then the chapters with the running header at the top of every page after
// the title page and "第 i 页 共 n 页" at the foot of every page; a heading stays on the page of
// the text after it, a formula is never split, a picture stays with its caption, a table
// continued on the next page repeats its header row there. Pictures are PDF paths.
[[nodiscard]] std::string renderBookPdfStd(const Book& book);

// The width of text in the book's face, in 1/1000 em: 500 for the printable ASCII characters,
// 1000 for every other one, a superscript or subscript digit or sign (², ⁻, ₀) 0.6 of its plain
// one (UTF-8 in; a byte that is not UTF-8 counts as one character).
[[nodiscard]] double textWidthPerMille(std::string_view utf8);

// Text broken into lines no wider than `width` (same unit as `em`, the face's size): an
// ideograph or a full-width mark may end a line anywhere, except that no line starts with a
// closing mark (，。、；：）」》 …) nor ends with an opening one (（《「 …); Latin text breaks at
// blanks, which are dropped at the break. A word longer than a line is cut. In a formula a line
// is broken at the last blank before an operator (= + − × / …) where there is one, so that the
// continued line starts with the operator, never with a bare number. Never empty: text with
// nothing in it is one empty line.
[[nodiscard]] std::vector<std::string> breakLines(std::string_view utf8, double em, double width,
                                                  bool formula = false);

}  // namespace tessarin
