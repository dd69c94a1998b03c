#pragma once

#include <windows.h>

#include <string>

namespace tessarin {

// Moving a number between a dialog member and its edit field, by the shared rules of
// views/field_exchange_rules.h.

// Writes value into the field (6000 as "6000", 0.25 as "0.25").
void loadNumber(HWND field, double value);

// Reads the field into value. When the text is no number, value is left alone, the not-a-number
// message is shown over the dialog, the field gets the focus with its text selected, and the
// result is false.
bool saveNumber(HWND field, double& value);

// After saveNumber: outside [minimum, maximum] the range message naming both bounds is shown,
// the field gets the focus with its text selected, result false.
bool checkRange(HWND field, double value, double minimum, double maximum);

// The text of a window as UTF-8.
std::string windowText(HWND window);

// Gives a dialog's control the focus the way the dialog manager does (an edit field's text is
// selected).
void focusDialogControl(HWND control);

}  // namespace tessarin
