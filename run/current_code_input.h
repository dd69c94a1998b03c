#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "engine/current_code/current_code_types.h"

namespace tessarin {

// What the engineer gives for a current-code design: the column and one or more load combinations
// (the main dialog's moments are M2x and M2y of the first one).
struct CurrentCodeInput {
    CurrentCodeColumn column;
    std::vector<LoadCombination> combinations{LoadCombination{}};
};

// The field a finding is about, so that each front end can point at it (a flag, a CSV column, a
// dialog field or a cell of the combinations table).
enum class CurrentCodeField {
    l0,
    b,
    h,
    lcX,
    lcY,
    hn,
    concrete,
    cover,
    stirrup,
    structure,
    combinations,
    N,
    M2x,
    m1m2X,
    M2y,
    m1m2Y,
    Vx,
    Vy,
    kind,
    stirrupSteel
};

// A rejected input: the field, the combination (0-based; -1 for a column field) and the message,
// in Chinese, naming the field and the allowed range.
struct CurrentCodeFinding {
    CurrentCodeField field = CurrentCodeField::l0;
    int combination = -1;
    std::string message;
};

// Allowed ranges of the new inputs.
inline constexpr double kCoverMin = 15.0;
inline constexpr double kCoverMax = 75.0;
inline constexpr double kStirrupMin = 6.0;
inline constexpr double kStirrupMax = 16.0;

// How a finding about combination k (0-based) begins: "第1组荷载组合：".
[[nodiscard]] std::string combinationPrefix(std::size_t k);

// Every input checked before anything is computed, in a fixed order (lengths, materials, cover and
// stirrup, then each combination, then whether the smallest bars fit); the first failure, or
// nothing when the input can be designed.
[[nodiscard]] std::optional<CurrentCodeFinding> validateCurrentCodeInput(
    const CurrentCodeInput& input);

}  // namespace tessarin
