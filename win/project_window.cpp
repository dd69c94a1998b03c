#include "win/project_window.h"

// after windows.h
#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <cwchar>

#include "project/project_file.h"
#include "win/bar_preferences_dialog.h"
#include "win/dialog_builder.h"
#include "win/message_parameter.h"
#include "win/wide_text.h"
#include "win/window_settings.h"

namespace tessarin {

namespace {

constexpr const wchar_t* kWindowClass = L"TessarinProjectWindow";
constexpr const wchar_t* kPictureClass = L"TessarinSectionPicture";
constexpr const char* kCaption = "Tessarin 柱设计";

// Posted by the worker thread: progress (done, total) and the end of the run.
constexpr UINT kProgressMessage = WM_APP + 1;
constexpr UINT kDesignDoneMessage = WM_APP + 2;
// Posted when the cell editor lost the focus: it ends after its own message has been handled.
constexpr UINT kEndEditMessage = WM_APP + 3;

enum ControlId : int {
    kListId = 300,
    kGridId,
    kTabsId,
    kReportId,
    kPictureId,
    kSummaryId,
    kMessageId,
    kEditorId,
    kToolbarId,
    kStatusId,
    kInfoFirst = 400,
    kFieldFirst = 500,
};

std::string windowText(HWND control) {
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    const int got = GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return narrow(text);
}

// The text of a control, only when it differs: an edit keeps its caret and selection.
void setText(HWND control, const std::string& text) {
    if (windowText(control) != text) SetWindowTextW(control, widen(text).c_str());
}

// Line ends as an edit control shows them.
std::string withCrLf(const std::string& text) {
    std::string result;
    result.reserve(text.size() + text.size() / 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) result.push_back('\r');
        result.push_back(text[i]);
    }
    return result;
}

bool isChoice(HWND control) {
    wchar_t name[32] = {};
    GetClassNameW(control, name, 32);
    return _wcsicmp(name, L"ComboBox") == 0;
}

bool isEdit(HWND control) {
    wchar_t name[32] = {};
    GetClassNameW(control, name, 32);
    return _wcsicmp(name, L"Edit") == 0;
}

std::string choiceText(HWND list) {
    const auto index = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return {};
    const auto length = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(length, 0)));
    return narrow(text);
}

void setChoice(HWND list, const std::string& text) {
    const std::wstring wide = widen(text);
    const auto index = SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(wide.c_str()));
    SendMessageW(list, CB_SETCURSEL,
                 index == CB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(index), 0);
}

COLORREF rgbOf(unsigned rgb) {
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// A length as the picture labels it: "400", "412.5"; never in the locale's digits.
std::wstring lengthText(double value) {
    char buffer[32] = {};
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    return widen(std::string(buffer, written.ptr));
}

HWND makeControl(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style,
                 int id, DWORD exStyle = 0) {
    return CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0,
                           10, 10, parent, fromParameter<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

LRESULT CALLBACK pictureProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = fromParameter<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    if (message == WM_ERASEBKGND) return 1;
    if (message == WM_PAINT) {
        PAINTSTRUCT paint{};
        HDC screen = BeginPaint(window, &paint);
        RECT box{};
        GetClientRect(window, &box);
        // Drawn off screen first: no flicker while the window is resized.
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, std::max<LONG>(box.right, 1),
                                                std::max<LONG>(box.bottom, 1));
        HGDIOBJ previous = SelectObject(memory, bitmap);
        const auto* picture =
            fromParameter<const SectionPicture*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        const auto font = fromParameter<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
        if (picture != nullptr) {
            paintSectionPicture(memory, box, *picture, static_cast<int>(GetDpiForWindow(window)),
                                font);
        }
        BitBlt(screen, 0, 0, box.right, box.bottom, memory, 0, 0, SRCCOPY);
        SelectObject(memory, previous);
        DeleteObject(bitmap);
        DeleteDC(memory);
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_SETFONT) {
        SetPropW(window, L"font", fromParameter<HANDLE>(wParam));
        if (LOWORD(lParam) != 0) InvalidateRect(window, nullptr, FALSE);
        return 0;
    }
    if (message == WM_GETFONT) return reinterpret_cast<LRESULT>(GetPropW(window, L"font"));
    if (message == WM_NCDESTROY) RemovePropW(window, L"font");
    return DefWindowProcW(window, message, wParam, lParam);
}

bool registerClasses() {
    static const bool registered = [] {
        WNDCLASSEXW main{};
        main.cbSize = sizeof main;
        main.style = CS_HREDRAW | CS_VREDRAW;
        main.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
            return DefWindowProcW(window, message, wParam, lParam);
        };
        main.hInstance = GetModuleHandleW(nullptr);
        main.hIcon = LoadIconW(main.hInstance, MAKEINTRESOURCEW(128));
        main.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        main.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        main.lpszClassName = kWindowClass;
        WNDCLASSEXW picture{};
        picture.cbSize = sizeof picture;
        picture.lpfnWndProc = pictureProcedure;
        picture.hInstance = main.hInstance;
        picture.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        picture.lpszClassName = kPictureClass;
        return RegisterClassExW(&main) != 0 && RegisterClassExW(&picture) != 0;
    }();
    return registered;
}

}  // namespace

