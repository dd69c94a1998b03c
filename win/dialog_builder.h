#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "views/dialog_template.h"

namespace tessarin {

// How a dialog's window looks beyond its template: the main dialog is the application's window
// (its own taskbar button, visible from its creation on); the others are owned pop-ups.
struct DialogFrame {
    bool applicationWindow = false;
};

// The dialog font: "Microsoft YaHei UI" where the system has it, otherwise SimSun (宋体), at
// 9 points.
struct DialogFont {
    std::wstring face;
    int points = 9;
};
DialogFont dialogFont();

// Turns a template into the bytes of an extended in-memory dialog template (DLGTEMPLATEEX) for
// the system's dialog manager: dialog units, template order as tab order, the default push
// button, radio groups, group frames, pictures drawn by the dialog (owner-drawn statics), icon
// 128 and the rich-edit result box. The bytes are DWORD-aligned from their start.
std::vector<std::uint32_t> buildDialogTemplate(const DialogTemplate& dialogTemplate,
                                               const DialogFrame& frame, const DialogFont& font);

// The window class of the result box (a rich-edit control, so the Enter rule leaves it alone).
inline constexpr const wchar_t* kResultBoxClass = L"RICHEDIT50W";

}  // namespace tessarin
