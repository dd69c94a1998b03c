#include "ui/bar_preferences_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>
#include <vector>

namespace tessarin {

namespace {

QString qt(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

BarPreferencesDialog::BarPreferencesDialog(ProjectViewModel& vm, PreferenceScope scope,
                                           QWidget* parent)
    : QDialog(parent), vm_(vm), scope_(scope) {
    setWindowTitle(qt(vm_.preferencesTitle(scope)));
    auto* layout = new QVBoxLayout(this);
    if (scope == PreferenceScope::Column) {
        follow_ = new QCheckBox(QStringLiteral("采用工程的配筋参数(&P)"), this);
        layout->addWidget(follow_);
    }
    auto* form = new QFormLayout;
    for (std::size_t i = 0; i < kBarPreferenceFields.size(); ++i) {
        const BarPreferenceField& entry = kBarPreferenceFields[i];
        const QString label = QString::fromUtf8(entry.label);
        if (entry.kind == BarPreferenceKind::Switch) {
            auto* box = new QCheckBox(label, this);
            fields_[i] = box;
            form->addRow(QString(), box);
        } else {
            auto* edit = new QLineEdit(this);
            edit->setPlaceholderText(QString::fromUtf8(barPreferenceHint(i)));
            edit->setToolTip(QString::fromUtf8(barPreferenceHint(i)));
            edit->setMinimumWidth(260);
            fields_[i] = edit;
            form->addRow(label + QStringLiteral("："), edit);
        }
    }
    layout->addLayout(form);
    message_ = new QLabel(this);
    message_->setWordWrap(true);
    message_->setStyleSheet(QStringLiteral("color: #b00000;"));
    layout->addWidget(message_);
    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    const Project& project = vm_.project();
    if (scope == PreferenceScope::Project || !vm_.selected()) {
        own_ = project.info.barPreferences;
    } else {
        own_ = project.columns.at(*vm_.selected()).column.barPreferences;
    }
    showPreferences(own_);
    if (follow_ != nullptr) {
        follow_->setChecked(vm_.columnFollowsProject());
        connect(follow_, &QCheckBox::toggled, this, &BarPreferencesDialog::followChanged);
        followChanged();
    }
}

void BarPreferencesDialog::showPreferences(const BarPreferences& preferences) {
    for (std::size_t i = 0; i < kBarPreferenceFields.size(); ++i) {
        const std::string text = barPreferenceText(kBarPreferenceFields[i], preferences);
        if (auto* box = qobject_cast<QCheckBox*>(fields_[i])) {
            box->setChecked(text == "yes");
        } else {
            qobject_cast<QLineEdit*>(fields_[i])->setText(qt(text));
        }
    }
}

void BarPreferencesDialog::followChanged() {
    const bool follow = follow_->isChecked();
    // Following: the project's values, greyed; else the column's own to edit from.
    showPreferences(follow ? vm_.project().info.barPreferences : own_);
    for (QWidget* widget : fields_) widget->setEnabled(!follow);
    message_->clear();
}

void BarPreferencesDialog::accept() {
    std::vector<std::string> texts;
    for (QWidget* widget : fields_) {
        if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            texts.emplace_back(box->isChecked() ? "yes" : "no");
        } else {
            texts.push_back(qobject_cast<QLineEdit*>(widget)->text().toStdString());
        }
    }
    const bool follow = follow_ != nullptr && follow_->isChecked();
    const std::string message = vm_.acceptPreferences(scope_, follow, texts);
    if (!message.empty()) {
        message_->setText(qt(message));
        return;
    }
    QDialog::accept();
}

}  // namespace tessarin
