#include "win/main_dialog.h"

#include "book/book_pictures.h"
#include "book/design_book.h"
#include "text/gbk_text.h"
#include "views/dialog_templates.h"
#include "views/field_exchange_rules.h"
#include "views/pictures.h"
#include "win/book_export.h"
#include "win/enter_navigation.h"
#include "win/field_exchange.h"
#include "win/message_parameter.h"
#include "win/section_check_dialog.h"
#include "win/wide_text.h"

namespace tessarin {

namespace {

// The context menu of the dialog's background, as in the Qt program.
constexpr UINT kMenuAbout = 1;
constexpr UINT kMenuSectionCheck = 2;
constexpr UINT kMenuBook = 3;
constexpr UINT kMenuProject = 4;

HICON loadIcon(int width, int height) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconResource),
                                         IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
}

// The result box's face: fixed-width, a Chinese character two ASCII widths wide, as the
// report's columns assume; at the dialog font's size for a screen of dpi dots per inch.
HFONT createReportFont(int dpi) {
    const int height = -MulDiv(dialogFont().points, dpi, 72);
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       FIXED_PITCH | FF_MODERN, L"NSimSun");
}

}  // namespace

MainDialog::MainDialog() : DialogWindow(kMainTemplate, DialogFrame{true}) {}

MainDialog::~MainDialog() {
    setMessageHook({});
    if (largeIcon_ != nullptr) DestroyIcon(largeIcon_);
    if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
    if (reportFont_ != nullptr) DeleteObject(reportFont_);
}

bool MainDialog::onInit() {
    for (const NumberField& number : kMainExchangeOrder) {
        loadNumber(item(idOf(number.control)), session_.input.*number.member);
    }

    // The About entry at the end of the system menu, captioned by string 101.
    if (HMENU menu = GetSystemMenu(handle(), FALSE)) {
        wchar_t caption[64] = {};
        if (LoadStringW(GetModuleHandleW(nullptr), kAboutEntryString, caption, 64) > 0) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(menu, MF_STRING, kAboutCommand, caption);
        }
    }

    largeIcon_ = loadIcon(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    smallIcon_ = loadIcon(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    SendMessageW(handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_));
    SendMessageW(handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));

    HWND steel = item(idOf(ControlId::SteelList));
    for (const char* label : kSteelLabels) {
        SendMessageW(steel, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(label).c_str()));
    }
    SendMessageW(steel, CB_SETCURSEL, static_cast<WPARAM>(session_.input.steelIndex), 0);
    HWND concrete = item(idOf(ControlId::ConcreteList));
    for (const char* label : kConcreteLabels) {
        SendMessageW(concrete, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(label).c_str()));
    }
    SendMessageW(concrete, CB_SETCURSEL, static_cast<WPARAM>(session_.input.concreteIndex), 0);

    HWND result = item(idOf(ControlId::ResultBox));
    HDC screen = GetDC(handle());
    reportFont_ = createReportFont(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(handle(), screen);
    SendMessageW(result, WM_SETFONT, reinterpret_cast<WPARAM>(reportFont_), TRUE);
    SendMessageW(handle(), DM_SETDEFID, idOf(ControlId::Calculate), 0);
    return true;  // the focus goes to the first tab stop, field 1000, its text selected
}

bool MainDialog::onCommand(int id, int notification) {
    if (id == idOf(ControlId::Calculate) && notification == BN_CLICKED) {
        calculate();
        return true;
    }
    if (id == idOf(ControlId::Explain) && notification == BN_CLICKED) {
        diagramDialog_.runModal(handle());
        return true;
    }
    // No control carries IDOK: Enter goes to the default button "计算".
    if (id == IDOK) return true;
    return DialogWindow::onCommand(id, notification);
}

bool MainDialog::onMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == kAboutCommand) {
        showAbout();
        result = 0;
        return true;
    }
    if (message == WM_DPICHANGED) {
        // Moved to a screen of another scale: the dialog manager scales the dialog and its own
        // font; the result box's face is ours to scale. The default handling then resizes.
        HFONT previous = reportFont_;
        reportFont_ = createReportFont(HIWORD(wParam));
        SendMessageW(item(idOf(ControlId::ResultBox)), WM_SETFONT,
                     reinterpret_cast<WPARAM>(reportFont_), TRUE);
        if (previous != nullptr) DeleteObject(previous);
        return false;
    }
    if (message == WM_CONTEXTMENU && fromParameter<HWND>(wParam) == handle()) {
        POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (at.x == -1 && at.y == -1) {  // from the keyboard: at the dialog's corner
            RECT box{};
            GetWindowRect(handle(), &box);
            at = {box.left + 16, box.top + 16};
        }
        showContextMenu(at);
        result = 0;
        return true;
    }
    return false;
}

bool MainDialog::preTranslate(MSG& message) {
    // F1: the About box; F2: the section check, once a design is there.
    if (message.message == WM_KEYDOWN &&
        (message.hwnd == handle() || IsChild(handle(), message.hwnd))) {
        if (message.wParam == VK_F1) {
            showAbout();
            return true;
        }
        if (message.wParam == VK_F2) {
            showSectionCheck();
            return true;
        }
    }
    return advanceOnEnter(handle(), message);
}

