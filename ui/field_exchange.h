#pragma once

class QLineEdit;

namespace tessarin {

// Moving a number between a dialog member and its edit field. The field shows the shortest
// general form with up to 15 significant digits; reading is strict and locale-free.

// Writes value into the field (6000 as "6000", 0.25 as "0.25").
void loadNumber(QLineEdit& field, double value);

// Reads the field into value. When the text is no number, value is left alone, the not-a-number
// message is shown over the field's dialog, the field gets the focus with its text selected, and
// the result is false.
bool saveNumber(QLineEdit& field, double& value);

// After saveNumber: 0 <= value <= 1 style bounds, both valid. Outside them the range message
// naming both bounds is shown, the field gets the focus with its text selected, result false.
bool checkRange(QLineEdit& field, double value, double minimum, double maximum);

}  // namespace tessarin
