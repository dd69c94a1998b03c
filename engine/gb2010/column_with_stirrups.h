#pragma once

#include <optional>
#include <span>
#include <stop_token>
#include <vector>

#include "engine/gb2010/gb2010_types.h"
#include "engine/gb2010/stirrup_design.h"

namespace tessarin {

// What the stirrup design needs beyond the longitudinal design's input.
struct StirrupInputs {
    SteelGrade2010 stirrupSteel = SteelGrade2010::HRB400;
    double hn = 0.0;       // clear height, mm
    double lambdaX = 3.0;  // shear-span ratios Hn / (2 h0) as the caller computed them
    double lambdaY = 3.0;
    bool frameSupporting = false;
    bool groundStorey = false;
    // Per load combination, in the same order: Vx, Vy (kN) and the kind; where missing, those of
    // the load combination itself.
    struct Shear {
        double Vx = 0.0;
        double Vy = 0.0;
        ShearCombinationKind kind = ShearCombinationKind::Unspecified;
    };
    std::vector<Shear> shears;
};

// The whole column: the longitudinal bars, then the stirrups on them.
struct ColumnWithStirrups {
    Gb2010Design longitudinal;
    std::optional<StirrupDesign> stirrups;  // empty when no layout was designed
    // The stirrup diameter the bars were finally placed with, and how many longitudinal designs
    // it took: a stirrup thicker than the column's moves the bars inwards, so the longitudinal
    // design is made again with it (at most kMaximumStirrupRounds times).
    double stirrupDiameterUsed = 0.0;
    int rounds = 0;
    bool settled = true;  // false when the last round still asked for a thicker stirrup
};

inline constexpr int kMaximumStirrupRounds = 3;

// The stirrup design's view of a designed column.
[[nodiscard]] StirrupColumn stirrupColumnOf(const Gb2010Design& design,
                                            const StirrupInputs& inputs);
[[nodiscard]] std::vector<ShearCombination> shearCombinationsOf(
    std::span<const LoadCombination> combinations, const StirrupInputs& inputs);

[[nodiscard]] ColumnWithStirrups designColumnWithStirrups(
    const Gb2010Column& column, std::span<const LoadCombination> combinations,
    const StirrupInputs& inputs);
// The same, stopped between layouts when stop is requested: nothing then.
[[nodiscard]] std::optional<ColumnWithStirrups> designColumnWithStirrups(
    const Gb2010Column& column, std::span<const LoadCombination> combinations,
    const StirrupInputs& inputs, const std::stop_token& stop);

// The stirrup inputs of a column as given: its stirrup steel, the clear height Hn (l0 where not
// given), the shear-span ratios of DetailingLimits::shearSpan, a frame-supporting column for the
// frame-supported structure; the shears and kinds of the combinations themselves.
[[nodiscard]] StirrupInputs stirrupInputsOf(const Gb2010Column& column);

// The whole column as given: designColumnWithStirrups with stirrupInputsOf.
[[nodiscard]] ColumnWithStirrups designColumnWithStirrups(
    const Gb2010Column& column, std::span<const LoadCombination> combinations);
[[nodiscard]] std::optional<ColumnWithStirrups> designColumnWithStirrups(
    const Gb2010Column& column, std::span<const LoadCombination> combinations,
    const std::stop_token& stop);

}  // namespace tessarin
