#include "run/gb2010_input.h"

#include <cmath>

#include "engine/gb2010/gb2010_rules.h"
#include "run/gb2010_fields.h"
#include "text/number_text.h"

namespace tessarin {

namespace {

// The smallest layout: four corner bars of the smallest listed diameter.
constexpr double kSmallestBar = 12.0;

std::string number(double value) {
    return formatGeneral(value);
}

}  // namespace

std::string combinationPrefix(std::size_t k) {
    return "第" + std::to_string(k + 1) + "组荷载组合：";
}

std::optional<Gb2010Finding> validateGb2010Input(const Gb2010Input& input) {
    const Gb2010Column& c = input.column;
    using F = Gb2010Field;
    const auto finding = [](F field, std::string message, int combination = -1) {
        return std::optional<Gb2010Finding>(Gb2010Finding{field, combination, std::move(message)});
    };
    // The column's fields in the order of the table, then each combination's.
    const LoadCombination anyLoad;
    for (const Gb2010FieldEntry& entry : gb2010Fields()) {
        if (entry.perCombination()) continue;
        if (auto message = checkField(entry, c, anyLoad)) return finding(entry.field, *message);
    }
    if (const std::string problem = barPreferencesProblem(c.barPreferences); !problem.empty()) {
        return finding(F::BarPreferences, "配筋参数：" + problem);
    }
    if (input.combinations.empty()) return finding(F::Combinations, "至少应有一组荷载组合");
    for (std::size_t k = 0; k < input.combinations.size(); ++k) {
        const LoadCombination& load = input.combinations[k];
        for (const Gb2010FieldEntry& entry : gb2010Fields()) {
            if (!entry.perCombination()) continue;
            if (auto message = checkField(entry, c, load)) {
                return finding(entry.field, combinationPrefix(k) + *message, static_cast<int>(k));
            }
        }
    }
    // Two corner bars of the smallest diameter on each face, with cover and stirrup on both
    // sides, must leave the least clear distance of 9.3.1 between them.
    const double inset = c.cover.value_or(defaultCover(c.concreteGrade)) + c.stirrup;
    const std::pair<F, double> sides[] = {{F::B, c.b}, {F::H, c.h}};
    for (const auto& [field, side] : sides) {
        const double clear = side - 2.0 * inset - 2.0 * kSmallestBar;
        if (clear < kMinimumClearSpacing) {
            const char* name = field == F::B ? "截面宽度b=" : "截面高度h=";
            return finding(field, std::string("截面过小：") + name + number(side) +
                                      "mm，扣除两侧保护层和箍筋后两根Φ12角筋的净距为" +
                                      formatDecimals(clear, 1) +
                                      "mm，小于50mm，放不下最小纵筋4Φ12");
        }
    }
    return std::nullopt;
}

}  // namespace tessarin
