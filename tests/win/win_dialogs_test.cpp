// The Win32 dialogs as the dialog manager builds them from the shared templates: controls,
// classes, tab order, default button, start values, the system menu's About entry and the Enter
// rule. Runs under wine with a display (tests/win/run_under_wine.sh).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "run/control_id.h"
#include "views/dialog_templates.h"
#include "views/pictures.h"
#include "win/book_export.h"
#include "win/dialog_builder.h"
#include "win/enter_navigation.h"
#include "win/main_dialog.h"
#include "win/picture_painter.h"
#include "win/scheme_dialog.h"
#include "win/section_check_dialog.h"
#include "win/small_dialogs.h"
#include "win/wide_file.h"
#include "win/wide_text.h"

namespace tessarin {
namespace {

std::wstring classOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring textOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

MSG keyDown(HWND target, WPARAM key) {
    MSG message{};
    message.hwnd = target;
    message.message = WM_KEYDOWN;
    message.wParam = key;
    return message;
}

class WinDialogs : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_NE(LoadLibraryW(L"msftedit.dll"), nullptr); }
};

TEST_F(WinDialogs, TemplateBytesHaveTheHeaderTheDialogManagerReads) {
    struct Case {
        const DialogTemplate* dialog;
        int width;
        int height;
    };
    // Sizes in dialog units as the templates give them: 100 is 235 x 55, 102 is 411 x 163, 130
    // is 261 x 228, 131 is 344 x 239.
    const Case cases[] = {{&kAboutTemplate, 235, 55},
                          {&kMainTemplate, 411, 163},
                          {&kSchemeTemplate, 261, 228},
                          {&kPrincipleDiagramTemplate, 344, 239}};
    for (const Case& c : cases) {
        const std::vector<std::uint32_t> bytes = buildDialogTemplate(*c.dialog, {}, {L"SimSun", 9});
        const auto* words = reinterpret_cast<const WORD*>(bytes.data());
        EXPECT_EQ(words[0], 1);       // dlgVer
        EXPECT_EQ(words[1], 0xFFFF);  // extended template
        const auto* style = reinterpret_cast<const DWORD*>(bytes.data()) + 3;
        EXPECT_NE(*style & DS_SETFONT, 0u);
        EXPECT_EQ(words[8], c.dialog->controls.size()) << c.dialog->number;
        EXPECT_EQ(words[11], c.width) << c.dialog->number;
        EXPECT_EQ(words[12], c.height) << c.dialog->number;
    }
}

