#include "book/book_file.h"

#include <cerrno>

#include "book/book_docx.h"
#include "book/book_html.h"
#include "book/book_pdf_std.h"
#include "platform/file_system.h"

namespace tessarin {

namespace {

FileResult failure(const std::string& path, FileAction action, int error) {
    return FileResult::refusal(path, action, systemReason(error));
}

FileResult refuseTarget(const std::string& path) {
    if (path.empty()) return failure(path, FileAction::Write, ENOENT);
    const PathParts parts = splitPath(path);
    if (parts.name.empty() || parts.name == "." || parts.name == "..") {
        return failure(path, FileAction::Write, EISDIR);
    }
    // What the name leads to: a link to a directory or a device is refused as they are.
    const PathStatus status = inspectTarget(path);
    if (status.kind == PathKind::Directory) return failure(path, FileAction::Write, EISDIR);
    if (status.kind != PathKind::Absent && status.kind != PathKind::Regular) {
        return FileResult::refusal(path, FileAction::Write, "not a regular file");
    }
    return FileResult::success();
}

}  // namespace

FileResult checkWritablePath(const std::string& path) {
    FileResult refused = refuseTarget(path);
    if (!refused.ok) return refused;
    const PathParts parts = splitPath(path);
    const std::string folder = parts.folder.empty() ? "." : parts.folder;
    const PathStatus status = inspectTarget(folder);
    if (status.kind == PathKind::Absent) return failure(path, FileAction::Create, ENOENT);
    if (status.kind != PathKind::Directory) return failure(path, FileAction::Create, ENOTDIR);
    if (const int error = checkFolderWritable(folder); error != 0) {
        return FileResult::failure(path, FileAction::Create, error);
    }
    return FileResult::success();
}

BookFormat bookFormatOf(std::string_view path) {
    const auto endsWith = [path](std::string_view suffix) {
        if (path.size() < suffix.size()) return false;
        const std::string_view tail = path.substr(path.size() - suffix.size());
        for (std::size_t i = 0; i < suffix.size(); ++i) {
            char c = tail[i];
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            if (c != suffix[i]) return false;
        }
        return true;
    };
    if (endsWith(".html") || endsWith(".htm")) return BookFormat::Html;
    if (endsWith(".pdf")) return BookFormat::Pdf;
    if (endsWith(".docx")) return BookFormat::Docx;
    return BookFormat::Unknown;
}

FileResult writeBook(const Book& book, const std::string& path, const PdfRenderer& pdf,
                     StreamTarget streams) {
    switch (bookFormatOf(path)) {
        case BookFormat::Html:
        case BookFormat::Unknown:
            return writeWholeFile(path, renderBookHtml(book), streams);
        case BookFormat::Docx:
            return writeWholeFile(path, renderBookDocx(book), streams);
        case BookFormat::Pdf: {
            std::string bytes, reason;
            if (!pdf(book, bytes, reason)) {
                return FileResult::refusal(path, FileAction::Write, reason);
            }
            return writeWholeFile(path, bytes, streams);
        }
    }
    return FileResult::success();
}

bool renderStandardPdf(const Book& book, std::string& pdf, std::string& /*reason*/) {
    pdf = renderBookPdfStd(book);
    return true;
}

}  // namespace tessarin
