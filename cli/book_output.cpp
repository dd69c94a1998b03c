#include "cli/book_output.h"

#include <ostream>

#include "cli/cli_exit.h"
#include "platform/process.h"
#include "report/book/book_file.h"
#include "report/book/book_html.h"
#include "report/book/book_pdf_std.h"
#include "report/book/book_serial.h"
#include "report/whole_file.h"

namespace tessarin {

namespace {

FileResult failure(const std::string& path, const std::string& reason) {
    return FileResult::refusal(path, FileAction::Write, reason);
}

constexpr const char* kNoPdfWriter =
    "a PDF book needs tessarin-book, the PDF writer of the desktop build (with Qt), beside "
    "tessarin-cli; an HTML book (.html) works everywhere";

// Windows has no Qt: the book's PDF is written here, in the standard Adobe-GB1 Song face
// (report/book/book_pdf_std.h). Linux keeps the Qt writer, whose faces are embedded.
#ifdef _WIN32
constexpr bool kPdfInProcess = true;
#else
constexpr bool kPdfInProcess = false;
#endif

bool havePdfWriter() {
    return kPdfInProcess || (canRunPrograms() && isExecutable(pdfWriterPath()));
}

}  // namespace

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

FileResult checkBookTarget(const std::string& path) {
    const BookFormat format = bookFormatOf(path);
    FileResult result = checkWritablePath(path);
    if (!result.ok) return result;
    if (format == BookFormat::pdf && !havePdfWriter()) return failure(path, kNoPdfWriter);
    return FileResult::success();
}

FileResult writeBookFile(const Book& book, const std::string& path, StreamTarget streams) {
    switch (bookFormatOf(path)) {
        case BookFormat::html:
        case BookFormat::unknown:
            return writeWholeFile(path, renderBookHtml(book), streams);
        case BookFormat::pdf: {
            if (kPdfInProcess) return writeWholeFile(path, renderBookPdfStd(book), streams);
            if (!havePdfWriter()) return failure(path, kNoPdfWriter);
            std::string pdf, reason;
            if (!runFilter(pdfWriterPath(), serializeBook(book), pdf, reason)) {
                return failure(path, reason);
            }
            return writeWholeFile(path, pdf, streams);
        }
    }
    return FileResult::success();
}

}  // namespace tessarin
