#pragma once

#include <windows.h>

namespace tessarin {

// The Enter-key rule of the main and the scheme dialog, applied to each queued message before the
// dialog manager sees it: a key-down of Enter (with any Shift or Ctrl, the keypad's too, repeats
// too) addressed to a control of class "edit" (exactly, in any case) of a dialog with a default
// push button moves the focus to the next tab stop as Tab does (WM_NEXTDLGCTL, which selects an
// edit field's text) and is taken: no character, no button. Everything else is not taken.
bool advanceOnEnter(HWND dialog, const MSG& message);

}  // namespace tessarin
