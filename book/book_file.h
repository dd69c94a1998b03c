#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "book/book.h"
#include "platform/file_result.h"
#include "platform/whole_file.h"

namespace tessarin {

// Whether a book can go to path: not a directory or another file that is not a regular one (a
// book is a file of its own, never a device or a pipe), and its folder exists and takes new
// files. Lets a command refuse a bad path before it does anything else; the book itself is then
// written whole (platform/whole_file.h).
FileResult checkWritablePath(const std::string& path);

// What a book's file name asks for, by its suffix (case-insensitive): .pdf is a PDF, .docx a Word
// document, .html and .htm are HTML, and a name with none of them (unknown) is written as HTML
// too.
enum class BookFormat { Html, Pdf, Docx, Unknown };
BookFormat bookFormatOf(std::string_view path);

// Makes a book's PDF: the bytes, or false with the reason. Each front end brings its own: the
// desktop program Qt's writer, the command line the tessarin-book program beside it, Windows the
// standard Adobe-GB1 face (renderStandardPdf).
using PdfRenderer = std::function<bool(const Book& book, std::string& pdf, std::string& reason)>;

// Writes a book to path in the format its name asks for (bookFormatOf): HTML (also for a name
// without a known suffix) and Word here, PDF through pdf. The file is written whole (temporary
// file and rename, never through a link: platform/whole_file.h) or not at all; streams as for
// writeWholeFile. The one book writer of every front end.
FileResult writeBook(const Book& book, const std::string& path, const PdfRenderer& pdf,
                     StreamTarget streams = StreamTarget::Write);

// The PDF in the standard Adobe-GB1 Song face (book_pdf_std.h), as a PdfRenderer; it never fails.
bool renderStandardPdf(const Book& book, std::string& pdf, std::string& reason);

}  // namespace tessarin
