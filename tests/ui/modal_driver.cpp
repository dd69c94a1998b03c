#include "tests/ui/modal_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QTest>

#include "report/gbk_text.h"

namespace tessarin {

ModalDriver::ModalDriver() {
    connect(&timer_, &QTimer::timeout, this, &ModalDriver::poll);
    timer_.start(5);
}

ModalDriver::~ModalDriver() {
    timer_.stop();
}

ModalDriver& ModalDriver::then(Step step) {
    steps_.push_back(std::move(step));
    return *this;
}

bool ModalDriver::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide && watched == actedOn_.data()) {
        watched->removeEventFilter(this);
        actedOn_.clear();
    }
    return QObject::eventFilter(watched, event);
}

void ModalDriver::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible() || modal == actedOn_.data()) return;
    if (actedOn_) actedOn_->removeEventFilter(this);
    actedOn_ = modal;
    modal->installEventFilter(this);
    if (steps_.empty()) {
        unexpected_ << modal->windowTitle() + QStringLiteral(": ") +
                           (qobject_cast<QMessageBox*>(modal)
                                ? qobject_cast<QMessageBox*>(modal)->text()
                                : QString::fromLatin1(modal->metaObject()->className()));
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        return;
    }
    // The step runs from its own timer: a step that opens a nested modal box (OK with a bad
    // field) must not block this polling timer, which Qt never re-enters.
    Step step = std::move(steps_.front());
    steps_.pop_front();
    QPointer<QWidget> target(modal);
    QTimer::singleShot(0, this, [step = std::move(step), target] {
        if (target) step(target.data());
    });
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