TEST_F(WinDialogs, MainDialogStartsAsTheTemplateAndStartValuesSay) {
    MainDialog dialog;
    ASSERT_TRUE(dialog.create(nullptr));
    HWND window = dialog.handle();
    EXPECT_EQ(textOf(window), L"双向偏心受压矩形柱(beta1.0,2002.9.7)");

    // The fields show the start values of a new dialog.
    const std::pair<ControlId, const wchar_t*> fields[] = {
        {ControlId::L0, L"6000"}, {ControlId::B, L"400"},   {ControlId::H, L"600"},
        {ControlId::M0x, L"244"}, {ControlId::M0y, L"120"}, {ControlId::N, L"400"},
        {ControlId::Ax, L"40"},   {ControlId::Ay, L"40"}};
    for (const auto& [id, text] : fields) {
        HWND field = dialog.item(idOf(id));
        ASSERT_NE(field, nullptr) << idOf(id);
        EXPECT_EQ(textOf(field), text) << idOf(id);
        EXPECT_EQ(_wcsicmp(classOf(field).c_str(), L"edit"), 0);
    }
    HWND concrete = dialog.item(idOf(ControlId::ConcreteList));
    HWND steel = dialog.item(idOf(ControlId::SteelList));
    EXPECT_EQ(SendMessageW(concrete, CB_GETCOUNT, 0, 0), 14);
    EXPECT_EQ(SendMessageW(concrete, CB_GETCURSEL, 0, 0), 3);  // C30
    EXPECT_EQ(SendMessageW(steel, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(steel, CB_GETCURSEL, 0, 0), 2);  // HRB400
    wchar_t entry[16] = {};
    SendMessageW(concrete, CB_GETLBTEXT, 13, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, L"C80");
    // A rich-edit box, whose class the Enter rule does not take for "edit".
    EXPECT_EQ(_wcsicmp(classOf(dialog.item(idOf(ControlId::ResultBox))).c_str(), kResultBoxClass),
              0);
    EXPECT_EQ(textOf(dialog.item(idOf(ControlId::ResultBox))), L"");

    // "计算" is the default button.
    EXPECT_EQ(SendMessageW(window, DM_GETDEFID, 0, 0),
              MAKELONG(idOf(ControlId::Calculate), DC_HASDEFID));

    // Tab order: the template's order.
    const int order[] = {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007,
                         1008, 1009, 1010, 2,    1012, 1015, 1000};
    HWND at = dialog.item(1000);
    for (std::size_t i = 1; i < std::size(order); ++i) {
        at = GetNextDlgTabItem(window, at, FALSE);
        EXPECT_EQ(GetDlgCtrlID(at), order[i]) << "after " << order[i - 1];
    }

    // The system menu ends with a separator and the About entry, command 16.
    HMENU menu = GetSystemMenu(window, FALSE);
    ASSERT_NE(menu, nullptr);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(kAboutCommand));
    wchar_t caption[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(count - 1), caption, 64, MF_BYPOSITION);
    EXPECT_STREQ(caption, L"关于 Tessarin(&A)...");
    MENUITEMINFOW separator{};
    separator.cbSize = sizeof separator;
    separator.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu, static_cast<UINT>(count - 2), TRUE, &separator);
    EXPECT_NE(separator.fType & MFT_SEPARATOR, 0u);
    dialog.destroy();
}

TEST_F(WinDialogs, EnterInAFieldMovesOnAndElsewhereIsLeftToTheDialogManager) {
    MainDialog dialog;
    ASSERT_TRUE(dialog.create(nullptr));
    HWND window = dialog.handle();
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    HWND l0 = dialog.item(idOf(ControlId::L0));
    SendMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(l0), TRUE);
    ASSERT_EQ(GetFocus(), l0);

    // Enter (plain, and as an auto-repeat) in field 1000 moves to 1001 and selects its text.
    EXPECT_TRUE(advanceOnEnter(window, keyDown(l0, VK_RETURN)));
    HWND b = dialog.item(idOf(ControlId::B));
    EXPECT_EQ(GetFocus(), b);
    DWORD start = 1;
    DWORD end = 0;
    SendMessageW(b, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u);  // "400"

    // Enter in field 1007 moves on to the concrete list.
    HWND ay = dialog.item(idOf(ControlId::Ay));
    SendMessageW(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(ay), TRUE);
    EXPECT_TRUE(advanceOnEnter(window, keyDown(ay, VK_RETURN)));
    EXPECT_EQ(GetFocus(), dialog.item(idOf(ControlId::ConcreteList)));

    // Not taken: another key, a character message, the list, the result box, a button, a
    // window of another dialog.
    EXPECT_FALSE(advanceOnEnter(window, keyDown(l0, VK_TAB)));
    MSG character = keyDown(l0, VK_RETURN);
    character.message = WM_CHAR;
    EXPECT_FALSE(advanceOnEnter(window, character));
    EXPECT_FALSE(
        advanceOnEnter(window, keyDown(dialog.item(idOf(ControlId::ConcreteList)), VK_RETURN)));
    EXPECT_FALSE(
        advanceOnEnter(window, keyDown(dialog.item(idOf(ControlId::ResultBox)), VK_RETURN)));
    EXPECT_FALSE(
        advanceOnEnter(window, keyDown(dialog.item(idOf(ControlId::Calculate)), VK_RETURN)));
    EXPECT_FALSE(advanceOnEnter(window, keyDown(nullptr, VK_RETURN)));
    EXPECT_EQ(GetFocus(), dialog.item(idOf(ControlId::ConcreteList)));
    dialog.destroy();
}

