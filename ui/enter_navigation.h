#pragma once

#include <QObject>

class QDialog;
class QEvent;

namespace tessarin {

// The Enter-key rule of the main and the scheme dialog: Enter in a single-line edit field moves
// the focus to the next tab stop (as Tab does, selecting an edit field's text) and presses
// nothing. Everywhere else Enter keeps its standard meaning (the focused or the default button).
// True when the rule took the event.
bool advanceOnEnter(QDialog& dialog, QObject* target, QEvent* event);

// Installs advanceOnEnter on every edit field of a dialog.
class EnterNavigation : public QObject {
    Q_OBJECT

  public:
    explicit EnterNavigation(QDialog& dialog);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QDialog& dialog_;
};

}  // namespace tessarin
