#include "ui/message_box.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace tessarin {

namespace {

QString displayText(const std::string& text) {
    QString shown = QString::fromStdString(text);
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return shown;
}

}  // namespace

MessageAnswer showMessageBox(QWidget* parent, const Message& message) {
    QMessageBox::Icon icon = QMessageBox::Critical;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    switch (message.kind) {
        case MessageKind::Error:
            break;
        case MessageKind::Warning:
            icon = QMessageBox::Warning;
            break;
        case MessageKind::Question:
            icon = QMessageBox::Warning;
            buttons = QMessageBox::Yes | QMessageBox::No;
            break;
    }
    QMessageBox box(icon, QString::fromStdString(message.caption), displayText(message.text),
                    buttons, parent);
    box.setTextFormat(Qt::PlainText);
    if (message.kind == MessageKind::Question) box.setDefaultButton(QMessageBox::Yes);
    const int answer = box.exec();
    if (message.kind != MessageKind::Question) return MessageAnswer::Ok;
    return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

std::string programName() {
    return QCoreApplication::applicationName().toStdString();
}

}  // namespace tessarin
