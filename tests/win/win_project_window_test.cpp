// The project window on Windows, under wine: built from the view model's tables, driven by the
// keyboard and the clipboard as an engineer drives it, its section painted by GDI, its settings
// kept per user, and its results the ones tessarin-cli --open gives for the same project.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "views/dialog_templates.h"
#include "win/bar_preferences_dialog.h"
#include "win/main_dialog.h"
#include "win/project_window.h"
#include "win/wide_file.h"
#include "win/wide_text.h"
#include "win/window_settings.h"

namespace tessarin {
namespace {

// Every message queued for this thread, through the window's keyboard handling as the
// program's own loop passes them.
void pump(ProjectWindow& window) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (window.translate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void key(ProjectWindow& window, HWND target, WPARAM code) {
    PostMessageW(target, WM_KEYDOWN, code, 1);
    PostMessageW(target, WM_KEYUP, code, 0xC0000001);
    pump(window);
}

void type(ProjectWindow& window, HWND target, const std::wstring& text) {
    for (const wchar_t c : text) {
        // The first character starts the cell's editor, which takes the rest.
        HWND into = window.cellEditor() != nullptr ? window.cellEditor() : target;
        PostMessageW(into, WM_CHAR, c, 1);
        pump(window);
    }
}

void setClipboard(HWND owner, const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

std::wstring clipboardText(HWND owner) {
    std::wstring text;
    if (!OpenClipboard(owner)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

std::string readBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<absent>";
    std::string bytes(1 << 22, '\0');
    DWORD got = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    bytes.resize(got);
    return bytes;
}

std::wstring headerText(HWND list, int column) {
    wchar_t text[128] = {};
    LVCOLUMNW item{};
    item.mask = LVCF_TEXT;
    item.pszText = text;
    item.cchTextMax = 128;
    SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column),
                 reinterpret_cast<LPARAM>(&item));
    return text;
}

int columnCount(HWND list) {
    return static_cast<int>(SendMessageW(
        reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMCOUNT, 0, 0));
}

// A folder named 工程 of its own under the temporary folder, with the cases of two columns.
class ProjectWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        root_ = std::wstring(temp) + L"tessarin-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(root_.c_str(), nullptr);
        folder_ = root_ + L"\\工程";
        CreateDirectoryW(folder_.c_str(), nullptr);
        // The start-up case of the current-code dialog, and a square column.
        ASSERT_TRUE(writeWholeFileWide(folder_ + L"\\柱.csv",
                                       "id,l0,b,h,M0x,M0y,N,concrete,steel\n"
                                       "KZ7,6000,400,600,244,120,400,C30,HRB400\n"
                                       "KZ8,4500,500,500,200,200,1000,C35,HRB400\n")
                        .ok);
        ProjectViewModel maker;
        maker.editInfo(InfoField::Name, "某综合楼");
        ASSERT_EQ(maker.importCases(narrow(folder_ + L"\\柱.csv")), "");
        project_ = narrow(folder_ + L"\\综合楼.tsn");
        ASSERT_TRUE(maker.saveAs(project_).ok);
    }
    void TearDown() override {
        // What the cases wrote, then the folders (only when empty: nothing else is touched).
        for (const std::wstring& folder : {folder_ + L"\\计算书", folder_}) {
            WIN32_FIND_DATAW found{};
            HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
            if (search != INVALID_HANDLE_VALUE) {
                do {
                    DeleteFileW((folder + L"\\" + found.cFileName).c_str());
                } while (FindNextFileW(search, &found));
                FindClose(search);
            }
            RemoveDirectoryW(folder.c_str());
        }
        RemoveDirectoryW(root_.c_str());
    }
    std::wstring root_;
    std::wstring folder_;
    std::string project_;
};

// The accelerators the engineer knows from every Windows program, and F5 for 设计全部.
TEST_F(ProjectWindowTest, AcceleratorsGiveTheCommands) {
    ProjectWindow window(false);
    ASSERT_TRUE(window.create(SW_SHOWNOACTIVATE));
    std::vector<ACCEL> keys(
        static_cast<std::size_t>(CopyAcceleratorTableW(window.accelerators(), nullptr, 0)));
    CopyAcceleratorTableW(window.accelerators(), keys.data(), static_cast<int>(keys.size()));
    const auto commandOf = [&](BYTE modifiers, WORD code) {
        for (const ACCEL& entry : keys) {
            if (entry.key == code && (entry.fVirt & ~FNOINVERT) == (FVIRTKEY | modifiers))
                return static_cast<int>(entry.cmd);
        }
        return -1;
    };
    const struct {
        BYTE modifiers;
        WORD code;
        int command;
    } cases[] = {
        {FCONTROL, 'N', ProjectWindow::New},  {FCONTROL, 'O', ProjectWindow::Open},
        {FCONTROL, 'S', ProjectWindow::Save}, {FCONTROL | FSHIFT, 'S', ProjectWindow::SaveAs},
        {FCONTROL, 'Z', ProjectWindow::Undo}, {FCONTROL, 'Y', ProjectWindow::Redo},
        {FCONTROL, 'C', ProjectWindow::Copy}, {FCONTROL, 'V', ProjectWindow::Paste},
        {0, VK_F5, ProjectWindow::DesignAll},
    };
    for (const auto& c : cases) EXPECT_EQ(commandOf(c.modifiers, c.code), c.command) << c.code;
}

// The list's and the grid's columns and the fields are the view model's, in its order: what
// another engineer adds there appears here without a change.
TEST_F(ProjectWindowTest, ColumnsAndFieldsComeFromTheViewModel) {
    ProjectWindow window(false);
    ASSERT_TRUE(window.create(SW_SHOWNOACTIVATE));
    ASSERT_EQ(columnCount(window.columnList()), static_cast<int>(kColumnRowFields));
    for (std::size_t i = 0; i < kColumnRowFields; ++i) {
        EXPECT_EQ(narrow(headerText(window.columnList(), static_cast<int>(i))), columnRowHeader(i));
    }
    ASSERT_EQ(columnCount(window.combinationGrid()), static_cast<int>(kCombinationColumns));
    for (std::size_t i = 0; i < kCombinationColumns; ++i) {
        EXPECT_EQ(narrow(headerText(window.combinationGrid(), static_cast<int>(i))),
                  combinationColumnLabel(i));
    }
    for (const ColumnFieldSpec& entry : columnFieldSpecs()) {
        wchar_t name[32] = {};
        GetClassNameW(window.fieldControl(entry.field), name, 32);
        EXPECT_EQ(std::wstring(name),
                  entry.kind == ColumnFieldSpec::Kind::Choice ? L"ComboBox" : L"Edit")
            << entry.name;
    }
    for (const InfoFieldSpec& entry : infoFieldSpecs())
        EXPECT_NE(window.infoControl(entry.field), nullptr);
}

// Open, a combination edited by the keyboard, a block pasted from Excel, 设计全部, save,
// reopen, and the book, drawings and results exported into 工程: the results are those of
// tessarin-cli --open on the saved project (TESSARIN_CLI names it), behind Excel's byte-order mark.
TEST_F(ProjectWindowTest, OpenEditPasteDesignSaveReopenAndExport) {
    ProjectWindow window(false);
    ASSERT_TRUE(window.create(SW_SHOWNORMAL));
    ASSERT_EQ(window.openFile(project_, true), "");
    ProjectViewModel& vm = window.viewModel();
    ASSERT_EQ(vm.columnCount(), 2U);
    EXPECT_EQ(SendMessageW(window.columnList(), LVM_GETITEMCOUNT, 0, 0), 2);

    // The first column chosen in the list: its fields and its one combination show.
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(window.columnList(), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    pump(window);
    ASSERT_EQ(vm.selected(), 0U);
    wchar_t mark[64] = {};
    GetWindowTextW(window.fieldControl(ColumnField::Mark), mark, 64);
    EXPECT_EQ(std::wstring(mark), L"KZ7");
    ASSERT_EQ(vm.combinationCount(), 1U);
    EXPECT_EQ(vm.cellText(0, 0), "400");

    // A field typed and left with Enter: the view model has it, as one step to undo named by the
    // column and the field ("编辑 " + mark + " " + the field's name); a value that is no number
    // is refused with a message naming the field, and the field shows the value kept.
    HWND width = window.fieldControl(ColumnField::B);
    SetWindowTextW(width, L"450");
    key(window, width, VK_RETURN);
    EXPECT_EQ(vm.fieldText(ColumnField::B), "450");
    EXPECT_EQ(vm.undoText(), "撤销 编辑 KZ7 截面宽度 b");
    SetWindowTextW(width, L"4S0");
    key(window, width, VK_RETURN);
    EXPECT_EQ(vm.fieldText(ColumnField::B), "450");
    wchar_t shown[64] = {};
    GetWindowTextW(width, shown, 64);
    EXPECT_EQ(std::wstring(shown), L"450");
    wchar_t refusal[256] = {};
    GetWindowTextW(window.messageLabel(), refusal, 256);
    EXPECT_EQ(narrow(refusal).rfind("截面宽度 b", 0), 0U) << narrow(refusal);
    SendMessageW(window.handle(), WM_COMMAND, ProjectWindow::Undo, 0);
    EXPECT_EQ(vm.fieldText(ColumnField::B), "400");

    // In the grid: Right to M2x, 3 0 0 typed over it, Enter keeps it and moves down.
    HWND grid = window.combinationGrid();
    SetFocus(grid);
    key(window, grid, VK_RIGHT);
    EXPECT_EQ(window.currentCell(), 1U);
    type(window, grid, L"300");
    ASSERT_NE(window.cellEditor(), nullptr);
    key(window, window.cellEditor(), VK_RETURN);
    EXPECT_EQ(window.cellEditor(), nullptr);
    EXPECT_EQ(vm.cellText(0, 1), "300");
    EXPECT_TRUE(vm.modified());
    // F2 on it, a wrong text, Escape: the cell keeps 300.
    key(window, grid, VK_F2);
    ASSERT_NE(window.cellEditor(), nullptr);
    SetWindowTextW(window.cellEditor(), L"3OO");
    key(window, window.cellEditor(), VK_ESCAPE);
    EXPECT_EQ(vm.cellText(0, 1), "300");

    // Two rows from Excel (tabs, CR LF) pasted at the first cell of a new second row.
    SendMessageW(window.handle(), WM_COMMAND, ProjectWindow::AddCombination, 0);
    pump(window);
    ASSERT_EQ(vm.combinationCount(), 2U);
    setClipboard(window.handle(), L"1500\t100\t80\r\n1800\t120\t90\r\n");
    SetFocus(grid);
    SendMessageW(window.handle(), WM_COMMAND, ProjectWindow::Paste, 0);
    pump(window);
    ASSERT_EQ(vm.combinationCount(), 3U);
    const struct {
        std::size_t row;
        std::size_t cell;
        const char* text;
    } cells[] = {{0, 0, "400"}, {0, 1, "300"},  {0, 2, "120"}, {1, 0, "1500"}, {1, 1, "100"},
                 {1, 2, "80"},  {2, 0, "1800"}, {2, 1, "120"}, {2, 2, "90"}};
    for (const auto& c : cells)
        EXPECT_EQ(vm.cellText(c.row, c.cell), c.text) << c.row << "," << c.cell;
    // A block with a word in it is refused whole and said so; nothing changes.
    setClipboard(window.handle(), L"2000\tabc\t10\r\n");
    SendMessageW(window.handle(), WM_COMMAND, ProjectWindow::Paste, 0);
    pump(window);
    EXPECT_EQ(vm.combinationCount(), 3U);
    wchar_t said[256] = {};
    GetWindowTextW(window.messageLabel(), said, 256);
    EXPECT_NE(std::wstring(said).find(L"abc"), std::wstring::npos) << narrow(said);
    // Copy back: the pasted rows chosen (the paste left the first of them current), as a
    // spreadsheet takes them: tabs, CR LF.
    SendMessageW(grid, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&state));
    pump(window);
    SendMessageW(window.handle(), WM_COMMAND, ProjectWindow::Copy, 0);
    // Every column of the rows goes (the end-moment ratios, 1 where the block gave none, and
    // whatever columns the grid has after them).
    const std::wstring copied = clipboardText(window.handle());
    EXPECT_EQ(copied.rfind(L"1500\t100\t80\t1\t1", 0), 0U) << narrow(copied);
    EXPECT_NE(copied.find(L"\r\n1800\t120\t90\t1\t1"), std::wstring::npos) << narrow(copied);
    EXPECT_EQ(copied.substr(copied.size() - 2), L"\r\n");
    // Undo takes the paste back, redo brings it again.
    SendMessageW(window.handle(), WM_COMMAND, ProjectWindow::Undo, 0);
    EXPECT_EQ(vm.combinationCount(), 2U);
    SendMessageW(window.handle(), WM_COMMAND, ProjectWindow::Redo, 0);
    EXPECT_EQ(vm.combinationCount(), 3U);

    // 设计全部 on the worker thread; the window's loop runs meanwhile.
    SendMessageW(window.handle(), WM_COMMAND, ProjectWindow::DesignAll, 0);
    for (int i = 0; i < 600 && window.designRunning(); ++i) {
        pump(window);
        Sleep(50);
    }
    pump(window);
    ASSERT_FALSE(window.designRunning());
    EXPECT_EQ(vm.row(0).status, "已设计");
    EXPECT_EQ(vm.row(1).status, "已设计");
    EXPECT_EQ(vm.designSummary(), "共 2 根柱：已设计 2，无可用配筋 0，输入有误 0，未设计 0");

    // Saved, and reopened in a window of its own: the edits are there.
    ASSERT_EQ(window.saveTo(project_), "");
    EXPECT_FALSE(vm.modified());
    ProjectWindow reopened(false);
    ASSERT_TRUE(reopened.create(SW_SHOWNOACTIVATE));
    ASSERT_EQ(reopened.openFile(project_, true), "");
    reopened.viewModel().select(0);
    EXPECT_EQ(reopened.viewModel().cellText(0, 1), "300");
    EXPECT_EQ(reopened.viewModel().cellText(2, 2), "90");
    EXPECT_EQ(reopened.viewModel().infoText(InfoField::Name), "某综合楼");

    // The books into 工程\计算书, with the project's name on them; the results CSV.
    ASSERT_EQ(reopened.exportBooksTo(narrow(folder_ + L"\\计算书")), "");
    int books = 0;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder_ + L"\\计算书\\KZ7*.html").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    do {
        ++books;
        EXPECT_NE(readBytes(folder_ + L"\\计算书\\" + found.cFileName).find("某综合楼"),
                  std::string::npos);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    EXPECT_GE(books, 1);
    const std::wstring results = folder_ + L"\\结果.csv";
    ASSERT_EQ(reopened.exportResultsTo(narrow(results)), "");
    const std::string csv = readBytes(results);
    ASSERT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");

    wchar_t cli[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"TESSARIN_CLI", cli, MAX_PATH) == 0) {
        GTEST_SKIP() << "TESSARIN_CLI not set: not compared with tessarin-cli --open";
    }
    const std::wstring reference = folder_ + L"\\cli.csv";
    std::wstring line = L"\"" + std::wstring(cli) + L"\" --open \"" + widen(project_) +
                        L"\" --out \"" + reference + L"\"";
    STARTUPINFOW start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                               nullptr, nullptr, &start, &process));
    WaitForSingleObject(process.hProcess, 120000);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(exitCode, 0U);
    // The same rows, byte for byte, after the mark.
    EXPECT_EQ(csv.substr(3), readBytes(reference));
}

