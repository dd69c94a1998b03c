#include "run/current_code_input.h"

#include <cmath>

#include "engine/current_code/current_code_rules.h"
#include "report/number_text.h"

namespace tessarin {

namespace {

// The smallest layout: four corner bars of the smallest listed diameter.
constexpr double kSmallestBar = 12.0;

std::string number(double value) {
    return formatGeneral(value);
}

// "柱截面宽度b=1e+06mm超出适用范围，应不大于5000mm".
std::string tooLarge(const char* name, double value, double limit, const char* unit) {
    return std::string(name) + "=" + number(value) + unit + "超出适用范围，应不大于" +
           number(limit) + unit;
}

}  // namespace

std::string combinationPrefix(std::size_t k) {
    return "第" + std::to_string(k + 1) + "组荷载组合：";
}

std::optional<CurrentCodeFinding> validateCurrentCodeInput(const CurrentCodeInput& input) {
    const CurrentCodeColumn& c = input.column;
    using F = CurrentCodeField;
    const auto finding = [](F field, std::string message, int combination = -1) {
        return std::optional<CurrentCodeFinding>(
            CurrentCodeFinding{field, combination, std::move(message)});
    };
    // Strict comparisons: zero fails, and so does a value that is not a number.
    if (!(c.l0 > 0.0)) return finding(F::L0, "柱计算长度l0应为大于零的数(mm)");
    if (c.l0 > kLengthMax) return finding(F::L0, tooLarge("柱计算长度l0", c.l0, kLengthMax, "mm"));
    if (!(c.b > 0.0)) return finding(F::B, "柱截面宽度b应为大于零的数(mm)");
    if (c.b > kSideMax) return finding(F::B, tooLarge("柱截面宽度b", c.b, kSideMax, "mm"));
    if (!(c.h > 0.0)) return finding(F::H, "柱截面高度h应为大于零的数(mm)");
    if (c.h > kSideMax) return finding(F::H, tooLarge("柱截面高度h", c.h, kSideMax, "mm"));
    if (c.lcX && !(*c.lcX > 0.0)) {
        return finding(F::LcX, "x方向构件支撑点之间的长度lc应为大于零的数(mm)");
    }
    if (c.lcX && *c.lcX > kLengthMax) {
        return finding(F::LcX, tooLarge("x方向构件支撑点之间的长度lc", *c.lcX, kLengthMax, "mm"));
    }
    if (c.lcY && !(*c.lcY > 0.0)) {
        return finding(F::LcY, "y方向构件支撑点之间的长度lc应为大于零的数(mm)");
    }
    if (c.lcY && *c.lcY > kLengthMax) {
        return finding(F::LcY, tooLarge("y方向构件支撑点之间的长度lc", *c.lcY, kLengthMax, "mm"));
    }
    if (c.hn && !(*c.hn > 0.0)) return finding(F::Hn, "柱净高Hn应为大于零的数(mm)");
    if (!isConcreteGrade2010(c.concreteGrade)) {
        return finding(F::Concrete, "混凝土强度等级应为C20～C80(按5递增)");
    }
    if (c.cover && !(*c.cover >= kCoverMin && *c.cover <= kCoverMax)) {
        return finding(F::Cover, "混凝土保护层厚度c(至箍筋外边)应在15～75mm之间");
    }
    if (!(c.stirrup >= kStirrupMin && c.stirrup <= kStirrupMax)) {
        return finding(F::Stirrup, "箍筋直径应在6～16mm之间");
    }
    if (const std::string problem = barPreferencesProblem(c.barPreferences); !problem.empty()) {
        return finding(F::BarPreferences, "配筋参数：" + problem);
    }
    // Table 6.3.6 has no grade 三 or 四 for frame-supporting columns (they are of grade 一 or 二,
    // GB 50011 6.1.2): such a column cannot be designed against a limit the code does not give.
    if (c.seismic != SeismicGrade::None && !hasAxialRatioLimit(c.seismic, c.structure)) {
        return finding(F::Structure,
                       "部分框支抗震墙结构的框支柱抗震等级应为一级或二级(GB 50011 表6.3.6)");
    }
    if (input.combinations.empty()) return finding(F::Combinations, "至少应有一组荷载组合");
    for (std::size_t k = 0; k < input.combinations.size(); ++k) {
        const LoadCombination& load = input.combinations[k];
        const int index = static_cast<int>(k);
        const std::string prefix = combinationPrefix(k);
        if (!(load.N > 0.0)) return finding(F::N, prefix + "轴向压力N应为大于零的数(kN)", index);
        if (load.N < kAxialForceMin) {
            return finding(F::N,
                           prefix + "轴向压力N=" + number(load.N) +
                               "kN过小，应不小于0.1kN(轴力接近零的构件应按受弯构件设计)",
                           index);
        }
        if (load.N > kAxialForceMax) {
            return finding(F::N, prefix + tooLarge("轴向压力N", load.N, kAxialForceMax, "kN"),
                           index);
        }
        if (!(load.M2x >= 0.0)) {
            return finding(F::M2x, prefix + "x方向杆端较大弯矩M2x应为不小于零的数(kN.m)", index);
        }
        if (load.M2x > kMomentMax) {
            return finding(F::M2x,
                           prefix + tooLarge("x方向杆端较大弯矩M2x", load.M2x, kMomentMax, "kN.m"),
                           index);
        }
        if (!(load.m1m2X >= -1.0 && load.m1m2X <= 1.0)) {
            return finding(F::M1m2X, prefix + "x方向杆端弯矩比M1/M2应在-1～1之间", index);
        }
        if (!(load.M2y >= 0.0)) {
            return finding(F::M2y, prefix + "y方向杆端较大弯矩M2y应为不小于零的数(kN.m)", index);
        }
        if (load.M2y > kMomentMax) {
            return finding(F::M2y,
                           prefix + tooLarge("y方向杆端较大弯矩M2y", load.M2y, kMomentMax, "kN.m"),
                           index);
        }
        if (!(load.m1m2Y >= -1.0 && load.m1m2Y <= 1.0)) {
            return finding(F::M1m2Y, prefix + "y方向杆端弯矩比M1/M2应在-1～1之间", index);
        }
        // The shears of the stirrup design; their sign does not matter (|V| is checked).
        if (!std::isfinite(load.Vx)) {
            return finding(F::Vx, prefix + "x方向剪力设计值Vx应为数(kN)", index);
        }
        if (!std::isfinite(load.Vy)) {
            return finding(F::Vy, prefix + "y方向剪力设计值Vy应为数(kN)", index);
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
