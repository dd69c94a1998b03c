#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "book/book.h"

namespace tessarin {

// The book as a Word document (Office Open XML, .docx): the title page with the cover table,
// 设计依据 and the signature block; every page with the project and the column in its header and
// "第 X 页 共 Y 页" (PAGE and NUMPAGES fields) in its footer; the chapters in Word's own heading
// styles (the navigation pane and a table of contents find them); formulas kept on one page;
// tables with borders that repeat their header row; the pictures as Word drawing shapes. One
// face family (宋体/SimSun) for every script. Standard library only, so that every build can
// write it.
[[nodiscard]] std::string renderBookDocx(const Book& book);

// The parts of the package in the order they are stored: name in the package and the XML.
[[nodiscard]] std::vector<std::pair<std::string, std::string>> bookDocxParts(const Book& book);

// Text as XML character data or attribute value: & < > " escaped; control characters that XML
// 1.0 cannot hold dropped (tab, line feed and carriage return kept); a byte sequence that is not
// UTF-8 replaced by U+FFFD, so that no input can make the document unreadable.
[[nodiscard]] std::string xmlEscape(std::string_view text);

}  // namespace tessarin
