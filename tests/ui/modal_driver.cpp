#include "tests/ui/modal_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QTest>

#include "text/gbk_text.h"

namespace tessarin {

namespace {

QString describe(QWidget* window) {
    const auto* box = qobject_cast<QMessageBox*>(window);
    return window->windowTitle() + QStringLiteral(": ") +
           (box != nullptr ? box->text() : QString::fromLatin1(window->metaObject()->className()));
}

QString describe(const ModalDriver::Expected& expected) {
    QString text = QString::fromLatin1(expected.type->className());
    if (!expected.text.isEmpty()) text += QStringLiteral(" \"") + expected.text + '"';
    return text;
}

}  // namespace

ModalDriver::ModalDriver() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->isModal()) {
            testWindows_.append(window);
            watch(window);
        }
    }
    connect(&timer_, &QTimer::timeout, this, &ModalDriver::poll);
    timer_.start(5);
}

ModalDriver::~ModalDriver() {
    timer_.stop();
}

ModalDriver& ModalDriver::then(Expected expected, Step step) {
    steps_.push_back({std::move(expected), std::move(step)});
    return *this;
}

bool ModalDriver::matches(const Expected& expected, QWidget* window) {
    if (!window->metaObject()->inherits(expected.type)) return false;
    if (expected.text.isEmpty()) return true;
    const auto* box = qobject_cast<QMessageBox*>(window);
    return (box != nullptr ? box->text() : window->windowTitle()).contains(expected.text);
}

void ModalDriver::watch(QWidget* window) {
    window->removeEventFilter(this);
    window->installEventFilter(this);
}

bool ModalDriver::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide) {
        watched->removeEventFilter(this);
        auto* window = static_cast<QWidget*>(watched);
        testWindows_.removeAll(window);
        actedOn_.removeAll(window);
        if (last_ == window) last_.clear();
        if (waitingOn_ == window) waitingOn_.clear();
    }
    return QObject::eventFilter(watched, event);
}

void ModalDriver::poll() {
    QWidget* top = QApplication::activeModalWidget();
    if (top == nullptr || !top->isVisible()) return;
    if (top == last_.data()) {  // its step is running, or the window is about to close
        waitOrClose(top);
        return;
    }
    if (!steps_.empty() && matches(steps_.front().expected, top)) {
        act(top);
        return;
    }
    if (testWindows_.contains(top)) return;  // the test drives its own windows
    if (actedOn_.contains(top)) {            // a box over it has just closed
        waitOrClose(top);
        return;
    }
    refuse(top, steps_.empty()
                    ? QString()
                    : QStringLiteral(" (waiting for ") + describe(steps_.front().expected) + ')');
}

void ModalDriver::act(QWidget* window) {
    // The step runs from its own timer: a step that opens a nested modal box (OK with a bad
    // field) must not block this polling timer, which Qt never re-enters.
    Step step = std::move(steps_.front().step);
    steps_.pop_front();
    last_ = window;
    waitingOn_.clear();
    if (!actedOn_.contains(window)) actedOn_.append(window);
    watch(window);
    QPointer<QWidget> target(window);
    QTimer::singleShot(0, this, [step = std::move(step), target] {
        if (target) step(target.data());
    });
}

void ModalDriver::waitOrClose(QWidget* window) {
    if (waitingOn_ != window) {
        waitingOn_ = window;
        waitingSince_.start();
        return;
    }
    if (waitingSince_.elapsed() < kDeadlineMs) return;
    refuse(window, QStringLiteral(" (still open after %1 ms").arg(kDeadlineMs) +
                       (steps_.empty() ? QStringLiteral(")")
                                       : QStringLiteral(", waiting for ") +
                                             describe(steps_.front().expected) + ')'));
}

void ModalDriver::refuse(QWidget* window, const QString& why) {
    unexpected_ << describe(window) + why;
    last_ = window;
    waitingOn_.clear();
    watch(window);
    if (auto* dialog = qobject_cast<QDialog*>(window)) {
        dialog->reject();
    } else {
        window->close();
    }
}

ModalDriver::Step ModalDriver::answer(QMessageBox::StandardButton button) {
    return [this, button](QWidget* widget) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box == nullptr) {
            unexpected_ << QStringLiteral("expected a message box, got ") + widget->windowTitle();
            if (auto* dialog = qobject_cast<QDialog*>(widget)) dialog->reject();
            return;
        }
        boxes_.append({box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                       box->textFormat()});
        QAbstractButton* target = box->button(button);
        if (target == nullptr) {
            unexpected_ << QStringLiteral("message box without the expected button: ") +
                               box->text();
            box->reject();
            return;
        }
        target->click();
    };
}

ModalDriver::Step ModalDriver::accept() {
    return [](QWidget* widget) {
        if (auto* dialog = qobject_cast<QDialog*>(widget)) dialog->accept();
    };
}

ModalDriver::Step ModalDriver::pressEscape() {
    return [](QWidget* widget) { QTest::keyClick(widget, Qt::Key_Escape); };
}

ScratchDirectory::ScratchDirectory() : previous_(QDir::currentPath()) {
    valid_ = dir_.isValid() && QDir::setCurrent(dir_.path());
}

ScratchDirectory::~ScratchDirectory() {
    QDir::setCurrent(previous_);
}

bool ScratchDirectory::reportExists() const {
    return QFile::exists(QDir(dir_.path()).filePath(QStringLiteral("Result.txt")));
}

QString ScratchDirectory::reportText() const {
    QFile file(QDir(dir_.path()).filePath(QStringLiteral("Result.txt")));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    QString text = QString::fromStdString(
        gbkToUtf8(std::string(bytes.constData(), static_cast<size_t>(bytes.size()))));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

}  // namespace tessarin
