#pragma once

#include <QDialog>

#include "run/reinforcement_scheme.h"
#include "ui/dialog_template.h"

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace tessarin {

// The bar-arrangement question between the two design steps (template 130). One object lives as
// long as the main dialog; its members keep the last confirmed (or partly exchanged) values, and
// every opening starts from them again.
class ReinforcementSchemeDialog : public QDialog {
    Q_OBJECT

  public:
    explicit ReinforcementSchemeDialog(QWidget* parent = nullptr);

    // The members, as the last save exchange left them.
    int schemeIndex() const { return schemeIndex_; }
    double ratioX() const { return ratioX_; }
    double ratioY() const { return ratioY_; }
    double diameter() const { return diameter_; }
    SchemeChoice choice() const { return {schemeIndex_, diameter_, ratioX_, ratioY_}; }

    QWidget* control(int id) const { return controls_.control(id); }

    // OK: the diameter from the list, then the save exchange; the dialog closes only when every
    // field passes.
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void initDialog();
    void onSelectScheme1();
    void onSelectScheme2();
    bool exchangeFields();

    DialogControls controls_;
    QComboBox* diameterList_ = nullptr;
    QRadioButton* scheme1_ = nullptr;
    QRadioButton* scheme2_ = nullptr;
    QLineEdit* ratioXField_ = nullptr;
    QLineEdit* ratioYField_ = nullptr;

    int schemeIndex_ = 0;
    double ratioX_ = 0.0;
    double ratioY_ = 0.0;
    double diameter_ = kDiameters[kDefaultDiameterIndex];
};

}  // namespace tessarin
