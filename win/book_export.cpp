#include "win/book_export.h"

#include <commdlg.h>

#include "report/book/book_file.h"
#include "report/book/book_html.h"
#include "win/dialog_window.h"
#include "win/wide_file.h"
#include "win/wide_text.h"

namespace tessarin {

FileResult writeCalculationBook(const Book& book, const std::wstring& path) {
    if (bookFormatOf(narrow(path)) == BookFormat::Pdf) {
        return FileResult::refusal(narrow(path), FileAction::Write,
                                   "Windows 版桌面程序的计算书为 HTML 格式(.html),"
                                   "可在浏览器中打开、打印或另存为 PDF");
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
    dialog.lpstrFilter = L"HTML 计算书 (*.html)\0*.html;*.htm\0";
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrTitle = L"导出计算书";
    dialog.lpstrDefExt = L"html";
    // OFN_NOCHANGEDIR: Result.txt is written in the current folder, which must stay.
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetSaveFileNameW(&dialog)) return {};
    std::string path = narrow(file);
    const FileResult written = writeCalculationBook(book, file);
    if (!written.ok) {
        messageBox(owner, "无法写入计算书 " + written.fileName + "\r\n" + written.reason,
                   narrow(programName()), MB_OK | MB_ICONSTOP);
        return {};
    }
    return path;
}

}  // namespace tessarin