void MainDialog::showContextMenu(POINT at) {
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kMenuAbout, L"关于 Tessarin(&A)...\tF1");
    const UINT enabled = sectionCheckAvailable() ? MF_ENABLED : MF_GRAYED;
    AppendMenuW(menu, MF_STRING | enabled, kMenuSectionCheck, L"截面验算(&C)...\tF2");
    AppendMenuW(menu, MF_STRING | enabled, kMenuBook, L"导出计算书…");
    AppendMenuW(menu, MF_STRING, kMenuProject, L"工程设计：Tessarin 柱设计(&P)...");
    const auto chosen = static_cast<UINT>(TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, handle(), nullptr));
    DestroyMenu(menu);
    if (chosen == kMenuAbout) showAbout();
    if (chosen == kMenuSectionCheck) showSectionCheck();
    if (chosen == kMenuBook) exportBook(handle(), std::nullopt);
    if (chosen == kMenuProject) showProjectWindow();
}

void MainDialog::showProjectWindow() {
    if (projectWindow_ != nullptr && projectWindow_->handle() != nullptr) {
        ShowWindow(projectWindow_->handle(), SW_RESTORE);
        SetForegroundWindow(projectWindow_->handle());
        return;
    }
    // A window of its own (in the taskbar, not owned by this dialog): the dialog stays usable.
    projectWindow_ = std::make_unique<ProjectWindow>(true, false);
    if (!projectWindow_->create()) {
        projectWindow_.reset();
        messageBox(handle(), "无法创建工程窗口。", "Tessarin 柱设计", MB_OK | MB_ICONSTOP);
        return;
    }
    projectWindow_->openLastProject();
    ProjectWindow* window = projectWindow_.get();
    setMessageHook([window](MSG& message) { return window->translate(message); });
}

bool MainDialog::mayEnd() {
    if (projectWindow_ == nullptr || projectWindow_->handle() == nullptr) return true;
    if (!projectWindow_->close()) return false;
    setMessageHook({});
    projectWindow_.reset();
    return true;
}

bool MainDialog::sectionCheckAvailable() const {
    // A design whose areas or demand are not finite numbers has nothing to check or draw.
    return session_.design.has_value() && session_.design->finite();
}

void MainDialog::showSectionCheck() {
    if (!sectionCheckAvailable()) return;
    const BookCase bookCase{*session_.design,
                            session_.scheme.diameter,
                            session_.scheme.ratioX,
                            session_.scheme.ratioY,
                            0,
                            std::nullopt};
    SectionCheckResult check = SectionCheck(*session_.design).run();
    std::optional<SectionCheckResult> forBook = check;
    SectionCheckDialog dialog(std::move(check), sectionPicture(bookCase),
                              [this, forBook](HWND owner) { exportBook(owner, forBook); });
    dialog.runModal(handle());
}

std::string MainDialog::exportBook(HWND owner, const std::optional<SectionCheckResult>& check) {
    if (!sectionCheckAvailable()) return {};
    const BookCase bookCase{*session_.design,
                            session_.scheme.diameter,
                            session_.scheme.ratioX,
                            session_.scheme.ratioY,
                            0,
                            check};
    const Book book = buildDesignBook(BookInfo{"", "", todayText()}, {&bookCase, 1});
    return exportCalculationBook(owner, book, L"计算书");
}

void MainDialog::calculate() {
    onCalculate(session_, *this);
}

void MainDialog::showAbout() {
    AboutDialog about;
    about.runModal(handle());
}

bool MainDialog::exchangeFields(DesignInput& input) {
    // The grade selections are read from the lists as the run starts.
    input.concreteIndex =
        static_cast<int>(SendMessageW(item(idOf(ControlId::ConcreteList)), CB_GETCURSEL, 0, 0));
    input.steelIndex =
        static_cast<int>(SendMessageW(item(idOf(ControlId::SteelList)), CB_GETCURSEL, 0, 0));
    for (const NumberField& number : kMainExchangeOrder) {
        if (!saveNumber(item(idOf(number.control)), input.*number.member)) return false;
    }
    return true;
}

MessageAnswer MainDialog::showMessage(const Message& message) {
    UINT flags = MB_OK | MB_ICONSTOP;
    switch (message.kind) {
        case MessageKind::Error:
            break;
        case MessageKind::Warning:
            flags = MB_OK | MB_ICONEXCLAMATION;
            break;
        case MessageKind::Question:
            flags = MB_YESNO | MB_ICONEXCLAMATION;
            break;
    }
    const int answer = messageBox(handle(), message.text, message.caption, flags);
    if (message.kind != MessageKind::Question) return MessageAnswer::Ok;
    return answer == IDYES ? MessageAnswer::Yes : MessageAnswer::No;
}

void MainDialog::focusControl(ControlId control) {
    if (HWND window = item(idOf(control))) focusDialogControl(window);
}

std::optional<SchemeChoice> MainDialog::chooseScheme() {
    if (schemeDialog_.runModal(handle()) != IDOK) return std::nullopt;
    return schemeDialog_.choice();
}

void MainDialog::showReport(const std::string& gbkBytes) {
    SetWindowTextW(item(idOf(ControlId::ResultBox)), widen(gbkToUtf8(gbkBytes)).c_str());
}

}  // namespace tessarin
