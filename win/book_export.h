#pragma once

#include <windows.h>

#include <string>

#include "book/book.h"
#include "platform/file_result.h"

namespace tessarin {

// "导出计算书…": asks for a file with the system's save dialog and writes the book there as HTML,
// Word or PDF (by the name's suffix, or the type chosen for a name without one), whole or not at
// all; the current folder stays where it was (the report lives there). A book that cannot be
// written is shown with the file name and the reason. Returns the file written (UTF-8), empty when
// the engineer cancelled or the writing failed.
std::string exportCalculationBook(HWND owner, const Book& book, const std::wstring& suggestedName);

// Writes the book to path, whole or not at all (any folder and file name): HTML, Word or, for a
// .pdf name, PDF in the standard Adobe-GB1 face (book/book_pdf_std.h), through writeBook.
FileResult writeCalculationBook(const Book& book, const std::wstring& path);

}  // namespace tessarin