void paintSectionPicture(HDC context, const RECT& box, const SectionPicture& picture, int dpi,
                         HFONT font) {
    FillRect(context, &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const SectionPicture& p = picture;
    if (!(p.width > 0.0) || !(p.height > 0.0)) return;
    const auto px = [dpi](double pixels) { return pixels * dpi / 96.0; };
    const double left = box.left + px(40);
    const double top = box.top + px(20);
    const double right = box.right - px(20);
    const double bottom = box.bottom - px(50);
    if (right <= left || bottom <= top) return;
    const double scale = std::min((right - left) / p.width, (bottom - top) / p.height);
    const double cx = (left + right) / 2;
    const double cy = (top + bottom) / 2;
    const auto ix = [](double value) { return static_cast<int>(std::lround(value)); };
    const auto at = [&](double x, double y) {
        return POINT{ix(cx + x * scale), ix(cy - y * scale)};
    };
    const POINT topLeft = at(-p.width / 2, p.height / 2);
    const POINT bottomRight = at(p.width / 2, -p.height / 2);

    HGDIOBJ oldFont =
        SelectObject(context, font != nullptr ? font : GetStockObject(DEFAULT_GUI_FONT));
    HPEN outlinePen = CreatePen(PS_SOLID, std::max(1, ix(px(2))), RGB(0, 0, 0));
    HBRUSH concrete = CreateSolidBrush(RGB(0xEE, 0xEE, 0xEE));
    HGDIOBJ oldPen = SelectObject(context, outlinePen);
    HGDIOBJ oldBrush = SelectObject(context, concrete);
    Rectangle(context, topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
    if (p.stirrupInset > 0.0 && 2 * p.stirrupInset < std::min(p.width, p.height)) {
        HPEN stirrupPen = CreatePen(PS_SOLID, std::max(1, ix(px(1.2))), RGB(0x40, 0x40, 0x40));
        SelectObject(context, stirrupPen);
        SelectObject(context, GetStockObject(NULL_BRUSH));
        const POINT a = at(-p.width / 2 + p.stirrupInset, p.height / 2 - p.stirrupInset);
        const POINT b = at(p.width / 2 - p.stirrupInset, -p.height / 2 + p.stirrupInset);
        Rectangle(context, a.x, a.y, b.x, b.y);
        SelectObject(context, outlinePen);
        DeleteObject(stirrupPen);
    }
    SelectObject(context, GetStockObject(NULL_PEN));
    HBRUSH cornerBrush = CreateSolidBrush(RGB(0x10, 0x10, 0x10));
    HBRUSH webBrush = CreateSolidBrush(RGB(0x50, 0x50, 0x50));
    for (const SectionPicture::Circle& bar : p.bars) {
        SelectObject(context, bar.corner ? cornerBrush : webBrush);
        const double r = bar.diameter / 2 * scale;
        const double x = cx + bar.x * scale;
        const double y = cy - bar.y * scale;
        Ellipse(context, ix(x - r), ix(y - r), ix(x + r) + 1, ix(y + r) + 1);
    }
    SelectObject(context, oldPen);
    SelectObject(context, oldBrush);
    DeleteObject(outlinePen);
    DeleteObject(concrete);
    DeleteObject(cornerBrush);
    DeleteObject(webBrush);

    SetBkMode(context, TRANSPARENT);
    SetTextColor(context, RGB(0, 0, 0));
    const std::wstring bText = L"b = " + lengthText(p.width);
    RECT under{topLeft.x, bottomRight.y + ix(px(4)), bottomRight.x, bottomRight.y + ix(px(22))};
    DrawTextW(context, bText.c_str(), -1, &under, DT_CENTER | DT_SINGLELINE | DT_NOCLIP);
    // h up the left face, read from below as on the drawing.
    LOGFONTW upright{};
    GetObjectW(static_cast<HFONT>(GetCurrentObject(context, OBJ_FONT)), sizeof upright, &upright);
    upright.lfEscapement = 900;
    upright.lfOrientation = 900;
    HFONT turned = CreateFontIndirectW(&upright);
    HGDIOBJ straight = SelectObject(context, turned);
    const std::wstring hText = L"h = " + lengthText(p.height);
    SIZE extent{};
    GetTextExtentPoint32W(context, hText.c_str(), static_cast<int>(hText.size()), &extent);
    TextOutW(context, topLeft.x - ix(px(6)) - extent.cy,
             (topLeft.y + bottomRight.y) / 2 + extent.cx / 2, hText.c_str(),
             static_cast<int>(hText.size()));
    SelectObject(context, straight);
    DeleteObject(turned);
    const std::wstring caption = widen(p.caption);
    RECT foot{box.left, box.bottom - ix(px(24)), box.right, box.bottom - ix(px(4))};
    DrawTextW(context, caption.c_str(), -1, &foot, DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    SelectObject(context, oldFont);
}

ProjectWindow::ProjectWindow(bool remember, bool quitOnClose)
    : remember_(remember), quitOnClose_(quitOnClose) {}

ProjectWindow::~ProjectWindow() {
    if (worker_.joinable()) {
        cancelRequested_ = true;
        worker_.join();
    }
    if (window_ != nullptr) {
        quitOnClose_ = false;
        DestroyWindow(window_);
    }
    if (accelerators_ != nullptr) DestroyAcceleratorTable(accelerators_);
    if (font_ != nullptr) DeleteObject(font_);
    if (reportFont_ != nullptr) DeleteObject(reportFont_);
    if (findingBrush_ != nullptr) DeleteObject(findingBrush_);
}

int ProjectWindow::scaled(int pixels) const {
    return MulDiv(pixels, dpi_, 96);
}

bool ProjectWindow::create(int show) {
    if (window_ != nullptr) return true;
    if (!registerClasses()) return false;
    WindowSettings settings;
    if (remember_) {
        settings = loadWindowSettings(kProjectWindowKey);
        vm_.setRecentFiles(settings.recentFiles);
    }
    // 1280 × 800 at 100 %, scaled, but never larger than the screen's work area.
    const int systemDpi = static_cast<int>(GetDpiForSystem());
    RECT work{0, 0, 1280, 800};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int startWidth =
        std::min(MulDiv(1280, systemDpi, 96), static_cast<int>(work.right - work.left));
    const int startHeight =
        std::min(MulDiv(800, systemDpi, 96), static_cast<int>(work.bottom - work.top));
    window_ = CreateWindowExW(0, kWindowClass, widen(vm_.windowTitle()).c_str(),
                              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                              startWidth, startHeight, nullptr, nullptr, GetModuleHandleW(nullptr),
                              nullptr);
    if (window_ == nullptr) return false;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&procedure));
    dpi_ = static_cast<int>(GetDpiForWindow(window_));
    makeFonts();
    findingBrush_ = CreateSolidBrush(RGB(0xF6, 0xC4, 0xC4));
    buildMenu();
    buildControls();
    if (settings.bounds) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(window_, &placement);
        placement.rcNormalPosition = *settings.bounds;
        placement.showCmd = static_cast<UINT>(settings.maximized ? SW_SHOWMAXIMIZED : show);
        SetWindowPlacement(window_, &placement);
    } else {
        ShowWindow(window_, show);
    }
    layout();
    refresh();
    showPage(0);
    SetFocus(list_);
    return true;
}

void ProjectWindow::makeFonts() {
    const DialogFont face = dialogFont();
    if (font_ != nullptr) DeleteObject(font_);
    if (reportFont_ != nullptr) DeleteObject(reportFont_);
    font_ = CreateFontW(-MulDiv(face.points, dpi_, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                        DEFAULT_PITCH, face.face.c_str());
    // The report in the fixed-width face, a Chinese character two Latin ones wide: its columns
    // line up.
    reportFont_ = CreateFontW(-MulDiv(face.points, dpi_, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                              FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              CLEARTYPE_QUALITY, FIXED_PITCH | FF_MODERN, L"NSimSun");
}

void ProjectWindow::buildMenu() {
    const auto entry = [](HMENU menu, int id, const char* text) {
        AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(id), widen(text).c_str());
    };
    HMENU file = CreatePopupMenu();
    entry(file, New, "新建(&N)\tCtrl+N");
    entry(file, Open, "打开(&O)…\tCtrl+O");
    entry(file, Save, "保存(&S)\tCtrl+S");
    entry(file, SaveAs, "另存为(&A)…\tCtrl+Shift+S");
    recentMenu_ = CreatePopupMenu();
    AppendMenuW(file, MF_POPUP, reinterpret_cast<UINT_PTR>(recentMenu_), L"最近的文件(&F)");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    entry(file, Import, "导入 CSV(&I)…");
    HMENU exports = CreatePopupMenu();
    entry(exports, ExportResults, "结果 CSV(&R)…");
    entry(exports, ExportBooks, "计算书(&B)…");
    entry(exports, ExportDrawings, "施工图 DXF(&D)…");
    entry(exports, ExportSchedule, "柱表(&S)…");
    AppendMenuW(file, MF_POPUP, reinterpret_cast<UINT_PTR>(exports), L"导出(&E)");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    entry(file, Close, "关闭(&X)");
    HMENU edit = CreatePopupMenu();
    entry(edit, Undo, "撤销(&U)\tCtrl+Z");
    entry(edit, Redo, "重做(&R)\tCtrl+Y");
    AppendMenuW(edit, MF_SEPARATOR, 0, nullptr);
    entry(edit, Copy, "复制(&C)\tCtrl+C");
    entry(edit, Paste, "粘贴(&P)\tCtrl+V");
    HMENU columns = CreatePopupMenu();
    entry(columns, AddColumn, "添加柱(&A)");
    entry(columns, CopyColumn, "复制柱(&C)");
    entry(columns, DeleteColumn, "删除柱(&D)");
    entry(columns, MoveUp, "上移(&U)");
    entry(columns, MoveDown, "下移(&W)");
    AppendMenuW(columns, MF_SEPARATOR, 0, nullptr);
    entry(columns, AddCombination, "添加荷载组合(&L)");
    entry(columns, DeleteCombination, "删除荷载组合(&M)\tDel");
    HMENU project = CreatePopupMenu();
    entry(project, ProjectPreferences, "工程的配筋参数(&B)…");
    entry(project, ColumnPreferences, "所选柱的配筋参数(&C)…");
    HMENU design = CreatePopupMenu();
    entry(design, DesignAll, "设计全部(&D)\tF5");
    entry(design, CancelDesign, "取消设计(&C)");
    menu_ = CreateMenu();
    AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"文件(&F)");
    AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"编辑(&E)");
    AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(columns), L"柱(&C)");
    AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(project), L"工程(&P)");
    AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(design), L"设计(&D)");
    SetMenu(window_, menu_);

    ACCEL keys[] = {
        {FVIRTKEY | FCONTROL, 'N', New},           {FVIRTKEY | FCONTROL, 'O', Open},
        {FVIRTKEY | FCONTROL, 'S', Save},          {FVIRTKEY | FCONTROL | FSHIFT, 'S', SaveAs},
        {FVIRTKEY | FCONTROL, 'Z', Undo},          {FVIRTKEY | FCONTROL, 'Y', Redo},
        {FVIRTKEY | FCONTROL | FSHIFT, 'Z', Redo}, {FVIRTKEY | FCONTROL, 'C', Copy},
        {FVIRTKEY | FCONTROL, VK_INSERT, Copy},    {FVIRTKEY | FCONTROL, 'V', Paste},
        {FVIRTKEY | FSHIFT, VK_INSERT, Paste},     {FVIRTKEY, VK_F5, DesignAll},
    };
    accelerators_ = CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys)));
}

