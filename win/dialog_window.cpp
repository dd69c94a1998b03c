#include "win/dialog_window.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "views/pictures.h"
#include "win/message_parameter.h"
#include "win/wide_text.h"

namespace tessarin {

namespace {

DialogWindow::MessageHook& messageHook() {
    static DialogWindow::MessageHook hook;
    return hook;
}

}  // namespace

void DialogWindow::setMessageHook(MessageHook hook) {
    messageHook() = std::move(hook);
}

DialogWindow::DialogWindow(const DialogTemplate& dialogTemplate, DialogFrame frame)
    : template_(dialogTemplate), bytes_(buildDialogTemplate(dialogTemplate, frame, dialogFont())) {}

DialogWindow::~DialogWindow() {
    destroy();
    for (const auto& [control, bitmap] : pictures_) DeleteObject(bitmap);
}

HWND DialogWindow::controlAt(std::size_t position) const {
    return position < controls_.size() ? controls_[position] : nullptr;
}

bool DialogWindow::create(HWND owner) {
    ended_ = false;
    endCode_ = IDCANCEL;
    const auto* dialogBytes = reinterpret_cast<const DLGTEMPLATE*>(bytes_.data());
    window_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialogBytes, owner, procedure,
                                         reinterpret_cast<LPARAM>(this));
    return window_ != nullptr;
}

void DialogWindow::destroy() {
    if (window_ != nullptr) DestroyWindow(window_);
    window_ = nullptr;
    controls_.clear();
}

int DialogWindow::runModal(HWND owner) {
    const bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner);
    if (!create(owner)) return -1;
    if (ownerWasEnabled) EnableWindow(owner, FALSE);
    ShowWindow(window_, SW_SHOW);

    MSG message;
    while (!ended_) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // WM_QUIT belongs to the outermost loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got == -1) break;
        if (messageHook() && messageHook()(message)) continue;
        if (preTranslate(message)) continue;
        if (IsDialogMessageW(window_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    // The owner is enabled before the dialog goes, so that the activation returns to it.
    if (ownerWasEnabled) EnableWindow(owner, TRUE);
    if (owner != nullptr) SetActiveWindow(owner);
    destroy();
    return endCode_;
}

void DialogWindow::end(int code) {
    endCode_ = code;
    ended_ = true;
    // Wakes the loop should it be waiting.
    PostMessageW(window_, WM_NULL, 0, 0);
}

bool DialogWindow::onCommand(int id, int /*notification*/) {
    if (id == IDOK || id == IDCANCEL) {
        if (id == IDCANCEL && !mayEnd()) return true;
        end(id);
        return true;
    }
    return false;
}

bool DialogWindow::onMessage(UINT, WPARAM, LPARAM, INT_PTR&) {
    return false;
}

bool DialogWindow::preTranslate(MSG&) {
    return false;
}

INT_PTR CALLBACK DialogWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        fromParameter<DialogWindow*>(lParam)->window_ = window;
    }
    auto* dialog = fromParameter<DialogWindow*>(GetWindowLongPtrW(window, DWLP_USER));
    if (dialog == nullptr) return FALSE;
    return dialog->handle(message, wParam, lParam);
}

INT_PTR DialogWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            // The children stand in template order.
            controls_.clear();
            for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                controls_.push_back(child);
            }
            for (std::size_t i = 0; i < template_.controls.size() && i < controls_.size(); ++i) {
                const ControlTemplate& item = template_.controls[i];
                if (item.kind != ControlKind::Picture) continue;
                const PictureResource* picture = findPicture(item.caption);
                if (picture == nullptr || pictures_.count(controls_[i]) != 0) continue;
                auto* bitmap = static_cast<HBITMAP>(
                    LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(picture->number),
                               IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
                if (bitmap != nullptr) pictures_[controls_[i]] = bitmap;
            }
            const bool focusFirst = onInit();
            fitDropLists();
            return focusFirst ? TRUE : FALSE;
        }
        case WM_COMMAND:
            return onCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
        case WM_CLOSE:
            // The close box: the cancel code, without any exchange.
            if (mayEnd()) end(IDCANCEL);
            return TRUE;
        case WM_DRAWITEM: {
            const auto& item = *fromParameter<const DRAWITEMSTRUCT*>(lParam);
            if (item.CtlType == ODT_STATIC && pictures_.count(item.hwndItem) != 0) {
                drawPicture(item);
                return TRUE;
            }
            break;
        }
        default:
            break;
    }
    INT_PTR result = 0;
    if (onMessage(message, wParam, lParam, result)) {
        // The colour messages take their brush as the procedure's own result.
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) return result;
        SetWindowLongPtrW(window_, DWLP_MSGRESULT, result);
        return TRUE;
    }
    return FALSE;
}

