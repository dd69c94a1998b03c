#include "win/enter_navigation.h"

#include <cwchar>

namespace tessarin {

bool advanceOnEnter(HWND dialog, const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN) return false;
    if (HIWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0)) != DC_HASDEFID) return false;
    if (message.hwnd == nullptr || !IsChild(dialog, message.hwnd)) return false;
    wchar_t name[16] = {};
    if (GetClassNameW(message.hwnd, name, 16) == 0) return false;
    // Five characters: "edit" and its terminating zero, so "Edit" matches and "RichEdit" or
    // "EditPlus" do not.
    if (_wcsnicmp(name, L"edit", 5) != 0) return false;
    SendMessageW(dialog, WM_NEXTDLGCTL, 0, 0);
    return true;
}

}  // namespace tessarin
