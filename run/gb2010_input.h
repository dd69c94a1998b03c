#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "engine/gb2010/gb2010_types.h"

namespace tessarin {

// What the engineer gives for a current-code design: the column and one or more load combinations
// (the main dialog's moments are M2x and M2y of the first one).
struct Gb2010Input {
    Gb2010Column column;
    std::vector<LoadCombination> combinations{LoadCombination{}};
};

// The field a finding is about, so that each front end can point at it (a flag, a CSV column, a
// dialog field or a cell of the combinations table).
enum class Gb2010Field {
    L0,
    B,
    H,
    LcX,
    LcY,
    Hn,
    Concrete,
    Cover,
    Stirrup,
    Structure,
    Combinations,
    N,
    M2x,
    M1m2X,
    M2y,
    M1m2Y,
    Vx,
    Vy,
    Kind,
    StirrupSteel,
    Steel,
    Seismic,
    Position,
    BarPreferences  // 配筋参数
};

// A rejected input: the field, the combination (0-based; -1 for a column field) and the message,
// in Chinese, naming the field and the allowed range.
struct Gb2010Finding {
    Gb2010Field field = Gb2010Field::L0;
    int combination = -1;
    std::string message;
};

// Allowed ranges of the new inputs.
inline constexpr double kCoverMin = 15.0;
inline constexpr double kCoverMax = 75.0;
inline constexpr double kStirrupMin = 6.0;
inline constexpr double kStirrupMax = 16.0;

// The upper ends of the column's ranges and of each combination's, and the least axial force: a
// column of a building, not any number (a side of a few metres, lengths of tens of metres, forces
// and moments of mega columns). Beyond them a figure is a typing slip, and the layout search
// (which grows with the sides) would run for minutes.
inline constexpr double kSideMax = 5000.0;       // b, h, mm
inline constexpr double kLengthMax = 50000.0;    // l0, lcx, lcy, mm
inline constexpr double kAxialForceMin = 0.1;    // N, kN: below it the column is a beam
inline constexpr double kAxialForceMax = 1.0e6;  // N, kN
inline constexpr double kMomentMax = 1.0e6;      // M2x, M2y, kN.m

// How a finding about combination k (0-based) begins: "第1组荷载组合：".
[[nodiscard]] std::string combinationPrefix(std::size_t k);

// Every input checked before anything is computed, in a fixed order (lengths, materials, cover and
// stirrup, then each combination, then whether the smallest bars fit); the first failure, or
// nothing when the input can be designed.
[[nodiscard]] std::optional<Gb2010Finding> validateGb2010Input(const Gb2010Input& input);

}  // namespace tessarin