void DialogWindow::fitDropLists() {
    // A list too narrow for its longest entry in this font (the templates were drawn for a
    // narrower face) grows to the left, into the free space before it, never over another
    // control: the selected entry is then shown whole.
    const auto rectOf = [this](HWND control) {
        RECT box{};
        GetWindowRect(control, &box);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&box), 2);
        return box;
    };
    for (std::size_t i = 0; i < template_.controls.size() && i < controls_.size(); ++i) {
        if (template_.controls[i].kind != ControlKind::DropList) continue;
        HWND list = controls_[i];
        HDC context = GetDC(list);
        HGDIOBJ previous =
            SelectObject(context, fromParameter<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
        int widest = 0;
        const auto count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
        for (int entry = 0; entry < count; ++entry) {
            wchar_t text[64] = {};
            if (SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(entry), 0) >= 64) continue;
            SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(entry),
                         reinterpret_cast<LPARAM>(text));
            SIZE extent{};
            GetTextExtentPoint32W(context, text, static_cast<int>(wcslen(text)), &extent);
            widest = std::max(widest, static_cast<int>(extent.cx));
        }
        SelectObject(context, previous);
        ReleaseDC(list, context);

        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (!GetComboBoxInfo(list, &info)) continue;
        const int shown = info.rcItem.right - info.rcItem.left - 4;
        if (widest <= shown) continue;
        RECT box = rectOf(list);
        LONG limit = 0;  // the right edge of the nearest control to the left on the same rows
        for (std::size_t j = 0; j < controls_.size(); ++j) {
            if (j == i || template_.controls[j].kind == ControlKind::GroupFrame) continue;
            const RECT other = rectOf(controls_[j]);
            const RECT closed{box.left, box.top, box.right, info.rcItem.bottom + box.top + 4};
            if (other.bottom <= closed.top || other.top >= closed.bottom) continue;
            if (other.right <= box.left) limit = std::max(limit, other.right + 2);
        }
        const LONG left = std::max(limit, box.left - (widest - shown));
        SetWindowPos(list, nullptr, left, box.top, box.right - left, box.bottom - box.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void DialogWindow::drawPicture(const DRAWITEMSTRUCT& item) {
    HBITMAP bitmap = pictures_.at(item.hwndItem);
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    const RECT& box = item.rcItem;
    const int boxWidth = box.right - box.left;
    const int boxHeight = box.bottom - box.top;
    // At its own pixel size; smaller only where the control is (a smaller font or screen scale
    // than the templates were drawn for), keeping the proportions.
    const double scale = std::min({1.0, static_cast<double>(boxWidth) / info.bmWidth,
                                   static_cast<double>(boxHeight) / info.bmHeight});
    const int width = static_cast<int>(std::lround(info.bmWidth * scale));
    const int height = static_cast<int>(std::lround(info.bmHeight * scale));
    FillRect(item.hDC, &box, GetSysColorBrush(COLOR_BTNFACE));
    HDC source = CreateCompatibleDC(item.hDC);
    HGDIOBJ previous = SelectObject(source, bitmap);
    SetStretchBltMode(item.hDC, HALFTONE);
    SetBrushOrgEx(item.hDC, 0, 0, nullptr);
    StretchBlt(item.hDC, box.left, box.top, width, height, source, 0, 0, info.bmWidth,
               info.bmHeight, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
}

std::wstring programName() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path, length);
    if (const auto slash = name.find_last_of(L"\\/"); slash != std::wstring::npos) {
        name.erase(0, slash + 1);
    }
    if (const auto dot = name.find_last_of(L'.'); dot != std::wstring::npos) name.erase(dot);
    return name;
}

int messageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
    return MessageBoxW(owner, widen(text).c_str(), widen(caption).c_str(), flags);
}

}  // namespace tessarin
