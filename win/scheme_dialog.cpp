#include "win/scheme_dialog.h"

#include <string>

#include "run/control_id.h"
#include "views/dialog_templates.h"
#include "win/enter_navigation.h"
#include "win/field_exchange.h"

namespace tessarin {

namespace {

// The radio buttons are chosen with the mouse and are no tab stops; the button control gives the
// checked one WS_TABSTOP whenever it is checked, so it is taken away again each time.
void keepOutOfTabOrder(HWND radio) {
    const LONG_PTR style = GetWindowLongPtrW(radio, GWL_STYLE);
    if ((style & WS_TABSTOP) != 0) SetWindowLongPtrW(radio, GWL_STYLE, style & ~WS_TABSTOP);
}

}  // namespace

void SchemeDialog::keepRadiosOutOfTabOrder() {
    keepOutOfTabOrder(item(idOf(ControlId::Scheme1)));
    keepOutOfTabOrder(item(idOf(ControlId::Scheme2)));
}

SchemeDialog::SchemeDialog() : DialogWindow(kSchemeTemplate) {}

bool SchemeDialog::onInit() {
    // Load exchange: the radio button and the two ratios from the members.
    CheckRadioButton(handle(), idOf(ControlId::Scheme1), idOf(ControlId::Scheme2),
                     schemeIndex_ == 1 ? idOf(ControlId::Scheme2) : idOf(ControlId::Scheme1));
    keepRadiosOutOfTabOrder();
    loadNumber(item(idOf(ControlId::RatioX)), ratioX_);
    loadNumber(item(idOf(ControlId::RatioY)), ratioY_);

    // The list always opens at "22", whatever was confirmed before.
    HWND list = item(idOf(ControlId::DiameterList));
    for (const int diameter : kDiameters) {
        SendMessageW(list, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(std::to_wstring(diameter).c_str()));
    }
    SendMessageW(list, CB_SETCURSEL, kDefaultDiameterIndex, 0);
    SendMessageW(handle(), DM_SETDEFID, kIdOk, 0);

    // The ratio fields open disabled even under scheme 2; choosing scheme 2 enables them.
    EnableWindow(item(idOf(ControlId::RatioX)), FALSE);
    EnableWindow(item(idOf(ControlId::RatioY)), FALSE);
    return true;  // the focus goes to the first tab stop, OK
}

bool SchemeDialog::onCommand(int id, int notification) {
    if (id == idOf(ControlId::Scheme1) && notification == BN_CLICKED) {
        keepRadiosOutOfTabOrder();
        onSelectScheme1();
        return true;
    }
    if (id == idOf(ControlId::Scheme2) && notification == BN_CLICKED) {
        keepRadiosOutOfTabOrder();
        onSelectScheme2();
        return true;
    }
    if (id == IDOK) {
        onOk();
        return true;
    }
    return DialogWindow::onCommand(id, notification);
}

bool SchemeDialog::preTranslate(MSG& message) {
    return advanceOnEnter(handle(), message);
}

void SchemeDialog::onSelectScheme1() {
    HWND list = item(idOf(ControlId::DiameterList));
    EnableWindow(list, TRUE);
    focusDialogControl(list);
    EnableWindow(item(idOf(ControlId::RatioX)), FALSE);
    EnableWindow(item(idOf(ControlId::RatioY)), FALSE);
}

void SchemeDialog::onSelectScheme2() {
    EnableWindow(item(idOf(ControlId::DiameterList)), FALSE);
    EnableWindow(item(idOf(ControlId::RatioX)), TRUE);
    EnableWindow(item(idOf(ControlId::RatioY)), TRUE);
    focusDialogControl(item(idOf(ControlId::RatioX)));
}

bool SchemeDialog::exchangeFields() {
    // In this order; the first rejected field ends the exchange, the members before it are taken.
    const bool first = IsDlgButtonChecked(handle(), idOf(ControlId::Scheme1)) == BST_CHECKED;
    const bool second = IsDlgButtonChecked(handle(), idOf(ControlId::Scheme2)) == BST_CHECKED;
    schemeIndex_ = first ? 0 : (second ? 1 : -1);
    HWND ratioX = item(idOf(ControlId::RatioX));
    HWND ratioY = item(idOf(ControlId::RatioY));
    if (!saveNumber(ratioX, ratioX_)) return false;
    if (!checkRange(ratioX, ratioX_, 0.0, 1.0)) return false;
    if (!saveNumber(ratioY, ratioY_)) return false;
    if (!checkRange(ratioY, ratioY_, 0.0, 1.0)) return false;
    return true;
}

void SchemeDialog::onOk() {
    // The diameter is taken before the exchange, under either scheme (the disabled list keeps its
    // selection), so it holds the list's value even when a field is then rejected.
    const auto position =
        static_cast<int>(SendMessageW(item(idOf(ControlId::DiameterList)), CB_GETCURSEL, 0, 0));
    if (position >= 0 && position < kDiameterCount) diameter_ = kDiameters[position];
    if (!exchangeFields()) return;
    end(IDOK);
}

}  // namespace tessarin
