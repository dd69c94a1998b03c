#pragma once

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

// Acts on modal dialogs and message boxes as they open inside a command's nested event loop:
// each queued step runs once on the next modal window that opens (a window acted on counts as new
// again once it has been hidden). A modal window that opens with no step left is recorded in
// unexpected() and closed, so a wrong turn fails the test instead of hanging it.
class ModalDriver : public QObject {
  public:
    using Step = std::function<void(QWidget*)>;

    ModalDriver();
    ~ModalDriver() override;

    ModalDriver& then(Step step);
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
    void poll();

    QTimer timer_;
    std::deque<Step> steps_;
    QPointer<QWidget> actedOn_;
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
