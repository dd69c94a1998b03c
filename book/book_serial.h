#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "book/book.h"

namespace tessarin {

// A book as plain text, so that a program of its own (the PDF writer, which needs Qt) can take it
// on its standard input. One record per line, fields separated by TAB; a backslash, TAB or line
// end inside a field is written as \\, \t, \n. Numbers round-trip exactly.
std::string serializeBook(const Book& book);

// The book back from its text; nullopt when the text is not one serializeBook wrote (an unknown
// record, a missing field, a number that does not read).
std::optional<Book> parseBook(std::string_view text);

}  // namespace tessarin
