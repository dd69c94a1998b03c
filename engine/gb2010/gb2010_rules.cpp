#include "engine/gb2010/gb2010_rules.h"

#include <algorithm>
#include <cmath>

#include "engine/section/section_resistance.h"

namespace tessarin {

namespace {

// fc of C20, C25, ... C80 (4.1.4-1), N/mm^2.
constexpr std::array<double, 13> kFc = {9.6,  11.9, 14.3, 16.7, 19.1, 21.1, 23.1,
                                        25.3, 27.5, 29.7, 31.8, 33.8, 35.9};

struct SteelRow {
    double fy;
    double fyc;
    double Es;
    double fyk;
};

// 4.2.3-1, 4.2.5; HRB500 in compression 435, at most 400 in axially loaded members.
constexpr std::array<SteelRow, 4> kSteel = {{
    {270.0, 270.0, 2.10e5, 300.0},  // HPB300
    {300.0, 300.0, 2.00e5, 335.0},  // HRB335
    {360.0, 360.0, 2.00e5, 400.0},  // HRB400
    {435.0, 435.0, 2.00e5, 500.0},  // HRB500
}};
constexpr double kAxialFycCap = 400.0;

// Table 6.2.15: phi for l0/b = 8, 10, ... 50.
constexpr std::array<double, 22> kPhi = {1.00, 0.98, 0.95, 0.92, 0.87, 0.81, 0.75, 0.70,
                                         0.65, 0.60, 0.56, 0.52, 0.48, 0.44, 0.40, 0.36,
                                         0.32, 0.29, 0.26, 0.23, 0.21, 0.19};

// GB 50011 table 6.3.7-1, %, grades 一 二 三 四.
constexpr std::array<double, 4> kSeismicMiddleFrame = {1.0, 0.8, 0.7, 0.6};
constexpr std::array<double, 4> kSeismicMiddleDual = {0.9, 0.7, 0.6, 0.5};
constexpr std::array<double, 4> kSeismicCorner = {1.1, 0.9, 0.8, 0.7};
constexpr double kSeismicIncrementBelow400 = 0.1;  // %
constexpr double kSeismicIncrementAt400 = 0.05;    // %
constexpr double kSeismicIncrementConcrete = 0.1;  // %

// GB 50011 table 6.3.6, grades 一 二 三 四; 0 where the table has no entry.
constexpr std::array<double, 4> kAxialLimitFrame = {0.65, 0.75, 0.85, 0.90};
constexpr std::array<double, 4> kAxialLimitDual = {0.75, 0.85, 0.90, 0.95};
constexpr std::array<double, 4> kAxialLimitFrameSupported = {0.60, 0.70, 0.0, 0.0};
// GB 50010 11.4.16 note: C65 and C70 0.05 lower, C75 and C80 0.10 lower.
constexpr double kAxialLimitReductionC65 = 0.05;
constexpr double kAxialLimitReductionC75 = 0.10;
// GB 50011 6.3.6 note 2: a shear-span ratio of 2 or less, 0.05 lower.
constexpr double kAxialLimitReductionShort = 0.05;

int gradeIndex(SeismicGrade grade) {
    return static_cast<int>(grade) - 1;
}

const SteelRow& steelRow(SteelGrade2010 steel) {
    return kSteel[static_cast<std::size_t>(static_cast<int>(steel))];
}

}  // namespace

bool isConcreteGrade2010(int grade) {
    return grade >= 20 && grade <= 80 && grade % 5 == 0;
}

Materials2010 materials2010(int concreteGrade, SteelGrade2010 steel) {
    Materials2010 m;
    m.concreteGrade = concreteGrade;
    m.fc = kFc[static_cast<std::size_t>((concreteGrade - 20) / 5)];
    const double above50 = static_cast<double>(concreteGrade) - 50.0;
    // alpha1 1.0 up to C50, 0.94 at C80; beta1 0.8 up to C50, 0.74 at C80 (6.2.6).
    m.alpha1 = above50 <= 0.0 ? 1.0 : 1.0 - above50 * 0.002;
    m.beta1 = above50 <= 0.0 ? 0.8 : 0.8 - above50 * 0.002;
    // The parabola-rectangle law (6.2.1), as the section model makes it for every edition.
    const ConcreteLaw law = ConcreteLaw::forGrade({static_cast<double>(concreteGrade), m.fc});
    m.n = law.n;
    m.eps0 = law.eps0;
    m.epsCu = law.epsCu;
    m.steel = steel;
    const SteelRow& row = steelRow(steel);
    m.fy = row.fy;
    m.fyc = row.fyc;
    m.fycAxial = std::min(row.fyc, kAxialFycCap);
    m.Es = row.Es;
    m.fyk = row.fyk;
    return m;
}

double stabilityFactor(double l0OverB) {
    if (!(l0OverB > 8.0)) return kPhi.front();
    const double position = (l0OverB - 8.0) / 2.0;
    const double last = static_cast<double>(kPhi.size() - 1);
    if (position >= last) return kPhi.back();
    const auto row = static_cast<std::size_t>(std::floor(position));
    const double fraction = position - static_cast<double>(row);
    if (fraction == 0.0) return kPhi[row];
    if (!kEngineeringChoices.interpolatePhi) return kPhi[row + 1];
    return kPhi[row] + (kPhi[row + 1] - kPhi[row]) * fraction;
}

double nonSeismicMinimumTotalRatio(SteelGrade2010 steel, int concreteGrade) {
    double ratio = 0.006;
    if (steel == SteelGrade2010::HRB400) ratio = 0.0055;
    if (steel == SteelGrade2010::HRB500) ratio = 0.005;
    if (concreteGrade >= kEngineeringChoices.nonSeismicHighStrengthFrom) ratio += 0.001;
    return ratio;
}

double minimumTotalRatioSeismic(SeismicGrade grade, StructureType structure,
                                ColumnPosition position, SteelGrade2010 steel, int concreteGrade) {
    if (grade == SeismicGrade::None) return 0.0;
    const auto g = static_cast<std::size_t>(gradeIndex(grade));
    double percent = 0.0;
    // Table 6.3.7-1 puts frame-supporting columns in the corner columns' row.
    if (position == ColumnPosition::Corner || structure == StructureType::FrameSupported) {
        percent = kSeismicCorner[g];
    } else {
        percent =
            structure == StructureType::Frame ? kSeismicMiddleFrame[g] : kSeismicMiddleDual[g];
    }
    const double fyk = steelRow(steel).fyk;
    if (fyk < 400.0) percent += kSeismicIncrementBelow400;
    if (fyk == 400.0) percent += kSeismicIncrementAt400;
    if (concreteGrade >= kEngineeringChoices.seismicHighStrengthFrom) {
        percent += kSeismicIncrementConcrete;
    }
    return percent / 100.0;
}

bool hasAxialRatioLimit(SeismicGrade grade, StructureType structure) {
    return grade != SeismicGrade::None &&
           !(structure == StructureType::FrameSupported &&
             (grade == SeismicGrade::Three || grade == SeismicGrade::Four));
}

AxialRatioLimit axialRatioLimit(SeismicGrade grade, StructureType structure, int concreteGrade,
                                double shearSpanRatio) {
    AxialRatioLimit limit;
    if (!hasAxialRatioLimit(grade, structure)) return limit;
    const auto g = static_cast<std::size_t>(gradeIndex(grade));
    switch (structure) {
        case StructureType::Frame:
            limit.table = kAxialLimitFrame[g];
            break;
        case StructureType::Dual:
            limit.table = kAxialLimitDual[g];
            break;
        case StructureType::FrameSupported:
            limit.table = kAxialLimitFrameSupported[g];
            break;
    }
    if (concreteGrade >= 75) {
        limit.concreteReduction = kAxialLimitReductionC75;
    } else if (concreteGrade >= 65) {
        limit.concreteReduction = kAxialLimitReductionC65;
    }
    // A ratio that is not a number falls here too: the lower limit, the safe side.
    if (!(shearSpanRatio > kShortColumnShearSpan)) {
        limit.shortColumnReduction = kAxialLimitReductionShort;
    }
    // Every figure is in hundredths: rounded so, 0.85 - 0.05 is the code's 0.80, not the double
    // just below it.
    limit.value =
        std::round((limit.table - limit.concreteReduction - limit.shortColumnReduction) * 100.0) /
        100.0;
    return limit;
}

ShearSpan shearSpan(const Gb2010Column& column, double cover) {
    ShearSpan s;
    s.hn = column.hn.value_or(column.l0);
    s.a = cover + column.stirrup +
          static_cast<double>(kEngineeringChoices.shearSpanBarDiameter) / 2.0;
    s.h0x = column.h - s.a;
    s.h0y = column.b - s.a;
    s.lambdaX = s.hn / (2.0 * s.h0x);
    s.lambdaY = s.hn / (2.0 * s.h0y);
    s.lambda = std::min(s.lambdaX, s.lambdaY);
    return s;
}

double bendingGammaRE(double axialRatio) {
    return axialRatio < kGammaReAxialRatio ? 0.75 : 0.80;
}

double combinationGammaRE(SeismicGrade grade, CombinationKind kind, double axialRatio) {
    if (grade == SeismicGrade::None || kind != CombinationKind::Seismic) return 1.0;
    return bendingGammaRE(axialRatio);
}

bool axialRatioLimitApplies(CombinationKind kind, const EngineeringChoices& choices) {
    switch (kind) {
        case CombinationKind::Seismic:
            return true;
        case CombinationKind::NonSeismic:
            return false;
        case CombinationKind::Unspecified:
            return choices.axialRatioLimitOnUnspecifiedCombinations;
    }
    return true;
}

double accidentalEccentricity(double depth) {
    return std::max(20.0, depth / 30.0);
}

double defaultCover(int concreteGrade) {
    return concreteGrade <= 25 ? 25.0 : 20.0;
}

MomentDirections momentDirections(std::span<const LoadCombination> combinations) {
    if (!kEngineeringChoices.uniaxialColumns) return MomentDirections::Biaxial;
    bool anyX = false;
    bool anyY = false;
    for (const LoadCombination& c : combinations) {
        anyX = anyX || c.M2x != 0.0;
        anyY = anyY || c.M2y != 0.0;
    }
    if (anyX && !anyY) return MomentDirections::XOnly;
    if (anyY && !anyX) return MomentDirections::YOnly;
    return MomentDirections::Biaxial;
}

DetailingLimits detailingLimits(const Gb2010Column& column, double cover,
                                MomentDirections directions) {
    DetailingLimits limits;
    limits.minimumTotalRatioNonSeismic =
        nonSeismicMinimumTotalRatio(column.steel, column.concreteGrade);
    limits.minimumTotalRatioSeismic = minimumTotalRatioSeismic(
        column.seismic, column.structure, column.position, column.steel, column.concreteGrade);
    limits.minimumTotalRatio =
        std::max(limits.minimumTotalRatioNonSeismic, limits.minimumTotalRatioSeismic);
    limits.minimumOneSideRatio = kMinimumOneSideRatio;
    limits.maximumTotalRatio = kMaximumTotalRatio;
    limits.minimumClearSpacing = kMinimumClearSpacing;
    const bool seismic = column.seismic != SeismicGrade::None;
    const auto faceLimit = [seismic](double side) {
        return seismic && side > kEngineeringChoices.seismicSpacingSideAbove
                   ? kMaximumCentreSpacingSeismic
                   : kMaximumCentreSpacing;
    };
    limits.maximumCentreSpacingB = faceLimit(column.b);
    limits.maximumCentreSpacingH = faceLimit(column.h);
    limits.maximumBarDiameter = cover + column.stirrup;
    limits.shearSpan = shearSpan(column, cover);
    limits.axialRatio = axialRatioLimit(column.seismic, column.structure, column.concreteGrade,
                                        limits.shearSpan.lambda);
    if (column.seismic == SeismicGrade::One && !(limits.shearSpan.lambda > kShortColumnShearSpan)) {
        limits.maximumOneSideRatio = kShortColumnOneSideRatio;
    }
    // 6.2.15 with l0 over the smaller side; for a uniaxial column over the side across the moment
    // plane: b for moments Mx (depth h), h for moments My (depth b) (6.2.17).
    limits.directions = directions;
    limits.slendernessDepth = directions == MomentDirections::XOnly ? column.b
                              : directions == MomentDirections::YOnly
                                  ? column.h
                                  : std::min(column.b, column.h);
    limits.slendernessL0b = column.l0 / limits.slendernessDepth;
    limits.phi = stabilityFactor(limits.slendernessL0b);
    return limits;
}

}  // namespace tessarin
