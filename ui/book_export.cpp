#include "ui/book_export.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "book_pdf/book_pdf.h"
#include "report/book/book_file.h"
#include "report/book/book_html.h"
#include "report/whole_file.h"
#include "ui/message_box.h"

namespace tessarin {

namespace {

const QString kHtmlFilter = QStringLiteral("HTML 计算书 (*.html *.htm)");
const QString kPdfFilter = QStringLiteral("PDF 计算书 (*.pdf)");

FileResult failure(const std::string& path, std::string reason) {
    return FileResult::refusal(path, FileAction::Write, std::move(reason));
}

}  // namespace

FileResult writeCalculationBook(const Book& book, const std::string& path) {
    // A book is a file of its own: never a directory, a device or a pipe, as on the command line.
    FileResult target = checkWritablePath(path);
    if (!target.ok) return target;
    switch (bookFormatOf(path)) {
        case BookFormat::Html:
        case BookFormat::Unknown:
            return writeWholeFile(path, renderBookHtml(book));
        case BookFormat::Pdf: {
            std::string pdf, error;
            if (!renderBookPdf(book, pdf, error)) return failure(path, error);
            return writeWholeFile(path, pdf);
        }
    }
    return FileResult::success();
}

QString exportCalculationBook(QWidget* parent, const Book& book, const QString& suggestedName) {
    QFileDialog dialog(parent, QStringLiteral("导出计算书"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters({kHtmlFilter, kPdfFilter});
    dialog.setDefaultSuffix(QStringLiteral("html"));
    // A name typed without a suffix takes the one of the chosen filter.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& filter) {
                         dialog.setDefaultSuffix(filter == kPdfFilter ? QStringLiteral("pdf")
                                                                      : QStringLiteral("html"));
                     });
    dialog.setDirectory(QDir::current());
    dialog.selectFile(suggestedName + QStringLiteral(".html"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    QString path = dialog.selectedFiles().constFirst();
    if (bookFormatOf(path.toStdString()) == BookFormat::Unknown) {
        path += dialog.selectedNameFilter() == kPdfFilter ? QStringLiteral(".pdf")
                                                          : QStringLiteral(".html");
    }
    return saveCalculationBook(parent, book, path) ? path : QString();
}

bool saveCalculationBook(QWidget* parent, const Book& book, const QString& path) {
    const FileResult written =
        writeCalculationBook(book, QDir::toNativeSeparators(path).toStdString());
    if (written.ok) return true;
    showMessageBox(parent, Message{"无法写入计算书 " + written.fileName + "\r\n" + written.reason,
                                   programName(), MessageKind::Error});
    return false;
}

}  // namespace tessarin
