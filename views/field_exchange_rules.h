#pragma once

#include <string>

#include "run/control_id.h"
#include "run/design_input.h"

namespace tessarin {

// How the dialogs move numbers between their members and their edit fields, the same on every
// desktop. A field shows the shortest general form with up to 15 significant digits (6000 as
// "6000", 0.25 as "0.25"); reading is strict and locale-free (text/number_text.h).

// The main dialog's numbers in the order the exchange takes them; the first field that holds no
// number ends the exchange, so the members before it take their new values and the rest keep
// theirs.
struct NumberField {
    ControlId control;
    double DesignInput::*member;
};
inline constexpr NumberField kMainExchangeOrder[] = {
    {ControlId::M0x, &DesignInput::M0x}, {ControlId::Ax, &DesignInput::ax},
    {ControlId::Ay, &DesignInput::ay},   {ControlId::B, &DesignInput::b},
    {ControlId::H, &DesignInput::h},     {ControlId::L0, &DesignInput::l0},
    {ControlId::M0y, &DesignInput::M0y}, {ControlId::N, &DesignInput::N},
};

// The message for a field whose text is no number.
std::string notANumberText();
// The message for a number outside [minimum, maximum] (both bounds valid).
std::string outOfRangeText(double minimum, double maximum);

}  // namespace tessarin