void ProjectWindow::buildControls() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    // The toolbar: text buttons, crisp at every scale.
    toolbar_ = CreateWindowExW(
        0, TOOLBARCLASSNAMEW, nullptr,
        WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0, 0,
        0, window_, fromParameter<HMENU>(INT_PTR{kToolbarId}), instance, nullptr);
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    SendMessageW(toolbar_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    static const std::pair<int, const wchar_t*> buttons[] = {
        {New, L"新建"},
        {Open, L"打开"},
        {Save, L"保存"},
        {0, nullptr},
        {Undo, L"撤销"},
        {Redo, L"重做"},
        {0, nullptr},
        {AddColumn, L"添加柱"},
        {DesignAll, L"设计全部 (F5)"},
        {0, nullptr},
        {ExportResults, L"导出结果 CSV"},
        {ExportBooks, L"导出计算书"},
        {ExportDrawings, L"导出施工图"},
    };
    for (const auto& [id, text] : buttons) {
        TBBUTTON button{};
        button.iBitmap = I_IMAGENONE;
        button.idCommand = id;
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = static_cast<BYTE>(
            text == nullptr ? BTNS_SEP : BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT);
        button.iString = reinterpret_cast<INT_PTR>(text);
        SendMessageW(toolbar_, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button));
    }
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
    statusBar_ =
        CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0,
                        0, 0, window_, fromParameter<HMENU>(INT_PTR{kStatusId}), instance, nullptr);

    // The tabs first, at the bottom of the order: the pages' controls are its siblings.
    tabs_ = makeControl(window_, WC_TABCONTROLW, L"", WS_CLIPSIBLINGS | WS_TABSTOP, kTabsId);
    for (const wchar_t* title : {L"柱数据", L"截面与结果", L"计算报告"}) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(title);
        SendMessageW(tabs_, TCM_INSERTITEMW,
                     static_cast<WPARAM>(SendMessageW(tabs_, TCM_GETITEMCOUNT, 0, 0)),
                     reinterpret_cast<LPARAM>(&item));
    }

    // The project data.
    for (const InfoFieldSpec& entry : infoFieldSpecs()) {
        infoLabels_.push_back(makeControl(window_, L"STATIC", widen(entry.label), SS_RIGHT, -1));
        const int id = kInfoFirst + static_cast<int>(entry.field);
        HWND control = nullptr;
        if (entry.choices.empty()) {
            control = makeControl(window_, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, id,
                                  WS_EX_CLIENTEDGE);
        } else {
            control = makeControl(window_, L"COMBOBOX", L"",
                                  WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, id);
            for (const std::string& choice : entry.choices) {
                SendMessageW(control, CB_ADDSTRING, 0,
                             reinterpret_cast<LPARAM>(widen(choice).c_str()));
            }
        }
        info_[entry.field] = control;
    }
    projectPreferences_ = makeControl(window_, L"BUTTON", L"工程的配筋参数…",
                                      WS_TABSTOP | BS_PUSHBUTTON, ProjectPreferences);
    designSummary_ = makeControl(window_, L"STATIC", L"", SS_LEFTNOWORDWRAP, -1);

    // The column list: one row per column, worded by the view model, coloured by its status.
    list_ = makeControl(window_, WC_LISTVIEWW, L"",
                        WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA,
                        kListId, WS_EX_CLIENTEDGE);
    SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
    for (std::size_t field = 0; field < kColumnRowFields; ++field) {
        const std::wstring header = widen(columnRowHeader(field));
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(header.c_str());
        column.cx = scaled(70);
        SendMessageW(list_, LVM_INSERTCOLUMNW, field, reinterpret_cast<LPARAM>(&column));
    }
    for (const auto& [id, text] :
         {std::pair{AddColumn, L"添加柱"}, std::pair{CopyColumn, L"复制柱"},
          std::pair{DeleteColumn, L"删除柱"}, std::pair{MoveUp, L"上移"},
          std::pair{MoveDown, L"下移"}}) {
        listButtons_.push_back(
            makeControl(window_, L"BUTTON", text, WS_TABSTOP | BS_PUSHBUTTON, id));
    }
    progress_ = makeControl(window_, PROGRESS_CLASSW, L"", PBS_SMOOTH, -1);
    cancel_ =
        makeControl(window_, L"BUTTON", L"取消设计", WS_TABSTOP | BS_PUSHBUTTON, CancelDesign);
    ShowWindow(progress_, SW_HIDE);
    ShowWindow(cancel_, SW_HIDE);

    // Page 1: the column's fields, as the view model lists them, and its combinations.
    for (const ColumnFieldSpec& entry : columnFieldSpecs()) {
        HWND label = makeControl(window_, L"STATIC", widen(entry.label), SS_RIGHT, -1);
        fieldLabels_.push_back(label);
        page0_.push_back(label);
        const int id = kFieldFirst + static_cast<int>(entry.field);
        HWND control = nullptr;
        if (entry.kind == ColumnFieldSpec::Kind::Choice) {
            control = makeControl(window_, L"COMBOBOX", L"",
                                  WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, id);
            for (const std::string& choice : entry.choices) {
                SendMessageW(control, CB_ADDSTRING, 0,
                             reinterpret_cast<LPARAM>(widen(choice).c_str()));
            }
        } else {
            control = makeControl(window_, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, id,
                                  WS_EX_CLIENTEDGE);
            if (*entry.hint != '\0') {
                SendMessageW(control, EM_SETCUEBANNER, TRUE,
                             reinterpret_cast<LPARAM>(widen(entry.hint).c_str()));
            }
        }
        fields_[entry.field] = control;
        page0_.push_back(control);
    }
    columnPreferences_ = makeControl(window_, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, -1);
    columnPreferencesButton_ = makeControl(window_, L"BUTTON", L"配筋参数…",
                                           WS_TABSTOP | BS_PUSHBUTTON, ColumnPreferences);
    page0_.insert(page0_.end(), {columnPreferences_, columnPreferencesButton_});
    message_ = makeControl(window_, L"STATIC", L"", SS_LEFT, kMessageId);
    gridLabel_ = makeControl(
        window_, L"STATIC",
        L"荷载组合（可从 Excel 复制多行 N、M2x、M2y… 后 Ctrl+V 粘贴；F2 或 Enter 编辑）",
        SS_LEFTNOWORDWRAP, -1);
    grid_ = makeControl(window_, WC_LISTVIEWW, L"",
                        WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA, kGridId,
                        WS_EX_CLIENTEDGE);
    SendMessageW(grid_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
    for (std::size_t cell = 0; cell < kCombinationColumns; ++cell) {
        const std::wstring header = widen(combinationColumnLabel(cell));
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = cell == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
        column.pszText = const_cast<wchar_t*>(header.c_str());
        column.cx = scaled(90);
        SendMessageW(grid_, LVM_INSERTCOLUMNW, cell, reinterpret_cast<LPARAM>(&column));
    }
    SetWindowSubclass(grid_, gridProcedure, 1, reinterpret_cast<DWORD_PTR>(this));
    for (const auto& [id, text] :
         {std::pair{AddCombination, L"添加组合"}, std::pair{DeleteCombination, L"删除组合"}}) {
        gridButtons_.push_back(
            makeControl(window_, L"BUTTON", text, WS_TABSTOP | BS_PUSHBUTTON, id));
    }
    page0_.insert(page0_.end(), {message_, gridLabel_, grid_});
    page0_.insert(page0_.end(), gridButtons_.begin(), gridButtons_.end());

    // Page 2: the section to scale and the summary; page 3: the report.
    picture_ =
        CreateWindowExW(WS_EX_CLIENTEDGE, kPictureClass, L"", WS_CHILD, 0, 0, 10, 10, window_,
                        fromParameter<HMENU>(INT_PTR{kPictureId}), instance, &pictureModel_);
    summary_ = makeControl(window_, L"EDIT", L"",
                           WS_TABSTOP | ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL,
                           kSummaryId, WS_EX_CLIENTEDGE);
    page1_ = {picture_, summary_};
    report_ = makeControl(window_, L"EDIT", L"",
                          WS_TABSTOP | ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL |
                              ES_AUTOVSCROLL | ES_AUTOHSCROLL,
                          kReportId, WS_EX_CLIENTEDGE);
    SendMessageW(report_, EM_SETLIMITTEXT, 0, 0);
    page2_ = {report_};

    for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        SendMessageW(child, WM_SETFONT,
                     reinterpret_cast<WPARAM>(child == report_ ? reportFont_ : font_), FALSE);
    }
    SetWindowPos(tabs_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ProjectWindow::layout() {
    if (window_ == nullptr || list_ == nullptr) return;
    RECT client{};
    GetClientRect(window_, &client);
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
    SendMessageW(statusBar_, WM_SIZE, 0, 0);
    RECT bar{};
    GetWindowRect(toolbar_, &bar);
    const int toolbarHeight = bar.bottom - bar.top;
    GetWindowRect(statusBar_, &bar);
    const int statusHeight = bar.bottom - bar.top;
    const int m = scaled(6);
    const int rowHeight = scaled(24);
    const int gap = scaled(4);
    const int top = toolbarHeight + m;
    const int bottom = client.bottom - statusHeight - m;
    const int width = client.right;
    const int leftWidth = std::clamp(width * 42 / 100, std::min(scaled(360), width / 2),
                                     std::max(width - scaled(420), scaled(200)));
    const auto place = [](HWND control, int x, int y, int w, int h) {
        MoveWindow(control, x, y, std::max(w, 0), std::max(h, 0), TRUE);
    };
    const auto comboHeight = [&](HWND control, int h) {
        // A drop-down list's height includes its open list.
        return isChoice(control) ? h * 10 : h;
    };

    // Left: the project data two to a row, the summary, the list, its buttons and the progress.
    const int half = leftWidth / 2;
    const int infoLabel = scaled(72);
    int y = top;
    std::size_t i = 0;
    for (const InfoFieldSpec& entry : infoFieldSpecs()) {
        const int x = m + static_cast<int>(i % 2) * half;
        const int rowY = top + static_cast<int>(i / 2) * (rowHeight + gap);
        place(infoLabels_[i], x, rowY + scaled(4), infoLabel - gap, rowHeight - scaled(4));
        HWND control = info_.at(entry.field);
        place(control, x + infoLabel, rowY, half - infoLabel - gap,
              comboHeight(control, rowHeight));
        ++i;
    }
    // The free place after the last project field (an odd count) holds 配筋参数.
    place(projectPreferences_, m + static_cast<int>(i % 2) * half + (i % 2 == 1 ? infoLabel : 0),
          top + static_cast<int>(i / 2) * (rowHeight + gap),
          half - gap - (i % 2 == 1 ? infoLabel : 0), rowHeight + scaled(2));
    y = top + static_cast<int>((i + 2) / 2) * (rowHeight + gap);
    place(designSummary_, m, y + scaled(2), leftWidth - gap, rowHeight - scaled(4));
    y += rowHeight;
    const int progressY = bottom - rowHeight;
    const int buttonsY = progressY - rowHeight - gap;
    place(list_, m, y, leftWidth - gap, buttonsY - gap - y);
    int x = m;
    const int listButtonCount = static_cast<int>(listButtons_.size());
    const int buttonWidth = std::min(scaled(76), (leftWidth - gap) / listButtonCount - gap);
    for (HWND button : listButtons_) {
        place(button, x, buttonsY, buttonWidth, rowHeight + scaled(2));
        x += buttonWidth + gap;
    }
    place(progress_, m, progressY + scaled(3), leftWidth - gap - scaled(90), rowHeight - scaled(6));
    place(cancel_, m + leftWidth - scaled(84), progressY, scaled(80), rowHeight + scaled(2));

    // Right: the tabs and their pages.
    const int tabsX = m + leftWidth + m;
    RECT page{tabsX, top, width - m, bottom};
    place(tabs_, page.left, page.top, page.right - page.left, page.bottom - page.top);
    SendMessageW(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    InflateRect(&page, -gap, -gap);
    const int pageWidth = page.right - page.left;
    const int fieldHalf = pageWidth / 2;
    const int fieldLabel = std::min(scaled(130), fieldHalf / 2);
    i = 0;
    for (const ColumnFieldSpec& entry : columnFieldSpecs()) {
        const int fx = page.left + static_cast<int>(i % 2) * fieldHalf;
        const int fy = page.top + static_cast<int>(i / 2) * (rowHeight + gap);
        place(fieldLabels_[i], fx, fy + scaled(4), fieldLabel - gap, rowHeight - scaled(4));
        HWND control = fields_.at(entry.field);
        place(control, fx + fieldLabel, fy, fieldHalf - fieldLabel - gap,
              comboHeight(control, rowHeight));
        ++i;
    }
    y = page.top + static_cast<int>((i + 1) / 2) * (rowHeight + gap);
    const int preferencesButton = scaled(90);
    place(columnPreferences_, page.left, y + scaled(2), pageWidth - preferencesButton - gap,
          scaled(34));
    place(columnPreferencesButton_, page.right - preferencesButton, y, preferencesButton,
          rowHeight + scaled(2));
    y += scaled(38);
    place(message_, page.left, y, pageWidth, scaled(34));
    y += scaled(36);
    place(gridLabel_, page.left, y, pageWidth, rowHeight - scaled(4));
    y += rowHeight - scaled(2);
    const int gridButtonsY = page.bottom - rowHeight - scaled(2);
    place(grid_, page.left, y, pageWidth, gridButtonsY - gap - y);
    x = page.left;
    for (HWND button : gridButtons_) {
        place(button, x, gridButtonsY, scaled(86), rowHeight + scaled(2));
        x += scaled(90);
    }
    // The combinations share the grid's width, as the Qt grid stretches them.
    RECT gridBox{};
    GetClientRect(grid_, &gridBox);
    const int cellWidth = std::max(scaled(40), static_cast<int>(gridBox.right - scaled(2)) /
                                                   static_cast<int>(kCombinationColumns));
    for (std::size_t cell = 0; cell < kCombinationColumns; ++cell) {
        SendMessageW(grid_, LVM_SETCOLUMNWIDTH, cell, MAKELPARAM(cellWidth, 0));
    }
    const int pictureHeight = (page.bottom - page.top) * 62 / 100;
    place(picture_, page.left, page.top, pageWidth, pictureHeight);
    place(summary_, page.left, page.top + pictureHeight + gap, pageWidth,
          page.bottom - page.top - pictureHeight - gap);
    place(report_, page.left, page.top, pageWidth, page.bottom - page.top);
}

void ProjectWindow::fitListColumns() {
    // Each column of the list as wide as its widest text or its header, measured in the list's
    // face (a list of hundreds of columns takes a few milliseconds).
    HDC context = GetDC(list_);
    HGDIOBJ previous = SelectObject(context, font_);
    const auto widthOf = [context](const std::string& text) {
        const std::wstring wide = widen(text);
        SIZE extent{};
        GetTextExtentPoint32W(context, wide.c_str(), static_cast<int>(wide.size()), &extent);
        return static_cast<int>(extent.cx);
    };
    for (std::size_t field = 0; field < kColumnRowFields; ++field) {
        int widest = widthOf(columnRowHeader(field));
        for (const ColumnRow& row : rows_)
            widest = std::max(widest, widthOf(columnRowField(row, field)));
        SendMessageW(list_, LVM_SETCOLUMNWIDTH, field, MAKELPARAM(widest + scaled(16), 0));
    }
    SelectObject(context, previous);
    ReleaseDC(list_, context);
}

void ProjectWindow::showPage(int page) {
    if (editor_ != nullptr) endEdit(true, false);
    page_ = page;
    SendMessageW(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    for (int n = 0; n < 3; ++n) {
        const std::vector<HWND>& controls = n == 0 ? page0_ : n == 1 ? page1_ : page2_;
        for (HWND control : controls) ShowWindow(control, n == page ? SW_SHOW : SW_HIDE);
    }
    refreshReport();
}

LRESULT CALLBACK ProjectWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = fromParameter<ProjectWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || self->window_ != window)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT CALLBACK ProjectWindow::gridProcedure(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    auto* owner = fromParameter<ProjectWindow*>(self);
    if (message == WM_COMMAND && LOWORD(wParam) == kEditorId && HIWORD(wParam) == EN_KILLFOCUS) {
        PostMessageW(owner->window_, kEndEditMessage, 0, 0);
    }
    if ((message == WM_VSCROLL || message == WM_HSCROLL || message == WM_MOUSEWHEEL) &&
        owner->editor_ != nullptr) {
        owner->endEdit(true, true);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT ProjectWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            layout();
            return 0;
        case WM_GETMINMAXINFO: {
            auto* limits = fromParameter<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize = {scaled(800), scaled(560)};
            return 0;
        }
        case WM_DPICHANGED: {
            // Moved to a screen of another scale: fonts and layout for it, at the suggested frame.
            dpi_ = HIWORD(wParam);
            makeFonts();
            for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                SendMessageW(child, WM_SETFONT,
                             reinterpret_cast<WPARAM>(child == report_ ? reportFont_ : font_),
                             TRUE);
            }
            const auto* frame = fromParameter<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, frame->left, frame->top, frame->right - frame->left,
                         frame->bottom - frame->top, SWP_NOZORDER | SWP_NOACTIVATE);
            layout();
            return 0;
        }
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (id >= kFieldFirst || (id >= kInfoFirst && id < kFieldFirst)) {
                if ((code == EN_KILLFOCUS) || code == CBN_SELCHANGE) {
                    leaveField(fromParameter<HWND>(lParam));
                }
                return 0;
            }
            if (lParam == 0 || code == BN_CLICKED) command(id);
            return 0;
        }
        case WM_NOTIFY:
            return notify(*fromParameter<NMHDR*>(lParam));
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC: {
            auto context = fromParameter<HDC>(wParam);
            auto control = fromParameter<HWND>(lParam);
            // The summary and the report, read-only, on white as the Linux window shows them.
            if (control == summary_ || control == report_) {
                SetBkColor(context, GetSysColor(COLOR_WINDOW));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
            }
            // The labels on the tabs' pages stand on the page's own (window) colour.
            const bool onPage = std::find(page0_.begin(), page0_.end(), control) != page0_.end();
            const int background =
                onPage && message == WM_CTLCOLORSTATIC ? COLOR_WINDOW : COLOR_BTNFACE;
            if (control == message_) SetTextColor(context, RGB(0xB0, 0, 0));
            if (control == message_ || (onPage && message == WM_CTLCOLORSTATIC &&
                                        !isChoice(control) && !isEdit(control))) {
                SetBkColor(context, GetSysColor(background));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
            }
            // A field whose value breaks a rule, as the grid's cells: pink.
            for (const auto& [field, edit] : fields_) {
                if (edit == control && message == WM_CTLCOLOREDIT &&
                    !vm_.fieldFinding(field).empty()) {
                    SetBkColor(context, RGB(0xF6, 0xC4, 0xC4));
                    return reinterpret_cast<LRESULT>(findingBrush_);
                }
            }
            break;
        }
        case kProgressMessage:
            SendMessageW(progress_, PBM_SETRANGE32, 0, lParam);
            SendMessageW(progress_, PBM_SETPOS, wParam, 0);
            return 0;
        case kDesignDoneMessage:
            designDone();
            return 0;
        case kEndEditMessage:
            if (editor_ != nullptr && GetFocus() != editor_) endEdit(true, false);
            return 0;
        case WM_CLOSE:
            close();
            return 0;
        case WM_DESTROY:
            if (worker_.joinable()) {
                cancelRequested_ = true;
                worker_.join();
            }
            window_ = nullptr;
            if (quitOnClose_) PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT ProjectWindow::notify(NMHDR& header) {
    if (header.hwndFrom == tabs_ && header.code == TCN_SELCHANGE) {
        showPage(static_cast<int>(SendMessageW(tabs_, TCM_GETCURSEL, 0, 0)));
        return 0;
    }
    if (header.code == LVN_GETDISPINFOW && (header.hwndFrom == list_ || header.hwndFrom == grid_)) {
        auto& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
        if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0)
            return 0;
        const auto row = static_cast<std::size_t>(item.iItem);
        const auto cell = static_cast<std::size_t>(item.iSubItem);
        std::string text;
        if (header.hwndFrom == list_) {
            if (row < rows_.size()) text = columnRowField(rows_[row], cell);
        } else if (row < vm_.combinationCount()) {
            text = vm_.cellText(row, cell);
        }
        const std::wstring wide = widen(text);
        wcsncpy(item.pszText, wide.c_str(), static_cast<std::size_t>(item.cchTextMax) - 1);
        item.pszText[item.cchTextMax - 1] = L'\0';
        return 0;
    }
    if (header.code == NM_CUSTOMDRAW && header.hwndFrom == list_) {
        return customDrawList(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
    }
    if (header.code == NM_CUSTOMDRAW && header.hwndFrom == grid_) {
        return customDrawGrid(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
    }
    if (header.hwndFrom == list_ && header.code == LVN_ITEMCHANGED) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if (((change.uNewState ^ change.uOldState) & LVIS_SELECTED) != 0) selectionChanged();
        return 0;
    }
    if (header.hwndFrom == grid_ && (header.code == NM_CLICK || header.code == NM_DBLCLK)) {
        const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
        if (click.iItem >= 0 && click.iSubItem >= 0) {
            cell_ = static_cast<std::size_t>(click.iSubItem);
            InvalidateRect(grid_, nullptr, FALSE);
            if (header.code == NM_DBLCLK) beginEdit(nullptr);
        }
        return 0;
    }
    return 0;
}

LRESULT ProjectWindow::customDrawList(NMLVCUSTOMDRAW& draw) {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        const auto row = static_cast<std::size_t>(draw.nmcd.dwItemSpec);
        if (row < rows_.size()) draw.clrTextBk = rgbOf(statusColour(rows_[row].kind));
        draw.clrText = RGB(0, 0, 0);
        return CDRF_NEWFONT;
    }
    return CDRF_DODEFAULT;
}

