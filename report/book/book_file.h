#pragma once

#include <string>
#include <string_view>

#include "report/file_result.h"

namespace tessarin {

// Whether a book can go to path: not a directory or another file that is not a regular one (a
// book is a file of its own, never a device or a pipe), and its folder exists and takes new
// files. Lets a command refuse a bad path before it does anything else; the book itself is then
// written whole (report/whole_file.h).
FileResult checkWritablePath(const std::string& path);

// What a book's file name asks for, by its suffix (case-insensitive): .pdf is a PDF, .docx a Word
// document, .html and .htm are HTML, and a name with none of them (unknown) is written as HTML
// too.
enum class BookFormat { Html, Pdf, Docx, Unknown };
BookFormat bookFormatOf(std::string_view path);

}  // namespace tessarin
