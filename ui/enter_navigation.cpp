#include "ui/enter_navigation.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace tessarin {

namespace {

bool hasDefaultButton(const QDialog& dialog) {
    const auto buttons = dialog.findChildren<QPushButton*>();
    return std::any_of(buttons.begin(), buttons.end(), [&dialog](const QPushButton* button) {
        return button->isDefault() && button->window() == &dialog;
    });
}

// Only a plain single-line edit field: not a subclass, not the result box, not a list.
bool isEditField(const QObject* target) {
    return target != nullptr && target->metaObject() == &QLineEdit::staticMetaObject;
}

}  // namespace

bool advanceOnEnter(QDialog& dialog, QObject* target, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    // Shift, Ctrl, the keypad and auto-repeat do not matter; Alt+Enter belongs to the system.
    if (key->modifiers() & Qt::AltModifier) return false;
    if (!hasDefaultButton(dialog)) return false;
    if (!isEditField(target)) return false;
    // A nested dialog's fields belong to that dialog's own rule.
    if (static_cast<QWidget*>(target)->window() != &dialog) return false;

    // Exactly what Tab does: the dialog moves the focus to the next enabled tab stop.
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &tab);
    return true;
}

EnterNavigation::EnterNavigation(QDialog& dialog) : QObject(&dialog), dialog_(dialog) {
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>()) {
        if (edit->window() == &dialog) edit->installEventFilter(this);
    }
}

bool EnterNavigation::eventFilter(QObject* watched, QEvent* event) {
    if (advanceOnEnter(dialog_, watched, event)) return true;
    return QObject::eventFilter(watched, event);
}

}  // namespace tessarin
