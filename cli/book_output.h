#pragma once

#include <chrono>
#include <cstddef>
#include <iosfwd>
#include <string>

#include "book/book.h"
#include "book/book_file.h"
#include "platform/file_result.h"
#include "platform/whole_file.h"

namespace tessarin {

// Writes a calculation book to path, as HTML, Word or PDF by its suffix. HTML and Word are written
// here; on Linux a PDF comes from tessarin-book (the Qt PDF writer of the desktop build), which
// runs as a program of its own beside this one, so that tessarin-cli itself never loads Qt; on
// Windows, which has no Qt, the PDF is written here in the standard Adobe-GB1 face
// (book_pdf_std.h). The file is written whole (temporary file and rename) or not at all.
// A stream at path is refused with StreamTarget::Refuse (a batch writing into a folder).
FileResult writeBookFile(const Book& book, const std::string& path,
                         StreamTarget streams = StreamTarget::Write);

// Whether a book could be written to path at all, checked before a run does anything: the
// folder, the name (not a directory or a device), and for a PDF on Linux the writer program. The
// reason says what is wrong.
FileResult checkBookTarget(const std::string& path);

// Whether books of this format can be written at all: a PDF needs tessarin-book beside this
// program; HTML and Word always can. The reason says what is missing.
FileResult checkBookWriter(BookFormat format);

// Says on err that the book could not be written, with the file name and the reason, and
// returns the exit code of a file failure.
int reportBookFailure(const FileResult& failure, std::ostream& err);

// How much a PDF writer may write and how long it may take (its own bound, 100 s, comes first).
struct PdfWriterLimits {
    std::size_t maxOutputBytes = std::size_t{256} << 20;
    std::chrono::seconds time{120};
};

// Runs the PDF writer program (not on Windows): the book's text on its stdin, the PDF from its
// stdout, both as the pipes allow. False, with the reason, when it cannot be run, fails, writes
// more than the limit, takes longer (it is then killed) or writes anything but a PDF (a file that
// begins with "%PDF-").
bool runPdfWriter(const std::string& program, const std::string& bookText, std::string& pdf,
                  std::string& reason, const PdfWriterLimits& limits = {});

// Where tessarin-book is expected: beside the running executable. Empty where no program can be
// run for it (Windows builds without Qt).
std::string pdfWriterPath();

}  // namespace tessarin
