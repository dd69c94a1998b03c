#pragma once

#include <QFont>
#include <QRect>
#include <map>
#include <vector>

#include "views/dialog_template.h"

class QDialog;
class QWidget;

namespace tessarin {

// Dialog units of a font: a horizontal unit is a quarter of the average character width, a
// vertical one an eighth of the character height.
struct DialogUnits {
    int baseX = 8;
    int baseY = 15;

    static DialogUnits of(const QFont& font);
    int toPixelsX(int units) const { return (units * baseX + 2) / 4; }
    int toPixelsY(int units) const { return (units * baseY + 4) / 8; }
    // Converts the corners, as the dialog manager does, so that controls that meet in dialog
    // units also meet in pixels.
    QRect toPixels(int x, int y, int width, int height) const;
};

// The dialogs' font: the first installed of the usual Song faces and the Noto / WenQuanYi CJK
// faces, at the size the templates were laid out for.
QFont dialogFont();

// The result box's font: a fixed-width CJK face in which a Chinese character is exactly two ASCII
// widths, as the report's layout assumes ("Noto Sans Mono CJK SC", then NSimSun, then the
// system's fixed-width face), at the dialog font's size.
QFont reportFont();

// The widgets a template produced, by control number.
class DialogControls {
  public:
    QWidget* control(int id) const;
    template <typename Widget>
    Widget* get(int id) const {
        return qobject_cast<Widget*>(control(id));
    }
    const std::vector<QWidget*>& all() const { return all_; }

  private:
    friend DialogControls buildDialog(QDialog& dialog, const DialogTemplate& dialogTemplate);
    std::map<int, QWidget*> byId_;
    std::vector<QWidget*> all_;
};

// Turns a template into child widgets of dialog: font, fixed client size, caption, the controls
// at their positions in template order (which makes the tab order), group frames behind the rest.
DialogControls buildDialog(QDialog& dialog, const DialogTemplate& dialogTemplate);

}  // namespace tessarin
