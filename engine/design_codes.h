#pragma once

namespace tessarin {

// The engine's small integer codes, named. The record keeps the numbers themselves (the report
// prints the scheme number, and an unlisted code must pass through unchanged), so each enum
// carries the code as its value.

// Direction 1 is x (depth h, moment M0x, distance ax), 2 is y (depth b, moment M0y, distance ay).
enum class Direction : int { X = 1, Y = 2 };

// Hot-rolled steel grades by engine code. Code 4 is an older name for the HRB400 values and is
// accepted by setSteelGrade, but no caller of ours passes it.
enum class SteelGrade : int { HPB235 = 1, HRB335 = 2, HRB400 = 3 };

// Bar arrangements of step 2: corner bars of a chosen diameter, or bars of one diameter with
// given web ratios. Any other number designs nothing and its report section is END alone.
enum class Scheme : int { CornerBars = 1, EqualDiameters = 2 };

constexpr int codeOf(SteelGrade grade) {
    return static_cast<int>(grade);
}
constexpr int codeOf(Scheme scheme) {
    return static_cast<int>(scheme);
}
constexpr int codeOf(Direction direction) {
    return static_cast<int>(direction);
}

}  // namespace tessarin
