#include "ui/field_exchange.h"

#include <QLineEdit>

#include "text/number_text.h"
#include "ui/message_box.h"
#include "views/field_exchange_rules.h"

namespace tessarin {

namespace {

void refuse(QLineEdit& field, const std::string& text) {
    showMessageBox(field.window(), {text, programName(), MessageKind::Warning});
    field.setFocus(Qt::OtherFocusReason);
    field.selectAll();
}

}  // namespace

void loadNumber(QLineEdit& field, double value) {
    field.setText(QString::fromStdString(formatGeneral(value)));
}

bool saveNumber(QLineEdit& field, double& value) {
    const std::optional<double> number = parseNumber(field.text().toStdString());
    if (!number) {
        refuse(field, notANumberText());
        return false;
    }
    value = *number;
    return true;
}

bool checkRange(QLineEdit& field, double value, double minimum, double maximum) {
    if (value >= minimum && value <= maximum) return true;
    refuse(field, outOfRangeText(minimum, maximum));
    return false;
}

}  // namespace tessarin
