#include "engine/gb2010/column_with_stirrups.h"

#include "engine/gb2010/gb2010_design.h"
#include "engine/gb2010/gb2010_rules.h"

namespace tessarin {

StirrupColumn stirrupColumnOf(const Gb2010Design& design, const StirrupInputs& inputs) {
    const Gb2010Column& column = design.column;
    StirrupColumn c;
    c.b = column.b;
    c.h = column.h;
    c.cover = design.cover;
    c.concreteGrade = column.concreteGrade;
    if (design.layout) c.bars = longitudinalBarsOf(design.layout->choice);
    c.stirrupSteel = inputs.stirrupSteel;
    c.assumedStirrup = column.stirrup;
    c.seismic = column.seismic;
    c.structure = column.structure;
    c.position = column.position;
    c.frameSupporting = inputs.frameSupporting;
    c.groundStorey = inputs.groundStorey;
    c.hn = inputs.hn;
    c.lambdaX = inputs.lambdaX;
    c.lambdaY = inputs.lambdaY;
    return c;
}

std::vector<ShearCombination> shearCombinationsOf(std::span<const LoadCombination> combinations,
                                                  const StirrupInputs& inputs) {
    std::vector<ShearCombination> shear;
    shear.reserve(combinations.size());
    for (std::size_t i = 0; i < combinations.size(); ++i) {
        ShearCombination s;
        s.N = combinations[i].N;
        if (i < inputs.shears.size()) {
            s.Vx = inputs.shears[i].Vx;
            s.Vy = inputs.shears[i].Vy;
            s.kind = inputs.shears[i].kind;
        } else {
            // Without separate shears, those the combination carries.
            s.Vx = combinations[i].Vx;
            s.Vy = combinations[i].Vy;
            s.kind = combinations[i].kind;
        }
        shear.push_back(s);
    }
    return shear;
}

std::optional<ColumnWithStirrups> designColumnWithStirrups(
    const Gb2010Column& column, std::span<const LoadCombination> combinations,
    const StirrupInputs& inputs, const std::stop_token& stop) {
    ColumnWithStirrups result;
    Gb2010Column current = column;
    const std::vector<ShearCombination> shear = shearCombinationsOf(combinations, inputs);
    for (int round = 1; round <= kMaximumStirrupRounds; ++round) {
        result.rounds = round;
        result.stirrupDiameterUsed = current.stirrup;
        std::optional<Gb2010Design> longitudinal = designGb2010(current, combinations, stop);
        if (!longitudinal) return std::nullopt;
        result.longitudinal = std::move(*longitudinal);
        if (!result.longitudinal.designed) {
            result.stirrups.reset();
            return result;
        }
        result.stirrups = designStirrups(stirrupColumnOf(result.longitudinal, inputs), shear);
        if (!result.stirrups->designed || !result.stirrups->exceedsAssumedDiameter) {
            result.settled = true;
            return result;
        }
        // 8.2.1: the cover is to the stirrup; a thicker stirrup moves every bar inwards.
        current.stirrup = static_cast<double>(result.stirrups->choice.diameter);
        result.settled = false;
    }
    return result;
}

ColumnWithStirrups designColumnWithStirrups(const Gb2010Column& column,
                                            std::span<const LoadCombination> combinations,
                                            const StirrupInputs& inputs) {
    // A stop that is never requested: the design always comes back.
    return *designColumnWithStirrups(column, combinations, inputs, std::stop_token());
}

StirrupInputs stirrupInputsOf(const Gb2010Column& column) {
    StirrupInputs inputs;
    inputs.stirrupSteel = column.stirrupSteel;
    const ShearSpan span = shearSpan(column, coverUsed(column));
    inputs.hn = span.hn;
    inputs.lambdaX = span.lambdaX;
    inputs.lambdaY = span.lambdaY;
    inputs.frameSupporting = column.structure == StructureType::FrameSupported;
    return inputs;
}

ColumnWithStirrups designColumnWithStirrups(const Gb2010Column& column,
                                            std::span<const LoadCombination> combinations) {
    return designColumnWithStirrups(column, combinations, stirrupInputsOf(column));
}

std::optional<ColumnWithStirrups> designColumnWithStirrups(
    const Gb2010Column& column, std::span<const LoadCombination> combinations,
    const std::stop_token& stop) {
    return designColumnWithStirrups(column, combinations, stirrupInputsOf(column), stop);
}

}  // namespace tessarin
