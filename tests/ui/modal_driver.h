#pragma once

#include <QElapsedTimer>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <deque>
#include <functional>

namespace tessarin {

// What a test saw of a message box.
struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    Qt::TextFormat format = Qt::AutoText;
};

// Acts on modal dialogs and message boxes as they open inside a command's nested event loop. Each
// step names the window it waits for (its class and, for a message box, a part of its text) and
// runs once on it when it is the top modal window; the window it ran on is not acted on again
// until it has been hidden or another window has been acted on.
//
// A modal window that opens while no step waits for it (no step left, or another window
// expected) is recorded in unexpected() and closed, so a wrong turn fails the test instead of
// hanging it. Windows that were already open when the driver was made belong to the test and are
// left alone, and a window a step ran on that comes back on top (a box over it has just closed)
// is given time to close by itself: only one that stays on top for kDeadlineMs is recorded and
// closed. So the order in which timers fire on a busy machine changes nothing.
class ModalDriver : public QObject {
  public:
    using Step = std::function<void(QWidget*)>;

    // The window a step waits for: a modal window of this class or one derived from it and, when
    // text is not empty, a message box whose text (any other window whose title) contains it.
    struct Expected {
        const QMetaObject* type = nullptr;
        QString text;
    };
    template <typename Window>
    static Expected window() {
        return {&Window::staticMetaObject, {}};
    }
    static Expected messageBox(const QString& text) {
        return {&QMessageBox::staticMetaObject, text};
    }

    // How long a window a step ran on may stay on top with no step for it (generous: a loaded
    // machine runs the event loop late, but never this late).
    static constexpr int kDeadlineMs = 20000;

    ModalDriver();
    ~ModalDriver() override;

    ModalDriver& then(Expected expected, Step step);
    bool allDone() const { return steps_.empty(); }
    int pending() const { return static_cast<int>(steps_.size()); }
    const QStringList& unexpected() const { return unexpected_; }
    // Every message box the steps below saw, in order.
    const QList<SeenBox>& boxes() const { return boxes_; }

    // Steps: answer a message box with a button (recording it), accept or decline a dialog.
    Step answer(QMessageBox::StandardButton button);
    static Step accept();
    static Step pressEscape();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Pending {
        Expected expected;
        Step step;
    };

    void poll();
    void act(QWidget* window);
    void waitOrClose(QWidget* window);
    void refuse(QWidget* window, const QString& why);
    void watch(QWidget* window);
    static bool matches(const Expected& expected, QWidget* window);

    QTimer timer_;
    std::deque<Pending> steps_;
    QList<QPointer<QWidget>> testWindows_;  // open before the driver was made, until hidden
    QList<QPointer<QWidget>> actedOn_;      // windows a step ran on, until hidden
    QPointer<QWidget> last_;                // the window the last step ran on (or was refused)
    QPointer<QWidget> waitingOn_;           // a window acted on that is on top again
    QElapsedTimer waitingSince_;
    QStringList unexpected_;
    QList<SeenBox> boxes_;
};

// Runs a test in a fresh empty working directory (the report is written to the current one) and
// returns to the previous directory afterwards.
class ScratchDirectory {
  public:
    ScratchDirectory();
    ~ScratchDirectory();
    bool isValid() const { return valid_; }
    QString path() const { return dir_.path(); }
    // Result.txt as UTF-8 with LF line ends, as the result box shows it; empty when absent.
    QString reportText() const;
    bool reportExists() const;

  private:
    QTemporaryDir dir_;
    QString previous_;
    bool valid_ = false;
};

}  // namespace tessarin
