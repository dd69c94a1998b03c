#pragma once

#include "run/reinforcement_scheme.h"
#include "win/dialog_window.h"

namespace tessarin {

// The bar-arrangement question between the two steps (template 130): scheme 1 with a corner-bar
// diameter from the list, or scheme 2 with the ratios Aswx/Asx and Aswy/Asy. The members keep
// the last confirmed values from one opening to the next; the list opens at "22" every time.
class SchemeDialog : public DialogWindow {
  public:
    SchemeDialog();

    // What was confirmed by the last OK.
    SchemeChoice choice() const { return {schemeIndex_, diameter_, ratioX_, ratioY_}; }

  protected:
    bool onInit() override;
    bool onCommand(int id, int notification) override;
    bool preTranslate(MSG& message) override;

  private:
    void keepRadiosOutOfTabOrder();
    void onSelectScheme1();
    void onSelectScheme2();
    void onOk();
    bool exchangeFields();

    int schemeIndex_ = 0;
    double ratioX_ = 0.0;
    double ratioY_ = 0.0;
    double diameter_ = 22.0;  // used only after the first OK, which sets it
};

}  // namespace tessarin
