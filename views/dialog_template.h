#pragma once

#include <span>

namespace tessarin {

// The kinds of control a dialog template holds. Both desktops build their dialogs from these
// templates: the Qt program as widgets, the Windows program as in-memory dialog templates for the
// system's dialog manager.
enum class ControlKind {
    Edit,           // single-line edit field, tab stop
    DropList,       // drop-down list without typing, tab stop; height is that of the open list
    PushButton,     // tab stop
    DefaultButton,  // the dialog's default push button, tab stop
    RadioButton,    // automatic radio button, chosen with the mouse (no tab stop)
    CheckBox,       // automatic check box, tab stop (Space toggles it)
    Label,          // left-aligned static text
    GroupFrame,     // captioned frame drawn behind the controls it surrounds
    Line,           // black horizontal rule
    Picture,        // a picture (caption = picture name, see views/pictures.h) at its own size
    Icon,           // the program icon at 32 x 32 pixels
    ResultBox,      // read-only multi-line text box with both scroll bars, tab stop
};

// Controls no code refers to carry this number.
inline constexpr int kStaticId = -1;

// One line of a dialog template: position and size in dialog units.
struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* caption;  // UTF-8; for pictures the picture's name
    int x;
    int y;
    int width;
    int height;
};

struct DialogTemplate {
    int number;
    const char* caption;  // UTF-8
    int width;            // dialog units
    int height;
    std::span<const ControlTemplate> controls;  // template order is the tab order
};

}  // namespace tessarin
