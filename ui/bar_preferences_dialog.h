#pragma once

#include <QDialog>
#include <array>

#include "report/bar_preference_fields.h"
#include "views/project_view_model.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace tessarin {

// 配筋参数: the bar preferences of the project or of the selected column, one widget per field
// of kBarPreferenceFields (a check box for a yes/no field, a line for the others). For a column,
// the check box 采用工程的配筋参数 shows the project's and greys the fields. OK hands the texts
// to the view model; a refused value keeps the dialog open with the message naming the field.
class BarPreferencesDialog : public QDialog {
    Q_OBJECT

  public:
    BarPreferencesDialog(ProjectViewModel& vm, PreferenceScope scope, QWidget* parent = nullptr);

    // For the tests: the field's widget (QLineEdit or QCheckBox), the follow box (column only),
    // the message line.
    QWidget* field(std::size_t index) const { return fields_.at(index); }
    QCheckBox* followBox() const { return follow_; }
    QLabel* messageLabel() const { return message_; }

    void accept() override;

  private:
    void showPreferences(const BarPreferences& preferences);
    void followChanged();

    ProjectViewModel& vm_;
    PreferenceScope scope_;
    std::array<QWidget*, kBarPreferenceFields.size()> fields_{};
    QCheckBox* follow_ = nullptr;
    QLabel* message_ = nullptr;
    BarPreferences own_;  // the column's own, shown again when follow is cleared
};

}  // namespace tessarin