TEST_F(WinDialogs, SchemeDialogOpensOnOkWithTheListAt22AndTheRatiosDisabled) {
    SchemeDialog dialog;
    ASSERT_TRUE(dialog.create(nullptr));
    HWND window = dialog.handle();
    EXPECT_EQ(textOf(window), L"配筋方案");
    EXPECT_EQ(GetFocus(), dialog.item(IDOK));
    HWND list = dialog.item(idOf(ControlId::DiameterList));
    EXPECT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), 11);
    EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), 5);
    wchar_t entry[16] = {};
    SendMessageW(list, CB_GETLBTEXT, 5, reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, L"22");
    EXPECT_TRUE(IsWindowEnabled(list));
    EXPECT_FALSE(IsWindowEnabled(dialog.item(idOf(ControlId::RatioX))));
    EXPECT_FALSE(IsWindowEnabled(dialog.item(idOf(ControlId::RatioY))));
    EXPECT_EQ(textOf(dialog.item(idOf(ControlId::RatioX))), L"0");
    EXPECT_EQ(IsDlgButtonChecked(window, idOf(ControlId::Scheme1)), BST_CHECKED);
    EXPECT_EQ(SendMessageW(window, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));
    // Tab stops: OK, the list (the radio buttons are none, checked or not).
    EXPECT_EQ(GetNextDlgTabItem(window, dialog.item(IDOK), FALSE), list);

    // Choosing scheme 2 disables the list and enables and focuses the ratio fields; Enter in
    // 1019 moves to 1020, Enter in 1020 on to OK.
    SendMessageW(dialog.item(idOf(ControlId::Scheme2)), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindowEnabled(list));
    HWND ratioX = dialog.item(idOf(ControlId::RatioX));
    HWND ratioY = dialog.item(idOf(ControlId::RatioY));
    EXPECT_TRUE(IsWindowEnabled(ratioX));
    EXPECT_EQ(GetFocus(), ratioX);
    EXPECT_TRUE(advanceOnEnter(window, keyDown(ratioX, VK_RETURN)));
    EXPECT_EQ(GetFocus(), ratioY);
    EXPECT_TRUE(advanceOnEnter(window, keyDown(ratioY, VK_RETURN)));
    EXPECT_EQ(GetFocus(), dialog.item(IDOK));
    EXPECT_EQ(GetNextDlgTabItem(window, dialog.item(IDOK), FALSE), ratioX);
    // Back to scheme 1: the list again, the fields disabled; Tab from OK reaches the list.
    SendMessageW(dialog.item(idOf(ControlId::Scheme1)), BM_CLICK, 0, 0);
    EXPECT_EQ(GetFocus(), list);
    EXPECT_FALSE(IsWindowEnabled(ratioX));
    EXPECT_EQ(GetNextDlgTabItem(window, dialog.item(IDOK), FALSE), list);
    dialog.destroy();
}

TEST_F(WinDialogs, PicturesAndIconAreTheProgramsResources) {
    // Bitmaps 129 and 133 at the pixel size of their pictures, icon 128.
    for (const PictureResource* picture : {&kPrincipleDiagramPicture, &kSchemeSketchPicture}) {
        auto* bitmap = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                                       MAKEINTRESOURCEW(picture->number),
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(bitmap, nullptr) << picture->number;
        BITMAP info{};
        GetObjectW(bitmap, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, picture->width) << picture->number;
        EXPECT_EQ(info.bmHeight, picture->height) << picture->number;
        DeleteObject(bitmap);
    }
    EXPECT_NE(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, 32,
                         32, 0),
              nullptr);
    wchar_t entry[64] = {};
    EXPECT_GT(LoadStringW(GetModuleHandleW(nullptr), kAboutEntryString, entry, 64), 0);
    EXPECT_EQ(narrow(entry), kAboutEntryText);
}