LRESULT ProjectWindow::customDrawGrid(NMLVCUSTOMDRAW& draw) {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) return CDRF_NOTIFYSUBITEMDRAW;
    if (draw.nmcd.dwDrawStage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM)) {
        const auto row = static_cast<std::size_t>(draw.nmcd.dwItemSpec);
        const auto cell = static_cast<std::size_t>(draw.iSubItem);
        const bool selected =
            (SendMessageW(grid_, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
        const bool focused =
            (SendMessageW(grid_, LVM_GETITEMSTATE, row, LVIS_FOCUSED) & LVIS_FOCUSED) != 0;
        // The list view's own highlight would cover the row; the cells draw it themselves: the
        // current cell in the system's highlight, the rest of the selection light blue, a cell
        // that breaks a rule pink.
        draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_FOCUS);
        draw.clrText = RGB(0, 0, 0);
        draw.clrTextBk = RGB(0xFF, 0xFF, 0xFF);
        if (selected) draw.clrTextBk = RGB(0xCC, 0xE8, 0xFF);
        if (row < vm_.combinationCount() && !vm_.cellFinding(row, cell).empty()) {
            draw.clrTextBk = RGB(0xF6, 0xC4, 0xC4);
        }
        if (focused && cell == cell_ && GetFocus() == grid_) {
            draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
            draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
        } else if (focused && cell == cell_) {
            draw.clrTextBk = RGB(0x99, 0xC9, 0xEF);
        }
        return CDRF_NEWFONT;
    }
    return CDRF_DODEFAULT;
}

