#include "win/book_export.h"

#include <commdlg.h>

#include "report/book/book_file.h"
#include "report/book/book_html.h"
#include "report/book/book_pdf_std.h"
#include "win/dialog_window.h"
#include "win/wide_file.h"
#include "win/wide_text.h"

namespace tessarin {

FileResult writeCalculationBook(const Book& book, const std::wstring& path) {
    // A PDF in the standard Adobe-GB1 Song face (no Qt on Windows: report/book/book_pdf_std.h);
    // any other name is the self-contained HTML book.
    if (bookFormatOf(narrow(path)) == BookFormat::Pdf) {
        return writeWholeFileWide(path, renderBookPdfStd(book));
    }
    return writeWholeFileWide(path, renderBookHtml(book));
}

std::string exportCalculationBook(HWND owner, const Book& book, const std::wstring& suggestedName) {
    wchar_t file[MAX_PATH] = {};
    const std::wstring suggested = suggestedName + L".html";
    suggested.copy(file, MAX_PATH - 1);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"HTML 计算书 (*.html)\0*.html;*.htm\0PDF 计算书 (*.pdf)\0*.pdf\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrTitle = L"导出计算书";
    dialog.lpstrDefExt = L"html";
    // OFN_NOCHANGEDIR: Result.txt is written in the current folder, which must stay.
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetSaveFileNameW(&dialog)) return {};
    std::wstring chosen = file;
    // The type chosen decides a name typed without either suffix ("计算书" with the PDF type is
    // 计算书.pdf); a name with its own suffix is what it says.
    if (dialog.nFilterIndex == 2 && bookFormatOf(narrow(chosen)) == BookFormat::Unknown) {
        chosen += L".pdf";
    }
    std::string path = narrow(chosen);
    const FileResult written = writeCalculationBook(book, chosen);
    if (!written.ok) {
        messageBox(owner, "无法写入计算书 " + written.fileName + "\r\n" + written.reason,
                   narrow(programName()), MB_OK | MB_ICONSTOP);
        return {};
    }
    return path;
}

}  // namespace tessarin