TEST_F(WinDialogs, PictureColoursAreReadAsTheBookWritesThem) {
    struct Case {
        const char* text;
        COLORREF colour;
    };
    // "#rrggbb" as in the book's pictures; anything else is black.
    const Case cases[] = {{"#c00000", RGB(0xc0, 0, 0)},    {"#106010", RGB(0x10, 0x60, 0x10)},
                          {"#FFFFFF", RGB(255, 255, 255)}, {"", RGB(0, 0, 0)},
                          {"c00000", RGB(0, 0, 0)},        {"#c0000g", RGB(0, 0, 0)},
                          {"#c000000", RGB(0, 0, 0)}};
    for (const Case& c : cases) EXPECT_EQ(colourOf(c.text), c.colour) << c.text;
}

class WideFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"工程-" + std::to_wstring(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
    }
    void TearDown() override {
        for (const wchar_t* name :
             {L"\\计算书.html", L"\\计算书.html.tessarin-tmp", L"\\计算书.pdf"}) {
            DeleteFileW((folder_ + name).c_str());
        }
        RemoveDirectoryW((folder_ + L"\\子文件夹.html").c_str());
        RemoveDirectoryW(folder_.c_str());
    }
    std::string read(const std::wstring& path) {
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return "<absent>";
        std::string bytes(1 << 20, '\0');
        DWORD got = 0;
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
        CloseHandle(file);
        bytes.resize(got);
        return bytes;
    }
    std::wstring folder_;
};

TEST_F(WideFiles, ABookInAChineseFolderIsWrittenWholeAndReplacedWhole) {
    const std::wstring path = folder_ + L"\\计算书.html";
    ASSERT_TRUE(writeWholeFileWide(path, "first").ok);
    EXPECT_EQ(read(path), "first");
    ASSERT_TRUE(writeWholeFileWide(path, "second, longer").ok);
    EXPECT_EQ(read(path), "second, longer");
    EXPECT_EQ(read(path + L".tessarin-tmp"), "<absent>");
}

TEST_F(WideFiles, AFolderOfTheBooksNameIsRefusedWithItsReason) {
    const std::wstring folderPath = folder_ + L"\\子文件夹.html";
    ASSERT_TRUE(CreateDirectoryW(folderPath.c_str(), nullptr));
    const FileResult folder = writeWholeFileWide(folderPath, "x");
    EXPECT_FALSE(folder.ok);
    EXPECT_EQ(folder.reason, "这是一个文件夹");
    EXPECT_EQ(folder.fileName, narrow(folderPath));
}

TEST_F(WideFiles, APdfBookIsWrittenIntoAChineseFolder) {
    Book book;
    book.title = "计算书";
    book.cover.project = "示例工程";
    book.blocks.emplace_back(BookParagraph{"正文"});
    const std::wstring path = folder_ + L"\\计算书.pdf";
    const FileResult pdf = writeCalculationBook(book, path);
    ASSERT_TRUE(pdf.ok) << pdf.reason;
    const std::string bytes = read(path);
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    // A title page and one page of text: two pages, the file closed by its end marker.
    EXPECT_NE(bytes.find("/Count 2 "), std::string::npos);
    ASSERT_GE(bytes.size(), 6U);
    EXPECT_EQ(bytes.substr(bytes.size() - 6), "%%EOF\n");
    EXPECT_EQ(read(path + L".tessarin-tmp"), "<absent>");
}

TEST_F(WinDialogs, SectionCheckShowsTheTextsOfTheStartUpDesign) {
    // The start-up design, scheme 1 with 22 mm corner bars: utilisation 0.933 (README, section
    // check), shown to two decimals.
    SectionCheckResult result;
    result.utilisation = 0.933;
    result.N = 400.0;
    SectionCheckDialog dialog(result, std::nullopt, nullptr);
    ASSERT_TRUE(dialog.create(nullptr));
    EXPECT_EQ(textOf(dialog.item(SectionCheckDialog::kUtilisation)), L"利用率 0.93");
    EXPECT_EQ(textOf(dialog.handle()), L"截面验算");
    // Without a way to export, the button is disabled; "关闭" has the focus and ends it.
    EXPECT_FALSE(IsWindowEnabled(dialog.item(SectionCheckDialog::kExportBook)));
    EXPECT_EQ(GetFocus(), dialog.item(IDCANCEL));
    dialog.destroy();
}

}  // namespace
}  // namespace tessarin