bool ProjectWindow::translate(MSG& message) {
    if (window_ == nullptr || (message.hwnd != window_ && !IsChild(window_, message.hwnd))) {
        return false;
    }
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    // The cell editor: Enter and the arrows keep the value and move up or down, Tab across,
    // Escape drops the edit; the rest is the edit's own (Ctrl+C, Ctrl+V, Ctrl+Z on its text).
    if (editor_ != nullptr && message.hwnd == editor_) {
        if (message.message == WM_KEYDOWN) {
            switch (message.wParam) {
                case VK_RETURN:
                    endEdit(true, true);
                    moveCell(shift ? -1 : 1, 0);
                    return true;
                case VK_TAB:
                    endEdit(true, true);
                    moveCell(0, shift ? -1 : 1);
                    return true;
                case VK_ESCAPE:
                    endEdit(false, true);
                    return true;
                case VK_UP:
                case VK_DOWN:
                    endEdit(true, true);
                    moveCell(message.wParam == VK_UP ? -1 : 1, 0);
                    return true;
                default:
                    break;
            }
        }
        if (message.message == WM_CHAR &&
            (message.wParam == L'\r' || message.wParam == L'\t' || message.wParam == 27)) {
            return true;
        }
        if (message.message == WM_KEYDOWN && message.wParam == VK_F5) {
            endEdit(true, true);
        } else {
            return false;
        }
    }
    // Ctrl+Tab and Ctrl+Page Down to the next page of the tabs, with Shift or Page Up back.
    if (message.message == WM_KEYDOWN && control &&
        (message.wParam == VK_TAB || message.wParam == VK_NEXT || message.wParam == VK_PRIOR)) {
        const bool back = message.wParam == VK_PRIOR || (message.wParam == VK_TAB && shift);
        showPage((page_ + (back ? 2 : 1)) % 3);
        return true;
    }
    if (message.hwnd == grid_ && gridKey(message)) return true;
    // Enter in a field keeps its value and moves on to the next one, as in the dialogs.
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && isEdit(message.hwnd) &&
        message.hwnd != summary_ && message.hwnd != report_) {
        leaveField(message.hwnd);
        SetFocus(GetNextDlgTabItem(window_, message.hwnd, shift ? TRUE : FALSE));
        return true;
    }
    // In a text field the clipboard and undo keys are its own.
    if (message.message == WM_KEYDOWN && control && isEdit(message.hwnd) &&
        (message.wParam == 'C' || message.wParam == 'V' || message.wParam == 'X' ||
         message.wParam == 'Z')) {
        return false;
    }
    if (TranslateAcceleratorW(window_, accelerators_, &message) != 0) return true;
    if (message.message == WM_SYSKEYDOWN || message.message == WM_SYSCHAR ||
        message.message == WM_SYSKEYUP) {
        return false;  // the menu bar's own (Alt, F10)
    }
    return IsDialogMessageW(window_, &message) != FALSE;
}

