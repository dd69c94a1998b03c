#include "win/field_exchange.h"

#include "text/number_text.h"
#include "views/field_exchange_rules.h"
#include "win/dialog_window.h"
#include "win/wide_text.h"

namespace tessarin {

namespace {

void refuse(HWND field, const std::string& text) {
    HWND dialog = GetParent(field);
    MessageBoxW(dialog, widen(text).c_str(), programName().c_str(), MB_OK | MB_ICONEXCLAMATION);
    focusDialogControl(field);
}

}  // namespace

std::string windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return narrow(text);
}

void focusDialogControl(HWND control) {
    HWND dialog = GetParent(control);
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    SendMessageW(control, EM_SETSEL, 0, -1);
}

void loadNumber(HWND field, double value) {
    SetWindowTextW(field, widen(formatGeneral(value)).c_str());
}

bool saveNumber(HWND field, double& value) {
    const std::optional<double> number = parseNumber(windowText(field));
    if (!number) {
        refuse(field, notANumberText());
        return false;
    }
    value = *number;
    return true;
}

bool checkRange(HWND field, double value, double minimum, double maximum) {
    if (value >= minimum && value <= maximum) return true;
    refuse(field, outOfRangeText(minimum, maximum));
    return false;
}

}  // namespace tessarin
