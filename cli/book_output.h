#pragma once

#include <iosfwd>
#include <string>

#include "report/book/book.h"
#include "report/file_result.h"
#include "report/whole_file.h"

namespace tessarin {

// Writes a calculation book to path, as HTML or as PDF by its suffix. HTML is written here; on
// Linux a PDF comes from tessarin-book (the Qt PDF writer of the desktop build), which runs as a
// program of its own beside this one, so that tessarin-cli itself never loads Qt; on Windows,
// which has no Qt, the PDF is written here in the standard Adobe-GB1 face (book_pdf_std.h). The
// file is written whole (temporary file and rename) or not at all.
// A stream at path is refused with StreamTarget::Refuse (a batch writing into a folder).
FileResult writeBookFile(const Book& book, const std::string& path,
                         StreamTarget streams = StreamTarget::Write);

// Whether a book could be written to path at all, checked before a run does anything: the
// folder, the name (not a directory or a device), and for a PDF on Linux the writer program. The
// reason says what is wrong.
FileResult checkBookTarget(const std::string& path);

// Says on err that the book could not be written, with the file name and the reason, and
// returns the exit code of a file failure.
int reportBookFailure(const FileResult& failure, std::ostream& err);

// Where tessarin-book is expected: beside the running executable. Empty where no program can be
// run for it (Windows builds without Qt).
std::string pdfWriterPath();

}  // namespace tessarin
