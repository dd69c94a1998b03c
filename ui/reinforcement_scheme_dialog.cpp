#include "ui/reinforcement_scheme_dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <string>

#include "run/control_id.h"
#include "ui/enter_navigation.h"
#include "ui/field_exchange.h"
#include "views/dialog_templates.h"

namespace tessarin {

ReinforcementSchemeDialog::ReinforcementSchemeDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setModal(true);
    controls_ = buildDialog(*this, kSchemeTemplate);
    diameterList_ = controls_.get<QComboBox>(idOf(ControlId::DiameterList));
    scheme1_ = controls_.get<QRadioButton>(idOf(ControlId::Scheme1));
    scheme2_ = controls_.get<QRadioButton>(idOf(ControlId::Scheme2));
    ratioXField_ = controls_.get<QLineEdit>(idOf(ControlId::RatioX));
    ratioYField_ = controls_.get<QLineEdit>(idOf(ControlId::RatioY));

    connect(scheme1_, &QRadioButton::clicked, this, &ReinforcementSchemeDialog::onSelectScheme1);
    connect(scheme2_, &QRadioButton::clicked, this, &ReinforcementSchemeDialog::onSelectScheme2);
    connect(controls_.get<QPushButton>(kIdOk), &QPushButton::clicked, this,
            &ReinforcementSchemeDialog::accept);
    new EnterNavigation(*this);
}

void ReinforcementSchemeDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) initDialog();
    QDialog::showEvent(event);
}

void ReinforcementSchemeDialog::initDialog() {
    // Load exchange: the radio button and the two ratios from the members.
    scheme1_->setChecked(schemeIndex_ == 0);
    scheme2_->setChecked(schemeIndex_ == 1);
    loadNumber(*ratioXField_, ratioX_);
    loadNumber(*ratioYField_, ratioY_);

    // The list always opens at "22", whatever was confirmed before.
    diameterList_->clear();
    for (const int diameter : kDiameters)
        diameterList_->addItem(QString::fromStdString(std::to_string(diameter)));
    diameterList_->setCurrentIndex(kDefaultDiameterIndex);
    diameterList_->setEnabled(true);

    // The ratio fields open disabled even under scheme 2; choosing scheme 2 enables them.
    ratioXField_->setEnabled(false);
    ratioYField_->setEnabled(false);
    controls_.control(kIdOk)->setFocus(Qt::TabFocusReason);
}

void ReinforcementSchemeDialog::onSelectScheme1() {
    diameterList_->setEnabled(true);
    diameterList_->setFocus(Qt::OtherFocusReason);
    ratioXField_->setEnabled(false);
    ratioYField_->setEnabled(false);
}

void ReinforcementSchemeDialog::onSelectScheme2() {
    diameterList_->setEnabled(false);
    ratioXField_->setEnabled(true);
    ratioYField_->setEnabled(true);
    ratioXField_->setFocus(Qt::OtherFocusReason);
}

bool ReinforcementSchemeDialog::exchangeFields() {
    // In this order; the first rejected field ends the exchange, the members before it are taken.
    schemeIndex_ = scheme1_->isChecked() ? 0 : (scheme2_->isChecked() ? 1 : -1);
    if (!saveNumber(*ratioXField_, ratioX_)) return false;
    if (!checkRange(*ratioXField_, ratioX_, 0.0, 1.0)) return false;
    if (!saveNumber(*ratioYField_, ratioY_)) return false;
    if (!checkRange(*ratioYField_, ratioY_, 0.0, 1.0)) return false;
    return true;
}

void ReinforcementSchemeDialog::accept() {
    // The diameter is taken before the exchange, under either scheme (the disabled list keeps its
    // selection), so it holds the list's value even when a field is then rejected.
    const int position = diameterList_->currentIndex();
    if (position >= 0 && position < kDiameterCount) diameter_ = kDiameters[position];
    if (!exchangeFields()) return;
    QDialog::accept();
}

}  // namespace tessarin
