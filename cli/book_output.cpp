#include "cli/book_output.h"

#include <ostream>

#include "book/book_file.h"
#include "book/book_serial.h"
#include "cli/cli_exit.h"
#include "platform/process.h"
#include "platform/whole_file.h"

namespace tessarin {

namespace {

FileResult failure(const std::string& path, const std::string& reason) {
    return FileResult::refusal(path, FileAction::Write, reason);
}

constexpr const char* kNoPdfWriter =
    "a PDF book needs tessarin-book, the PDF writer of the desktop build (with Qt), beside "
    "tessarin-cli; an HTML (.html) or Word (.docx) book works everywhere";

// A build without the Qt writer beside it (the Windows one, cli/CMakeLists.txt) writes the book's
// PDF here, in the standard Adobe-GB1 Song face (book/book_pdf_std.h). Linux keeps the Qt
// writer, whose faces are embedded.
#ifdef TESSARIN_PDF_IN_PROCESS
constexpr bool kPdfInProcess = true;
#else
constexpr bool kPdfInProcess = false;
#endif

bool havePdfWriter() {
    return kPdfInProcess || (canRunPrograms() && isExecutable(pdfWriterPath()));
}

}  // namespace

bool runPdfWriter(const std::string& program, const std::string& bookText, std::string& pdf,
                  std::string& reason, const PdfWriterLimits& limits) {
    const FilterOutcome outcome =
        runFilter(program, bookText, pdf, reason,
                  {limits.maxOutputBytes,
                   std::chrono::duration_cast<std::chrono::milliseconds>(limits.time)});
    const std::string writer = "the PDF writer " + program;
    switch (outcome) {
        case FilterOutcome::CannotRun:
            return false;
        case FilterOutcome::TimedOut:
            reason =
                writer + " did not finish within " + std::to_string(limits.time.count()) + " s";
            return false;
        case FilterOutcome::TooLarge:
            reason =
                writer + " wrote more than " + std::to_string(limits.maxOutputBytes >> 20) + " MiB";
            return false;
        case FilterOutcome::Failed:
            reason = writer + " failed";
            return false;
        case FilterOutcome::Done:
            break;
    }
    // Whatever it wrote must be a PDF: a file that begins with "%PDF-".
    if (pdf.compare(0, 5, "%PDF-") != 0) {
        reason = writer + " wrote no PDF";
        return false;
    }
    return true;
}

int reportBookFailure(const FileResult& failure, std::ostream& err) {
    err << "tessarin-cli: cannot write the calculation book " << failure.fileName << ": "
        << failure.reason << '\n';
    return kExitFile;
}

std::string pdfWriterPath() {
    if (!canRunPrograms()) return {};
    const std::string folder = executableFolder();
    if (folder.empty()) return {};
    return folder + "/tessarin-book";
}

FileResult checkBookWriter(BookFormat format) {
    if (format != BookFormat::Pdf || havePdfWriter()) return FileResult::success();
    return failure({}, kNoPdfWriter);
}

FileResult checkBookTarget(const std::string& path) {
    FileResult result = checkWritablePath(path);
    if (!result.ok) return result;
    result = checkBookWriter(bookFormatOf(path));
    if (!result.ok) result.fileName = path;
    return result;
}

FileResult writeBookFile(const Book& book, const std::string& path, StreamTarget streams) {
    const PdfRenderer pdf = [](const Book& whole, std::string& bytes, std::string& reason) {
        if (kPdfInProcess) return renderStandardPdf(whole, bytes, reason);
        if (!havePdfWriter()) {
            reason = kNoPdfWriter;
            return false;
        }
        return runPdfWriter(pdfWriterPath(), serializeBook(whole), bytes, reason);
    };
    return writeBook(book, path, pdf, streams);
}

}  // namespace tessarin
