#include "win/book_export.h"

#include <commdlg.h>

#include "book/book_file.h"
#include "win/dialog_window.h"
#include "win/wide_text.h"

namespace tessarin {

FileResult writeCalculationBook(const Book& book, const std::wstring& path) {
    // HTML, Word or PDF by the name; the PDF in the standard Adobe-GB1 Song face (no Qt on
    // Windows: book/book_pdf_std.h). The platform layer opens the UTF-8 name with the wide API.
    return writeBook(book, narrow(path), renderStandardPdf);
}

std::string exportCalculationBook(HWND owner, const Book& book, const std::wstring& suggestedName) {
    wchar_t file[MAX_PATH] = {};
    const std::wstring suggested = suggestedName + L".html";
    suggested.copy(file, MAX_PATH - 1);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter =
        L"HTML 计算书 (*.html)\0*.html;*.htm\0PDF 计算书 (*.pdf)\0*.pdf\0"
        L"Word 计算书 (*.docx)\0*.docx\0";
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
    if (bookFormatOf(narrow(chosen)) == BookFormat::Unknown) {
        if (dialog.nFilterIndex == 2) chosen += L".pdf";
        if (dialog.nFilterIndex == 3) chosen += L".docx";
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