// What a modal dialog's run does once it shows: a one-shot timer finds the dialog by its title
// and acts on it inside the run's own message loop.
std::function<void(HWND)>& dialogStep() {
    static std::function<void(HWND)> step;
    return step;
}
std::wstring& dialogTitle() {
    static std::wstring title;
    return title;
}
void CALLBACK actOnDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowW(L"#32770", dialogTitle().c_str());
    if (dialog == nullptr) return;  // not up yet: the timer comes again
    KillTimer(nullptr, timer);
    dialogStep()(dialog);
}
void whenDialogShows(const std::wstring& title, std::function<void(HWND)> step) {
    dialogTitle() = title;
    dialogStep() = std::move(step);
    SetTimer(nullptr, 0, 50, actOnDialog);
}

std::wstring textOf(HWND control) {
    wchar_t text[512] = {};
    GetWindowTextW(control, text, 512);
    return text;
}

std::wstring menuText(HWND window, int id) {
    wchar_t text[128] = {};
    GetMenuStringW(GetMenu(window), static_cast<UINT>(id), text, 128, MF_BYCOMMAND);
    return text;
}

// 配筋参数 from the 工程 menu, over the window's view model: a smallest middle bar of 13 is refused
// in red in the dialog, which stays; 14 with Enter is taken and reaches both columns, which
// follow the project. The second column's own, with 采用工程的配筋参数 cleared and a step of 4:
// its line beside the button says （本柱）, and Ctrl+Z's command makes it follow again. Then the
// column schedule (导出 → 柱表) as DXF and as PDF in the standard face.
TEST_F(ProjectWindowTest, BarPreferencesDialogAndColumnSchedule) {
    ProjectWindow window(false);
    ASSERT_TRUE(window.create(SW_SHOWNORMAL));
    ASSERT_EQ(window.openFile(project_, true), "");
    ProjectViewModel& vm = window.viewModel();
    EXPECT_EQ(menuText(window.handle(), ProjectWindow::ProjectPreferences), L"工程的配筋参数(&B)…");
    EXPECT_EQ(menuText(window.handle(), ProjectWindow::ColumnPreferences),
              L"所选柱的配筋参数(&C)…");
    EXPECT_EQ(menuText(window.handle(), ProjectWindow::ExportSchedule), L"柱表(&S)…");

    std::wstring refusal;
    bool followShown = true;
    bool stayedOpen = false;
    whenDialogShows(L"工程的配筋参数", [&](HWND dialog) {
        followShown = IsWindowVisible(GetDlgItem(dialog, kIdFollowProject)) != FALSE;
        HWND smallest = GetDlgItem(dialog, kIdPreferenceFirst + 1);
        SetWindowTextW(smallest, L"13");
        SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        refusal = textOf(GetDlgItem(dialog, kIdPreferenceMessage));
        stayedOpen = IsWindow(dialog) != FALSE;
        SetWindowTextW(smallest, L"14");
        // Enter in the field: the dialog manager gives the default button, OK.
        PostMessageW(smallest, WM_KEYDOWN, VK_RETURN, 1);
        PostMessageW(smallest, WM_KEYUP, VK_RETURN, 0xC0000001);
    });
    SendMessageW(window.handle(), WM_COMMAND, ProjectWindow::ProjectPreferences, 0);
    EXPECT_FALSE(followShown);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(
        narrow(refusal),
        "最小中部筋直径：13 不是可用的钢筋直径（12、14、16、18、20、22、25、28、32、36、40）");
    EXPECT_EQ(vm.preferenceText(PreferenceScope::Project, 1), "14");
    EXPECT_EQ(vm.undoText(), "撤销 编辑 工程的配筋参数");

    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(window.columnList(), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
    pump(window);
    ASSERT_EQ(vm.selected(), 1U);
    EXPECT_EQ(vm.preferenceText(PreferenceScope::Column, 1), "14");
    bool followed = false;
    bool greyed = false;
    whenDialogShows(L"KZ8 的配筋参数", [&](HWND dialog) {
        followed =
            SendMessageW(GetDlgItem(dialog, kIdFollowProject), BM_GETCHECK, 0, 0) == BST_CHECKED;
        greyed = IsWindowEnabled(GetDlgItem(dialog, kIdPreferenceFirst + 2)) == FALSE;
        SendMessageW(GetDlgItem(dialog, kIdFollowProject), BM_CLICK, 0, 0);
        SetWindowTextW(GetDlgItem(dialog, kIdPreferenceFirst + 2), L"4");
        SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    SendMessageW(window.handle(), WM_COMMAND, ProjectWindow::ColumnPreferences, 0);
    EXPECT_TRUE(followed);
    EXPECT_TRUE(greyed);
    EXPECT_EQ(vm.preferenceText(PreferenceScope::Column, 2), "4");
    EXPECT_FALSE(vm.columnFollowsProject());
    const std::string line = narrow(textOf(window.columnPreferencesLabel()));
    const std::string own = "级差≤4；b/h中部筋可不同；方柱四边相同（本柱）";
    ASSERT_GE(line.size(), own.size());
    EXPECT_EQ(line.substr(line.size() - own.size()), own) << line;
    SendMessageW(window.handle(), WM_COMMAND, ProjectWindow::Undo, 0);
    EXPECT_TRUE(vm.columnFollowsProject());
    EXPECT_EQ(narrow(textOf(window.columnPreferencesLabel())).find("（工程）") != std::string::npos,
              true);

    // The schedule: both columns design (the start-up case and a square one), so nothing to say.
    EXPECT_EQ(window.exportScheduleTo(narrow(folder_ + L"\\柱表.dxf")), "");
    EXPECT_NE(readBytes(folder_ + L"\\柱表.dxf").find("SECTION"), std::string::npos);
    EXPECT_EQ(window.exportScheduleTo(narrow(folder_ + L"\\柱表.pdf")), "");
    EXPECT_EQ(readBytes(folder_ + L"\\柱表.pdf").substr(0, 5), "%PDF-");
}

// The 2002 dialog's context menu opens the project window beside it (one, brought forward when
// asked again); Escape on the dialog, which ends the program, closes an unmodified project window
// with it.
TEST(ProjectWindowBesideTheDialog, OpenedFromTheDialogAndClosedWithIt) {
    ASSERT_NE(LoadLibraryW(L"msftedit.dll"), nullptr);
    MainDialog dialog;
    ASSERT_TRUE(dialog.create(nullptr));
    EXPECT_EQ(FindWindowW(L"TessarinProjectWindow", nullptr), nullptr);
    dialog.showProjectWindow();
    HWND project = FindWindowW(L"TessarinProjectWindow", nullptr);
    ASSERT_NE(project, nullptr);
    dialog.showProjectWindow();
    EXPECT_EQ(FindWindowW(L"TessarinProjectWindow", nullptr), project);
    SendMessageW(dialog.handle(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(project));
    dialog.destroy();
}

// The section to scale, painted by GDI: a 400 × 400 pixel box at 96 dpi leaves an area from
// (40, 20) to (380, 350), 340 × 330; a 400 × 600 section takes the scale min(340/400, 330/600) =
// 0.55 about the centre (210, 185). A C28 corner bar at (-158, 258) mm (c + ds + d/2 = 20 + 8 +
// 14 = 34 mm from b/2 = 200 and 42 mm from h/2 = 300) sits at (210 - 86.9, 185 - 141.9) =
// (123, 43) with a radius of 7.7 pixels; the centre of the section is concrete, the corner of the
// box white.
TEST(SectionPicturePainting, BarsAndOutlineAtTheirScale) {
    SectionPicture picture;
    picture.width = 400;
    picture.height = 600;
    picture.stirrupInset = 24;
    picture.bars.push_back({-158, 258, 28, true});
    picture.bars.push_back({0, -266, 12, false});
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 400, 400);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    const RECT box{0, 0, 400, 400};
    paintSectionPicture(memory, box, picture, 96, nullptr);
    const struct {
        int x;
        int y;
        COLORREF colour;
        const char* what;
    } points[] = {
        {5, 5, RGB(255, 255, 255), "the box's corner"},
        {210, 185, RGB(0xEE, 0xEE, 0xEE), "the section's centre"},
        {123, 43, RGB(0x10, 0x10, 0x10), "the corner bar"},
        // The web bar at (0, -266): (210, 185 + 146.3) = (210, 331), radius 3.3.
        {210, 331, RGB(0x50, 0x50, 0x50), "the web bar"},
    };
    for (const auto& p : points) EXPECT_EQ(GetPixel(memory, p.x, p.y), p.colour) << p.what;
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

// The window's settings per user: a Chinese path and the recent files come back as written;
// a frame too small to grab is no frame.
TEST(WindowSettingsTest, WrittenAndReadBack) {
    const wchar_t* key = L"Software\\Tessarin\\Test-ProjectWindow";
    WindowSettings written;
    written.bounds = RECT{100, 80, 1380, 880};
    written.maximized = true;
    written.lastProject = "C:\\工程\\综合楼.tsn";
    written.recentFiles = {"C:\\工程\\综合楼.tsn", "D:\\项目\\住宅 A.tsn"};
    ASSERT_TRUE(saveWindowSettings(key, written));
    const WindowSettings read = loadWindowSettings(key);
    ASSERT_TRUE(read.bounds.has_value());
    EXPECT_EQ(read.bounds->left, 100);
    EXPECT_EQ(read.bounds->bottom, 880);
    EXPECT_TRUE(read.maximized);
    EXPECT_EQ(read.lastProject, written.lastProject);
    EXPECT_EQ(read.recentFiles, written.recentFiles);

    WindowSettings tiny;
    tiny.bounds = RECT{0, 0, 50, 40};
    ASSERT_TRUE(saveWindowSettings(key, tiny));
    EXPECT_FALSE(loadWindowSettings(key).bounds.has_value());
    EXPECT_TRUE(loadWindowSettings(key).recentFiles.empty());
    RegDeleteKeyW(HKEY_CURRENT_USER, key);
}

}  // namespace
}  // namespace tessarin
