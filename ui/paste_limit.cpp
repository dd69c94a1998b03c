#include "ui/paste_limit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <string>

#include "ui/message_box.h"

namespace tessarin {

namespace {

std::string overlongPasteMessage(long long length, int limit) {
    return "要粘贴的内容有 " + std::to_string(length) + " 个字符，此栏最多 " +
           std::to_string(limit) + " 个字符，未粘贴。";
}

class PasteLimit : public QObject {
  public:
    explicit PasteLimit(QLineEdit& edit) : QObject(&edit), edit_(edit) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // True when the text goes in as a whole (it replaces the selection); otherwise says so.
    bool fits(const QString& text);
    void showMenu(const QContextMenuEvent& event);

    QLineEdit& edit_;
};

bool PasteLimit::fits(const QString& text) {
    const qsizetype length = edit_.text().size() - edit_.selectedText().size() + text.size();
    if (length <= edit_.maxLength()) return true;
    showMessageBox(edit_.window(),
                   {overlongPasteMessage(static_cast<long long>(text.size()), edit_.maxLength()),
                    programName(), MessageKind::Warning});
    edit_.setFocus(Qt::OtherFocusReason);
    return false;
}

// The field's own menu, its Paste entry checked first.
void PasteLimit::showMenu(const QContextMenuEvent& event) {
    QMenu* menu = edit_.createStandardContextMenu();
    // The entry is the one that shows the paste keys ("&Paste\tCtrl+V").
    const QString keys =
        QLatin1Char('\t') + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    for (QAction* paste : menu->actions()) {
        if (!paste->text().endsWith(keys)) continue;
        QObject::disconnect(paste, &QAction::triggered, &edit_, nullptr);
        QObject::connect(paste, &QAction::triggered, &edit_, [this] {
            if (fits(QGuiApplication::clipboard()->text())) edit_.paste();
        });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event.globalPos());
}

bool PasteLimit::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &edit_ || edit_.isReadOnly()) return false;
    switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
                return !fits(QGuiApplication::clipboard()->text());
            }
            return false;
        case QEvent::ContextMenu:
            showMenu(*static_cast<QContextMenuEvent*>(event));
            return true;
        case QEvent::MouseButtonRelease: {
            const QClipboard* clipboard = QGuiApplication::clipboard();
            if (static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton &&
                clipboard->supportsSelection()) {
                return !fits(clipboard->text(QClipboard::Selection));
            }
            return false;
        }
        default:
            return false;
    }
}

}  // namespace

void refuseOverlongPastes(QLineEdit& edit) {
    edit.installEventFilter(new PasteLimit(edit));
}

}  // namespace tessarin