bool ProjectWindow::gridKey(const MSG& message) {
    if (message.message == WM_KEYDOWN) {
        switch (message.wParam) {
            case VK_F2:
            case VK_RETURN:
                beginEdit(nullptr);
                return true;
            case VK_LEFT:
                moveCell(0, -1);
                return true;
            case VK_RIGHT:
                moveCell(0, 1);
                return true;
            case VK_DELETE:
                deleteCombinations();
                return true;
            default:
                return false;
        }
    }
    if (message.message == WM_CHAR) {
        const auto typed = static_cast<wchar_t>(message.wParam);
        const bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
        // Typing over a cell starts its edit with what was typed, as in a spreadsheet.
        if (typed >= L' ' && !control) {
            const std::wstring text(1, typed);
            beginEdit(&text);
            return true;
        }
    }
    return false;
}

void ProjectWindow::beginEdit(const std::wstring* typed) {
    if (editor_ != nullptr || !vm_.selected() || vm_.combinationCount() == 0) return;
    auto focused = SendMessageW(grid_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
    if (focused < 0) focused = 0;
    editRow_ = std::min(static_cast<std::size_t>(focused), vm_.combinationCount() - 1);
    editCell_ = std::min(cell_, kCombinationColumns - 1);
    SendMessageW(grid_, LVM_ENSUREVISIBLE, editRow_, FALSE);
    RECT box{};
    box.top = static_cast<LONG>(editCell_);
    box.left = editCell_ == 0 ? LVIR_LABEL : LVIR_BOUNDS;
    SendMessageW(grid_, LVM_GETSUBITEMRECT, editRow_, reinterpret_cast<LPARAM>(&box));
    const std::wstring text = typed != nullptr ? *typed : widen(vm_.cellText(editRow_, editCell_));
    editor_ = CreateWindowExW(
        0, L"EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | ES_RIGHT,
        box.left, box.top, box.right - box.left, box.bottom - box.top, grid_,
        fromParameter<HMENU>(INT_PTR{kEditorId}), GetModuleHandleW(nullptr), nullptr);
    if (editor_ == nullptr) return;
    SendMessageW(editor_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    SetFocus(editor_);
    if (typed != nullptr) {
        SendMessageW(editor_, EM_SETSEL, text.size(), static_cast<LPARAM>(text.size()));
    } else {
        SendMessageW(editor_, EM_SETSEL, 0, -1);
    }
}

void ProjectWindow::endEdit(bool keep, bool refocus) {
    if (editor_ == nullptr) return;
    const std::string text = windowText(editor_);
    HWND editor = editor_;
    editor_ = nullptr;
    if (refocus) SetFocus(grid_);
    DestroyWindow(editor);
    if (!keep || editRow_ >= vm_.combinationCount() || text == vm_.cellText(editRow_, editCell_)) {
        InvalidateRect(grid_, nullptr, FALSE);
        return;
    }
    const std::string said = vm_.editCell(editRow_, editCell_, text);
    refresh();
    showMessage(said);
}

void ProjectWindow::moveCell(int rows, int cells) {
    const std::size_t count = vm_.combinationCount();
    if (count == 0) return;
    auto focused = SendMessageW(grid_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
    if (focused < 0) focused = 0;
    const auto row = std::clamp<long long>(focused + rows, 0, static_cast<long long>(count) - 1);
    cell_ = static_cast<std::size_t>(std::clamp<long long>(
        static_cast<long long>(cell_) + cells, 0, static_cast<long long>(kCombinationColumns) - 1));
    selectRow(grid_, static_cast<std::size_t>(row));
    InvalidateRect(grid_, nullptr, FALSE);
}

void ProjectWindow::selectRow(HWND list, std::size_t row) {
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = 0;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
}

std::vector<std::size_t> ProjectWindow::selectedRows(HWND list) const {
    std::vector<std::size_t> rows;
    LRESULT at = -1;
    while ((at = SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(at), LVNI_SELECTED)) >=
           0) {
        rows.push_back(static_cast<std::size_t>(at));
    }
    return rows;
}

void ProjectWindow::leaveField(HWND control) {
    if (refreshing_ || control == nullptr) return;
    const std::string text = isChoice(control) ? choiceText(control) : windowText(control);
    for (const auto& [field, widget] : fields_) {
        if (widget != control) continue;
        if (!vm_.selected() || text == vm_.fieldText(field)) return;
        const std::string said = vm_.editField(field, text);
        refresh();
        showMessage(said);
        return;
    }
    for (const auto& [field, widget] : info_) {
        if (widget != control) continue;
        if (text == vm_.infoText(field)) return;
        vm_.editInfo(field, text);
        refresh();
        return;
    }
}

void ProjectWindow::selectionChanged() {
    if (refreshing_) return;
    const auto rows = selectedRows(list_);
    const std::optional<std::size_t> chosen =
        rows.empty() ? std::nullopt : std::optional<std::size_t>(rows.front());
    if (chosen == vm_.selected()) return;
    if (editor_ != nullptr) endEdit(true, false);
    vm_.select(chosen);
    showFinding();
    refreshColumn();
    refreshCommands();
}

void ProjectWindow::refresh() {
    if (window_ == nullptr) return;
    refreshing_ = true;
    rows_.clear();
    rows_.reserve(vm_.columnCount());
    for (std::size_t i = 0; i < vm_.columnCount(); ++i) rows_.push_back(vm_.row(i));
    SendMessageW(list_, LVM_SETITEMCOUNT, rows_.size(), LVSICF_NOSCROLL);
    if (const auto selected = vm_.selected(); selected && *selected < rows_.size()) {
        if (selectedRows(list_) != std::vector<std::size_t>{*selected}) selectRow(list_, *selected);
    } else {
        LVITEMW state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(&state));
    }
    InvalidateRect(list_, nullptr, FALSE);
    for (const auto& [field, control] : info_) {
        if (isChoice(control)) {
            setChoice(control, vm_.infoText(field));
        } else {
            setText(control, vm_.infoText(field));
        }
    }
    setText(designSummary_, vm_.designSummary());
    refreshing_ = false;
    refreshColumn();
    refreshCommands();
}

void ProjectWindow::refreshColumn() {
    refreshing_ = true;
    const bool chosen = vm_.selected().has_value();
    for (const auto& [field, control] : fields_) {
        EnableWindow(control, chosen ? TRUE : FALSE);
        if (isChoice(control)) {
            setChoice(control, vm_.fieldText(field));
        } else {
            setText(control, vm_.fieldText(field));
            InvalidateRect(control, nullptr, TRUE);  // its colour follows its finding
        }
    }
    const std::size_t count = vm_.combinationCount();
    const auto focused =
        SendMessageW(grid_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
    SendMessageW(grid_, LVM_SETITEMCOUNT, count, 0);
    if (count > 0 && (focused < 0 || static_cast<std::size_t>(focused) >= count)) {
        selectRow(grid_, focused < 0 ? 0 : count - 1);
    }
    InvalidateRect(grid_, nullptr, TRUE);
    pictureModel_ = vm_.picture();
    InvalidateRect(picture_, nullptr, FALSE);
    std::string lines;
    for (const std::string& line : vm_.summaryLines()) lines += line + "\r\n";
    setText(summary_, lines);
    // The summary's second line: "配筋参数：…（工程）" or "（本柱）".
    const std::vector<std::string> summary = vm_.summaryLines();
    setText(columnPreferences_, chosen && summary.size() > 1 ? summary[1] : std::string());
    refreshing_ = false;
    refreshReport();
}

void ProjectWindow::refreshReport() {
    // The report only when shown: building it takes a while for a big column.
    if (page_ == 2) setText(report_, withCrLf(vm_.reportText()));
}

void ProjectWindow::refreshCommands() {
    const CommandState state = vm_.commands();
    const bool running = designRunning();
    const std::pair<int, bool> enabled[] = {
        {Save, state.save},
        {CopyColumn, state.copyColumn},
        {DeleteColumn, state.deleteColumn},
        {MoveUp, state.moveUp},
        {MoveDown, state.moveDown},
        {Undo, state.undo && !running},
        {Redo, state.redo && !running},
        {DesignAll, state.designAll && !running},
        {CancelDesign, running},
        {ExportResults, state.exportResults},
        {ExportBooks, state.exportResults},
        {ExportDrawings, state.exportResults},
        {ExportSchedule, state.exportResults},
        {ColumnPreferences, state.addCombination},  // a column is selected
        {AddCombination, state.addCombination},
        {DeleteCombination, state.deleteCombination},
    };
    for (const auto& [id, on] : enabled) {
        EnableMenuItem(menu_, static_cast<UINT>(id), MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
        SendMessageW(toolbar_, TB_ENABLEBUTTON, static_cast<WPARAM>(id),
                     MAKELPARAM(on ? TRUE : FALSE, 0));
        for (HWND button : listButtons_) {
            if (GetDlgCtrlID(button) == id) EnableWindow(button, on ? TRUE : FALSE);
        }
        for (HWND button : gridButtons_) {
            if (GetDlgCtrlID(button) == id) EnableWindow(button, on ? TRUE : FALSE);
        }
        if (id == ColumnPreferences) EnableWindow(columnPreferencesButton_, on ? TRUE : FALSE);
    }
    // Undo and redo say what they would undo: "撤销 编辑 KZ1 截面宽度 b".
    const std::string undo = vm_.undoText();
    const std::string redo = vm_.redoText();
    ModifyMenuW(menu_, Undo,
                MF_BYCOMMAND | MF_STRING | (state.undo && !running ? MF_ENABLED : MF_GRAYED), Undo,
                widen((undo.empty() ? std::string("撤销") : undo) + "(&U)\tCtrl+Z").c_str());
    ModifyMenuW(menu_, Redo,
                MF_BYCOMMAND | MF_STRING | (state.redo && !running ? MF_ENABLED : MF_GRAYED), Redo,
                widen((redo.empty() ? std::string("重做") : redo) + "(&R)\tCtrl+Y").c_str());
    SetWindowTextW(window_, widen(vm_.windowTitle()).c_str());
    refreshRecent();
}

void ProjectWindow::refreshRecent() {
    while (GetMenuItemCount(recentMenu_) > 0) DeleteMenu(recentMenu_, 0, MF_BYPOSITION);
    const auto& files = vm_.recentFiles();
    for (std::size_t i = 0; i < files.size() && i < ProjectViewModel::kRecentFiles; ++i) {
        std::string text = "&";
        text += std::to_string(i + 1);
        text += ' ';
        text += files[i];
        AppendMenuW(recentMenu_, MF_STRING, RecentFirst + i, widen(text).c_str());
    }
    if (files.empty()) AppendMenuW(recentMenu_, MF_STRING | MF_GRAYED, 0, L"（无）");
}

void ProjectWindow::showMessage(const std::string& text) {
    SetWindowTextW(message_, widen(text).c_str());
    if (!text.empty()) status(text);
}

void ProjectWindow::showFinding() {
    SetWindowTextW(message_, widen(vm_.inputFinding()).c_str());
}

void ProjectWindow::status(const std::string& text) {
    SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(widen(text).c_str()));
}

void ProjectWindow::notice(const std::string& text, UINT icon) const {
    MessageBoxW(window_, widen(text).c_str(), widen(kCaption).c_str(), MB_OK | icon);
}

void ProjectWindow::command(int id) {
    if (id >= RecentFirst && id < RecentFirst + static_cast<int>(ProjectViewModel::kRecentFiles)) {
        const auto index = static_cast<std::size_t>(id - RecentFirst);
        if (index < vm_.recentFiles().size() && maybeSave()) {
            const std::string path = vm_.recentFiles()[index];
            openFile(path);
        }
        return;
    }
    // The keyboard's Enter and Escape reach the window as IDOK and IDCANCEL: nothing to do.
    switch (id) {
        case New:
            newProject();
            break;
        case Open:
            openProject();
            break;
        case Save:
            save();
            break;
        case SaveAs:
            saveAs();
            break;
        case Import:
            importCsv();
            break;
        case ExportResults:
            exportResults();
            break;
        case ExportBooks:
            exportFolder(true);
            break;
        case ExportDrawings:
            exportFolder(false);
            break;
        case ExportSchedule:
            exportSchedule();
            break;
        case ProjectPreferences:
            editPreferences(PreferenceScope::Project);
            break;
        case ColumnPreferences:
            editPreferences(PreferenceScope::Column);
            break;
        case Close:
            close();
            break;
        case Undo:
            if (designRunning()) break;
            endEdit(false, false);
            vm_.undo();
            refresh();
            showFinding();
            break;
        case Redo:
            if (designRunning()) break;
            endEdit(false, false);
            vm_.redo();
            refresh();
            showFinding();
            break;
        case Copy:
            copyCells();
            break;
        case Paste:
            pasteCells();
            break;
        case AddColumn:
            vm_.addColumn();
            refresh();
            showFinding();
            break;
        case CopyColumn:
            vm_.copyColumn();
            refresh();
            break;
        case DeleteColumn:
            vm_.deleteColumn();
            refresh();
            showFinding();
            break;
        case MoveUp:
            vm_.moveUp();
            refresh();
            break;
        case MoveDown:
            vm_.moveDown();
            refresh();
            break;
        case AddCombination:
            vm_.addCombination();
            refresh();
            if (vm_.combinationCount() > 0) selectRow(grid_, vm_.combinationCount() - 1);
            cell_ = 0;
            SetFocus(grid_);
            break;
        case DeleteCombination:
            deleteCombinations();
            break;
        case DesignAll:
            designAll();
            break;
        case CancelDesign:
            cancelDesign();
            break;
        default:
            break;
    }
}

void ProjectWindow::pasteCells() {
    HWND focus = GetFocus();
    if (focus != nullptr && focus != grid_ && isEdit(focus)) {
        SendMessageW(focus, WM_PASTE, 0, 0);
        return;
    }
    if (!vm_.selected()) return;
    std::string text;
    if (OpenClipboard(window_)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
                text = narrow(wide);
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    }
    if (text.empty()) {
        showMessage("剪贴板中没有文本可粘贴");
        return;
    }
    const auto focused =
        SendMessageW(grid_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
    const std::size_t row = focused < 0 ? 0 : static_cast<std::size_t>(focused);
    const std::string said = vm_.paste(std::min(row, vm_.combinationCount()), cell_, text);
    refresh();
    showMessage(said);
}

void ProjectWindow::copyCells() {
    HWND focus = GetFocus();
    if (focus != nullptr && focus != grid_ && isEdit(focus)) {
        SendMessageW(focus, WM_COPY, 0, 0);
        return;
    }
    const auto rows = selectedRows(grid_);
    if (rows.empty() || !vm_.selected()) return;
    // The selected rows whole, tab-separated and CR LF between them, as Excel takes them.
    const std::wstring text =
        widen(withCrLf(vm_.copy(rows.front(), rows.back(), 0, kCombinationColumns - 1)));
    if (!OpenClipboard(window_)) {
        showMessage("无法打开剪贴板");
        return;
    }
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* target = GlobalLock(memory)) {
            std::memcpy(target, text.c_str(), bytes);
            GlobalUnlock(memory);
            if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
        } else {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
    status("已复制 " + std::to_string(rows.back() - rows.front() + 1) + " 行荷载组合");
}

void ProjectWindow::deleteCombinations() {
    const auto rows = selectedRows(grid_);
    if (rows.empty() || !vm_.selected()) return;
    vm_.deleteCombinations(rows.front(), rows.back());
    refresh();
}

bool ProjectWindow::maybeSave() {
    if (!vm_.modified()) return true;
    const int answer = MessageBoxW(window_, widen(kSaveChangesQuestion).c_str(),
                                   widen(kCaption).c_str(), MB_YESNOCANCEL | MB_ICONWARNING);
    if (answer == IDCANCEL) return false;
    if (answer == IDYES) return save();
    return true;
}

bool ProjectWindow::close() {
    if (window_ == nullptr) return true;
    if (editor_ != nullptr) endEdit(true, false);
    if (!maybeSave()) return false;
    if (worker_.joinable()) {
        cancelRequested_ = true;
        worker_.join();
    }
    remember();
    DestroyWindow(window_);
    return true;
}

void ProjectWindow::remember() {
    if (!remember_ || window_ == nullptr) return;
    WindowSettings settings;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (GetWindowPlacement(window_, &placement)) {
        settings.bounds = placement.rcNormalPosition;
        settings.maximized = placement.showCmd == SW_SHOWMAXIMIZED;
    }
    settings.lastProject = vm_.path();
    settings.recentFiles = vm_.recentFiles();
    saveWindowSettings(kProjectWindowKey, settings);
}

void ProjectWindow::newProject() {
    if (!maybeSave()) return;
    vm_.newProject();
    refresh();
    showFinding();
}

std::string ProjectWindow::openFile(const std::string& path, bool quiet) {
    const std::string said = vm_.open(path);
    if (!said.empty()) {
        if (!quiet) notice(said, MB_ICONERROR);
        return said;
    }
    refresh();
    showFinding();
    fitListColumns();
    return {};
}

void ProjectWindow::openLastProject() {
    if (!remember_) return;
    const std::string last = loadWindowSettings(kProjectWindowKey).lastProject;
    if (!last.empty() && GetFileAttributesW(widen(last).c_str()) != INVALID_FILE_ATTRIBUTES) {
        openFile(last, true);
    }
}

namespace {

// The system's open or save dialog for one file; empty when cancelled.
std::string askFile(HWND owner, bool saving, const wchar_t* title, const wchar_t* filter,
                    const wchar_t* extension, const std::string& start) {
    std::wstring buffer(32768, L'\0');
    const std::wstring initial = widen(start);
    std::copy(
        initial.begin(),
        initial.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(initial.size(), 32000)),
        buffer.begin());
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrTitle = title;
    dialog.lpstrDefExt = extension;
    // The current folder stays as it was.
    dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
                   (saving ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = saving ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (chosen == FALSE) return {};
    return narrow(buffer.c_str());
}

std::string askFolder(HWND owner, const wchar_t* title) {
    BROWSEINFOW browse{};
    browse.hwndOwner = owner;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&browse);
    if (chosen == nullptr) return {};
    std::wstring path(MAX_PATH + 1, L'\0');
    const BOOL ok = SHGetPathFromIDListW(chosen, path.data());
    ILFree(chosen);
    return ok ? narrow(path.c_str()) : std::string();
}

constexpr const wchar_t* kProjectFilter = L"Tessarin 工程 (*.tsn)\0*.tsn\0所有文件 (*.*)\0*.*\0";

}  // namespace

void ProjectWindow::openProject() {
    if (!maybeSave()) return;
    const std::string path = askFile(window_, false, L"打开工程", kProjectFilter, L"tsn", {});
    if (!path.empty()) openFile(path);
}

std::string ProjectWindow::saveTo(const std::string& path) {
    const FileResult written = vm_.saveAs(path);
    refresh();
    if (written.ok) {
        status("已保存 " + path);
        return {};
    }
    return saveFailureText(written);
}

bool ProjectWindow::save() {
    if (vm_.path().empty()) return saveAs();
    const std::string failed = saveTo(vm_.path());
    if (!failed.empty()) notice(failed, MB_ICONERROR);
    return failed.empty();
}

bool ProjectWindow::saveAs() {
    std::string path = askFile(window_, true, L"另存为", kProjectFilter, L"tsn", vm_.path());
    if (path.empty()) return false;
    const std::string failed = saveTo(path);
    if (!failed.empty()) notice(failed, MB_ICONERROR);
    return failed.empty();
}

void ProjectWindow::importCsv() {
    const std::string path =
        askFile(window_, false, L"导入 CSV", L"荷载组合 CSV (*.csv)\0*.csv\0所有文件 (*.*)\0*.*\0",
                L"csv", {});
    if (path.empty()) return;
    const std::string failed = vm_.importCases(path);
    refresh();
    if (!failed.empty()) notice(failed, MB_ICONERROR);
}

std::string ProjectWindow::exportResultsTo(const std::string& path) {
    return exportOutcomeText(vm_.exportResults(path), "结果 CSV ");
}

std::string ProjectWindow::exportBooksTo(const std::string& directory) {
    return exportOutcomeText(vm_.exportBooks(directory), "计算书");
}

std::string ProjectWindow::exportDrawingsTo(const std::string& directory) {
    return exportOutcomeText(vm_.exportDrawings(directory), "施工图");
}

void ProjectWindow::exportResults() {
    const std::string path =
        askFile(window_, true, L"导出结果 CSV", L"CSV (*.csv)\0*.csv\0", L"csv", {});
    if (path.empty()) return;
    const std::string said = exportResultsTo(path);
    if (!said.empty()) {
        notice(said, MB_ICONINFORMATION);
    } else {
        status("已导出 " + path);
    }
}

void ProjectWindow::exportFolder(bool books) {
    const std::string folder =
        askFolder(window_, books ? L"导出计算书到文件夹" : L"导出施工图到文件夹");
    if (folder.empty()) return;
    const std::string said = books ? exportBooksTo(folder) : exportDrawingsTo(folder);
    if (!said.empty()) {
        notice(said, MB_ICONINFORMATION);
    } else {
        status(std::string(books ? "计算书" : "施工图") + "已导出到 " + folder);
    }
}

std::string ProjectWindow::exportScheduleTo(const std::string& path) {
    // The PDF in the standard Song face every Chinese PDF reader has (book/book_pdf_std.h).
    return exportOutcomeText(vm_.exportSchedule(path, renderStandardPdf), "柱表");
}

void ProjectWindow::exportSchedule() {
    // The type chosen in the dialog gives a name typed without a suffix its suffix.
    static constexpr const wchar_t* kSuffixes[] = {L".dxf", L".html", L".docx", L".pdf"};
    std::wstring buffer(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window_;
    dialog.lpstrFilter =
        L"柱表施工图 DXF (*.dxf)\0*.dxf\0柱表 HTML (*.html)\0*.html;*.htm\0柱表 Word "
        L"(*.docx)\0*.docx\0柱表 PDF (*.pdf)\0*.pdf\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrTitle = L"导出柱表";
    dialog.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
    if (GetSaveFileNameW(&dialog) == FALSE) return;
    std::wstring path = buffer.c_str();
    const std::size_t dot = path.find_last_of(L'.');
    const std::size_t slash = path.find_last_of(L"\\/");
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) {
        const DWORD chosen =
            dialog.nFilterIndex >= 1 && dialog.nFilterIndex <= 4 ? dialog.nFilterIndex : 1;
        path += kSuffixes[chosen - 1];
    }
    const std::string said = exportScheduleTo(narrow(path));
    if (!said.empty()) {
        notice(said,
               said.find("导出失败") != std::string::npos ? MB_ICONERROR : MB_ICONINFORMATION);
    } else {
        status("柱表已导出到 " + narrow(path));
    }
}

void ProjectWindow::editPreferences(PreferenceScope scope) {
    if (window_ == nullptr || (scope == PreferenceScope::Column && !vm_.selected())) return;
    if (editor_ != nullptr) endEdit(true, false);
    BarPreferencesDialog dialog(vm_, scope);
    if (dialog.runModal(window_) == IDOK) {
        refresh();
        showFinding();
    }
}

void ProjectWindow::designAll() {
    if (designRunning() || vm_.columnCount() == 0 || window_ == nullptr) return;
    if (editor_ != nullptr) endEdit(true, false);
    snapshot_ = vm_.designSnapshot();
    outcomes_.clear();
    cancelRequested_ = false;
    SendMessageW(progress_, PBM_SETRANGE32, 0, static_cast<LPARAM>(snapshot_.size()));
    SendMessageW(progress_, PBM_SETPOS, 0, 0);
    ShowWindow(progress_, SW_SHOW);
    ShowWindow(cancel_, SW_SHOW);
    status("设计中…");
    HWND target = window_;
    worker_ = std::thread([this, target] {
        outcomes_ = designProjectColumns(
            snapshot_, cancelRequested_, [target](std::size_t done, std::size_t total) {
                PostMessageW(target, kProgressMessage, done, static_cast<LPARAM>(total));
            });
        PostMessageW(target, kDesignDoneMessage, 0, 0);
    });
    refreshCommands();
}

void ProjectWindow::cancelDesign() {
    cancelRequested_ = true;
}

void ProjectWindow::designDone() {
    if (!worker_.joinable()) return;
    worker_.join();
    const bool cancelled = cancelRequested_ && outcomes_.size() < snapshot_.size();
    vm_.applyDesign(snapshot_, std::move(outcomes_));
    outcomes_.clear();
    snapshot_.clear();
    ShowWindow(progress_, SW_HIDE);
    ShowWindow(cancel_, SW_HIDE);
    refresh();
    fitListColumns();
    status(std::string(cancelled ? "设计已取消。" : "设计完成。") + vm_.designSummary());
}

int ProjectWindow::run() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (translate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace tessarin
