#include "engine/gb2010/stirrup_design.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "engine/gb2010/gb2010_rules.h"

namespace tessarin {

namespace {

// ft of C20, C25, ... C80 (4.1.4-2), N/mm^2.
constexpr std::array<double, 13> kFt = {1.10, 1.27, 1.43, 1.57, 1.71, 1.80, 1.89,
                                        1.96, 2.04, 2.09, 2.14, 2.18, 2.22};

// GB 50011 table 6.3.9, ordinary and compound hoops (普通箍、复合箍), at N / (fc A) = 0.3, 0.4,
// ... 1.0, 1.05; grade 一 ends at 0.9 (negative: no entry).
constexpr std::array<double, 9> kAxialRatioColumns = {0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0, 1.05};
constexpr std::array<std::array<double, 9>, 4> kLambdaV = {{
    {0.10, 0.11, 0.13, 0.15, 0.17, 0.20, 0.23, -1.0, -1.0},  // 一
    {0.08, 0.09, 0.11, 0.13, 0.15, 0.17, 0.19, 0.22, 0.24},  // 二
    {0.06, 0.07, 0.09, 0.11, 0.13, 0.15, 0.17, 0.20, 0.22},  // 三
    {0.06, 0.07, 0.09, 0.11, 0.13, 0.15, 0.17, 0.20, 0.22},  // 四
}};
// GB 50011 6.3.9-3: the smallest dense-zone volumetric ratio by grade, %.
constexpr std::array<double, 4> kMinimumVolumetricPercent = {0.8, 0.6, 0.4, 0.4};
constexpr double kFrameSupportingLambdaVIncrement = 0.02;
constexpr double kFrameSupportingMinimumVolumetric = 0.015;
constexpr double kShortShearSpanMinimumVolumetric = 0.012;  // lambda <= 2 (6.3.9-3-3)
constexpr int kFcFloorGrade = 35;                           // fc at least that of C35
constexpr double kShearFyvCap = 360.0;                      // 4.2.3

constexpr double kLongitudinalHighRatio = 0.03;  // 9.3.2-5

int gradeIndex(SeismicGrade grade) {
    return static_cast<int>(grade) - 1;
}

double area(double d) {
    return std::numbers::pi / 4.0 * d * d;
}

// 6.3.1: 0.25 for hw/b <= 4, 0.20 for hw/b >= 6, linear between.
double nonSeismicSectionFactor(double h0, double width) {
    const double ratio = h0 / width;
    if (ratio <= 4.0) return 0.25;
    if (ratio >= 6.0) return 0.20;
    return 0.25 - (ratio - 4.0) * 0.025;
}

// The geometry of one stirrup diameter in the column: bar positions move with ds.
struct Geometry {
    double a = 0.0;  // corner-bar centre from the face
    double h0x = 0.0;
    double h0y = 0.0;
    double barSpacingB = 0.0;  // centre spacing of the bars on a face of length b
    double barSpacingH = 0.0;
    double legLengthX = 0.0;  // legs parallel to h
    double legLengthY = 0.0;
    double coreArea = 0.0;
    double legArea = 0.0;
};

Geometry geometryFor(const StirrupColumn& c, int diameter) {
    Geometry g;
    const auto ds = static_cast<double>(diameter);
    g.a = c.cover + ds + static_cast<double>(c.bars.cornerDiameter) / 2.0;
    g.h0x = c.h - g.a;
    g.h0y = c.b - g.a;
    g.barSpacingB = (c.b - 2.0 * g.a) / static_cast<double>(c.bars.barsOnFaceB() - 1);
    g.barSpacingH = (c.h - 2.0 * g.a) / static_cast<double>(c.bars.barsOnFaceH() - 1);
    g.legLengthX = c.h - 2.0 * c.cover - ds;
    g.legLengthY = c.b - 2.0 * c.cover - ds;
    g.coreArea = (c.b - 2.0 * c.cover - 2.0 * ds) * (c.h - 2.0 * c.cover - 2.0 * ds);
    g.legArea = area(ds);
    return g;
}

// Legs on `legs` of the `bars` bars of a face: the widest gap counts ceil((bars-1)/(legs-1)) bar
// spaces.
int widestGap(int bars, int legs) {
    return (bars - 1 + legs - 2) / (legs - 1);
}

// The fewest legs that hold at least every other bar: ceil((bars-1)/2) gaps of at most two bar
// spaces.
int legsForEveryOtherBar(int bars) {
    return bars / 2 + 1;
}

struct Materials {
    double fc = 0.0;
    double ft = 0.0;
    double betaC = 1.0;
    double fyv = 0.0;
};

ShearDirection shearDirection(double V, double width, double h0, double lambdaGiven, bool seismic,
                              bool frameSupporting, const Materials& m, double Nused,
                              double Ntension, int legs, double legArea, double spacing) {
    ShearDirection d;
    d.V = std::abs(V);
    d.width = width;
    d.h0 = h0;
    d.lambdaGiven = lambdaGiven;
    d.lambda = std::clamp(lambdaGiven, 1.0, 3.0);
    const double gammaRE = seismic ? kGammaReShear : 1.0;
    if (seismic) {
        // 11.4.6: lambda > 2: 0.20; lambda <= 2 and frame-supporting columns: 0.15.
        d.sectionFactor = (frameSupporting || lambdaGiven <= 2.0) ? 0.15 : 0.20;
    } else {
        d.sectionFactor = nonSeismicSectionFactor(h0, width);
    }
    d.sectionLimit = d.sectionFactor * m.betaC * m.fc * width * h0 / gammaRE / 1000.0;
    d.concreteFactor = (seismic ? 1.05 : 1.75) / (d.lambda + 1.0);
    d.concreteTerm = d.concreteFactor * m.ft * width * h0 / 1000.0;
    if (Ntension > 0.0) {
        d.axialTerm = -0.2 * Ntension;  // 6.3.14, 11.4.8
    } else {
        d.axialTerm = (seismic ? 0.056 : 0.07) * Nused;
    }
    d.legs = legs;
    d.Asv = static_cast<double>(legs) * legArea;
    d.stirrupTerm = m.fyv * d.Asv / spacing * h0 / 1000.0;
    d.concreteOnly = (d.concreteTerm + d.axialTerm) / gammaRE;
    double sum = d.concreteTerm + d.stirrupTerm + d.axialTerm;
    if (Ntension > 0.0) sum = std::max(sum, d.stirrupTerm);  // 6.3.14: not less than fyv Asv/s h0
    d.capacity = sum / gammaRE;
    return d;
}

struct Trial {
    int legsX = 0;
    int legsY = 0;
    double legArea = 0.0;
    double spacing = 0.0;
    const Geometry* geometry = nullptr;
};

ShearCheck shearCheck(const StirrupColumn& c, const Materials& m, const ShearCombination& combo,
                      bool seismic, const Trial& t) {
    ShearCheck s;
    s.seismic = seismic;
    s.gammaRE = seismic ? kGammaReShear : 1.0;
    s.N = combo.N;
    const double grossArea = c.b * c.h;
    const double cap = 0.3 * m.fc * grossArea / 1000.0;  // 6.3.12: N at most 0.3 fc A
    s.Nused = combo.N > 0.0 ? std::min(combo.N, cap) : combo.N;
    const double tension = combo.N < 0.0 ? -combo.N : 0.0;
    const Geometry& g = *t.geometry;
    s.x = shearDirection(combo.Vx, c.b, g.h0x, c.lambdaX, seismic, c.frameSupporting, m,
                         std::max(s.Nused, 0.0), tension, t.legsX, t.legArea, t.spacing);
    s.y = shearDirection(combo.Vy, c.h, g.h0y, c.lambdaY, seismic, c.frameSupporting, m,
                         std::max(s.Nused, 0.0), tension, t.legsY, t.legArea, t.spacing);
    const double vx = s.x.V;
    const double vy = s.y.V;
    s.theta = std::atan2(vy, vx);
    // 6.3.16 with theta = arctan(Vy/Vx): Vx <= limit_x cos(theta) is V <= limit_x, V the
    // resultant; a direction without shear sets no limit.
    const double resultant = std::hypot(vx, vy);
    s.sectionUtilisation = 0.0;
    if (vx > 0.0)
        s.sectionUtilisation = std::max(s.sectionUtilisation, resultant / s.x.sectionLimit);
    if (vy > 0.0)
        s.sectionUtilisation = std::max(s.sectionUtilisation, resultant / s.y.sectionLimit);
    // 6.3.13 and 6.3.18 (seismic: 11.4.7 without the stirrups): the concrete carries the shear.
    s.concreteCarries = (vx == 0.0 || resultant <= s.x.concreteOnly) &&
                        (vy == 0.0 || resultant <= s.y.concreteOnly);
    // 6.3.17: (Vx/Vux)^2 + (Vy/Vuy)^2 <= 1; the square root scales with the shear.
    const double rx = vx / s.x.capacity;
    const double ry = vy / s.y.capacity;
    s.utilisation = std::sqrt(rx * rx + ry * ry);
    if (tension > 0.0) {
        // 6.3.14, 11.4.8: fyv Asv/s h0 at least 0.36 ft b h0 in a direction with shear.
        const auto met = [&m](const ShearDirection& d) {
            return d.V == 0.0 || d.stirrupTerm >= 0.36 * m.ft * d.width * d.h0 / 1000.0;
        };
        s.tensionMinimumMet = met(s.x) && met(s.y);
    }
    return s;
}

bool carried(const ShearCheck& s) {
    return s.sectionUtilisation <= 1.0 && s.utilisation <= 1.0 && s.tensionMinimumMet;
}

double severity(const ShearCheck& s) {
    return std::max(s.utilisation, s.sectionUtilisation);
}

// The checks a combination needs: without a seismic grade the non-seismic one; with a grade as
// its kind says, both when unspecified. The combination is carried when every check carries it;
// the check shown is the less favourable.
CombinationShear combinationShear(const StirrupColumn& c, const Materials& m,
                                  const ShearCombination& combo, const Trial& t) {
    CombinationShear r;
    const bool graded = c.seismic != SeismicGrade::None;
    if (!graded || combo.kind == ShearCombinationKind::NonSeismic) {
        r.check = shearCheck(c, m, combo, false, t);
        r.carried = carried(r.check);
        r.sectionUtilisation = r.check.sectionUtilisation;
    } else if (combo.kind == ShearCombinationKind::Seismic) {
        r.check = shearCheck(c, m, combo, true, t);
        r.carried = carried(r.check);
        r.sectionUtilisation = r.check.sectionUtilisation;
    } else {
        r.bothChecked = true;
        const ShearCheck n = shearCheck(c, m, combo, false, t);
        const ShearCheck s = shearCheck(c, m, combo, true, t);
        r.carried = carried(n) && carried(s);
        r.sectionUtilisation = std::max(n.sectionUtilisation, s.sectionUtilisation);
        r.check = severity(s) > severity(n) ? s : n;
    }
    return r;
}

int roundUpToDiameter(double d) {
    for (const int candidate : kStirrupDiameters) {
        if (static_cast<double>(candidate) >= d) return candidate;
    }
    return kStirrupDiameters[std::size(kStirrupDiameters) - 1];
}

StirrupLimits limitsFor(const StirrupColumn& c, const std::vector<ShearCombination>& combos,
                        const Materials& m, double fyvRatio) {
    StirrupLimits l;
    const bool graded = c.seismic != SeismicGrade::None;
    l.largestBar = c.bars.largestDiameter();
    l.smallestBar = c.bars.smallestDiameter();
    const auto dMin = static_cast<double>(l.smallestBar);
    // 9.3.2-1, -2, -5.
    l.diameterQuarter = static_cast<double>(l.largestBar) / 4.0;
    l.minimumDiameter = roundUpToDiameter(std::max(6.0, l.diameterQuarter));
    l.shortSide = std::min(c.b, c.h);
    l.spacing15d = 15.0 * dMin;
    l.maximumSpacing = std::min({400.0, l.shortSide, l.spacing15d});
    l.longitudinalRatio = c.bars.steelArea() / (c.b * c.h);
    l.highRatio = l.longitudinalRatio > kLongitudinalHighRatio;
    if (l.highRatio) {
        l.minimumDiameter = std::max(l.minimumDiameter, 8);
        l.maximumSpacing = std::min({l.maximumSpacing, 10.0 * dMin, 200.0});
    }
    // 9.3.2-4: compound stirrups where a face carries more than 3 bars (short side above 400) or
    // more than 4 (short side at most 400); then at least every other bar held (Tessarin's
    // reading, as the seismic rule 6.3.9-2 writes it).
    const int most = std::max(c.bars.barsOnFaceB(), c.bars.barsOnFaceH());
    l.compoundRequired = l.shortSide > 400.0 ? most > 3 : most > 4;
    if (l.compoundRequired || graded) {
        l.minimumLegsX = legsForEveryOtherBar(c.bars.barsOnFaceB());
        l.minimumLegsY = legsForEveryOtherBar(c.bars.barsOnFaceH());
    }
    l.maximumOutsideSpacing = l.maximumSpacing;
    if (!graded) return l;

    const auto g = static_cast<std::size_t>(gradeIndex(c.seismic));
    const double shearSpan = std::min(c.lambdaX, c.lambdaY);
    const bool shortShearSpan = shearSpan <= 2.0;
    // GB 50011 table 6.3.7-2: 6d / 8d and 100 / 150 (100 at the foot for 三 and 四); 100 for
    // frame-supporting columns and lambda <= 2 (6.3.7-2-3).
    const double multiple = c.seismic == SeismicGrade::One ? 6.0 : 8.0;
    double cap = (c.seismic == SeismicGrade::One || c.seismic == SeismicGrade::Two) ? 100.0 : 150.0;
    if (c.groundStorey || c.frameSupporting || shortShearSpan) cap = 100.0;
    l.maximumDenseSpacing = std::min(multiple * dMin, cap);
    // Note 1: 150 for grade 一 with ds > 12 and legs at most 150 apart, for grade 二 with
    // ds >= 10 and legs at most 200 apart; not at the foot of a ground-storey column.
    if ((c.seismic == SeismicGrade::One || c.seismic == SeismicGrade::Two) && !c.groundStorey &&
        !c.frameSupporting && !shortShearSpan) {
        l.maximumDenseSpacingRelaxed = std::min(multiple * dMin, 150.0);
    }
    constexpr std::array<int, 4> kDenseDiameter = {10, 8, 8, 6};
    l.minimumDenseDiameter = kDenseDiameter[g];
    if (c.seismic == SeismicGrade::Three && std::max(c.b, c.h) <= 400.0) l.minimumDenseDiameter = 6;
    if (c.seismic == SeismicGrade::Four && (c.groundStorey || shortShearSpan)) {
        l.minimumDenseDiameter = 8;
    }
    l.minimumDiameter = std::max(l.minimumDiameter, l.minimumDenseDiameter);
    // 6.3.9-2: leg spacing.
    constexpr std::array<double, 4> kLegSpacing = {200.0, 250.0, 250.0, 300.0};
    l.maximumLegSpacing = kLegSpacing[g];
    l.legSpacing20ds = c.seismic == SeismicGrade::Two || c.seismic == SeismicGrade::Three;
    // 6.3.9-1: the dense zone.
    const double hMax = std::max(c.b, c.h);
    l.denseLengthEnd = std::max({hMax, c.hn / 6.0, 500.0});
    l.denseLengthFoot = c.groundStorey ? std::max(l.denseLengthEnd, c.hn / 3.0) : l.denseLengthEnd;
    l.denseReason = DenseZoneReason::Ends;
    if (c.frameSupporting) {
        l.denseReason = DenseZoneReason::FrameSupporting;
    } else if (shortShearSpan) {
        l.denseReason = DenseZoneReason::ShearSpanAtMost2;
    } else if (c.hn / hMax <= 4.0) {
        l.denseReason = DenseZoneReason::ShortColumn;
    } else if (c.position == ColumnPosition::Corner &&
               (c.seismic == SeismicGrade::One || c.seismic == SeismicGrade::Two)) {
        l.denseReason = DenseZoneReason::CornerGradeOneTwo;
    }
    l.denseLength = l.denseLengthEnd + l.denseLengthFoot;
    if (l.denseReason == DenseZoneReason::Ends && l.denseLength >= c.hn) {
        l.denseReason = DenseZoneReason::EndsCoverHeight;
    }
    l.denseWholeHeight = l.denseReason != DenseZoneReason::Ends;
    if (l.denseWholeHeight) l.denseLength = c.hn;
    // 6.3.9-4: outside the dense zone 10 d (一, 二) or 15 d (三, 四).
    const double outside = (c.seismic == SeismicGrade::One || c.seismic == SeismicGrade::Two)
                               ? 10.0 * dMin
                               : 15.0 * dMin;
    l.maximumOutsideSpacing = std::min(l.maximumSpacing, outside);
    // 6.3.9-3: the volumetric ratio, from the largest axial ratio of the seismic combinations
    // (of every combination when none is marked seismic).
    bool anySeismic = false;
    for (const ShearCombination& s : combos) {
        anySeismic = anySeismic || s.kind != ShearCombinationKind::NonSeismic;
    }
    for (const ShearCombination& s : combos) {
        if (anySeismic && s.kind == ShearCombinationKind::NonSeismic) continue;
        l.axialRatio = std::max(l.axialRatio, s.N * 1000.0 / (m.fc * c.b * c.h));
    }
    l.lambdaV = stirrupCharacteristicValue(c.seismic, l.axialRatio);
    if (l.lambdaV < 0.0) return l;
    if (c.frameSupporting) l.lambdaV += kFrameSupportingLambdaVIncrement;
    l.fcForRatio = std::max(m.fc, materials2010(kFcFloorGrade, SteelGrade2010::HRB400).fc);
    l.fyvForRatio = fyvRatio;
    l.requiredByLambdaV = l.lambdaV * l.fcForRatio / l.fyvForRatio;
    l.minimumVolumetricRatio = kMinimumVolumetricPercent[g] / 100.0;
    if (shortShearSpan) {
        l.minimumVolumetricRatio =
            std::max(l.minimumVolumetricRatio, kShortShearSpanMinimumVolumetric);
    }
    if (c.frameSupporting) {
        l.minimumVolumetricRatio =
            std::max(l.minimumVolumetricRatio, kFrameSupportingMinimumVolumetric);
    }
    l.requiredVolumetricRatio = std::max(l.requiredByLambdaV, l.minimumVolumetricRatio);
    return l;
}

struct Candidate {
    StirrupChoice choice;
    bool found = false;
};

// Lighter first; equal steel: fewer legs, then the larger dense spacing, the larger spacing.
bool better(const StirrupChoice& a, const StirrupChoice& b) {
    const double tolerance = 1e-9 * std::max(a.steelVolume, b.steelVolume);
    if (std::abs(a.steelVolume - b.steelVolume) > tolerance) return a.steelVolume < b.steelVolume;
    if (a.legsX + a.legsY != b.legsX + b.legsY) return a.legsX + a.legsY < b.legsX + b.legsY;
    if (a.denseSpacing != b.denseSpacing) return a.denseSpacing > b.denseSpacing;
    if (a.spacing != b.spacing) return a.spacing > b.spacing;
    return a.diameter < b.diameter;
}

}  // namespace

int LongitudinalBars::largestDiameter() const {
    int d = cornerDiameter;
    if (middleBarsB > 0) d = std::max(d, middleDiameterB);
    if (middleBarsH > 0) d = std::max(d, middleDiameterH);
    return d;
}

int LongitudinalBars::smallestDiameter() const {
    int d = cornerDiameter;
    if (middleBarsB > 0) d = std::min(d, middleDiameterB);
    if (middleBarsH > 0) d = std::min(d, middleDiameterH);
    return d;
}

double LongitudinalBars::steelArea() const {
    return 4.0 * area(cornerDiameter) + 2.0 * middleBarsB * area(middleDiameterB) +
           2.0 * middleBarsH * area(middleDiameterH);
}

LongitudinalBars longitudinalBarsOf(const LayoutChoice& choice) {
    LongitudinalBars bars;
    bars.cornerDiameter = choice.cornerDiameter;
    bars.middleDiameterB = choice.webDiameterB;
    bars.middleBarsB = choice.webBarsAlongB;
    bars.middleDiameterH = choice.webDiameterH;
    bars.middleBarsH = choice.webBarsAlongH;
    return bars;
}

std::vector<int> heldBars(int bars, int legs) {
    std::vector<int> held;
    held.reserve(static_cast<std::size_t>(legs));
    const double step = static_cast<double>(bars - 1) / static_cast<double>(legs - 1);
    for (int i = 0; i < legs; ++i) {
        held.push_back(static_cast<int>(std::lround(static_cast<double>(i) * step)));
    }
    return held;
}

double concreteTensileStrength(int concreteGrade) {
    return kFt[static_cast<std::size_t>((concreteGrade - 20) / 5)];
}

double concreteStrengthFactor(int concreteGrade) {
    if (concreteGrade <= 50) return 1.0;
    return 1.0 - static_cast<double>(concreteGrade - 50) * (0.2 / 30.0);
}

double stirrupCharacteristicValue(SeismicGrade grade, double axialRatio) {
    if (grade == SeismicGrade::None) return 0.0;
    const auto& row = kLambdaV[static_cast<std::size_t>(gradeIndex(grade))];
    if (axialRatio <= kAxialRatioColumns[0]) return row[0];
    for (std::size_t i = 1; i < kAxialRatioColumns.size(); ++i) {
        if (axialRatio <= kAxialRatioColumns[i]) {
            if (row[i] < 0.0) return -1.0;
            const double t = (axialRatio - kAxialRatioColumns[i - 1]) /
                             (kAxialRatioColumns[i] - kAxialRatioColumns[i - 1]);
            return row[i - 1] + (row[i] - row[i - 1]) * t;
        }
    }
    return -1.0;
}

StirrupDesign designStirrups(const StirrupColumn& column,
                             const std::vector<ShearCombination>& combinations) {
    StirrupDesign design;
    design.column = column;
    design.concrete = materials2010(column.concreteGrade, SteelGrade2010::HRB400);
    design.ft = concreteTensileStrength(column.concreteGrade);
    design.betaC = concreteStrengthFactor(column.concreteGrade);
    const double fyStirrup = materials2010(column.concreteGrade, column.stirrupSteel).fy;
    design.fyv = std::min(fyStirrup, kShearFyvCap);
    // The volumetric ratio takes fyv capped as well: the safe side (see the docs).
    design.fyvRatio = std::min(fyStirrup, kShearFyvCap);
    const Materials m{design.concrete.fc, design.ft, design.betaC, design.fyv};
    const bool graded = column.seismic != SeismicGrade::None;
    StirrupLimits& l = design.limits;
    l = limitsFor(column, combinations, m, design.fyvRatio);

    // The heaviest stirrup tried fills the checks of a failure.
    const int heaviest = kStirrupDiameters[std::size(kStirrupDiameters) - 1];
    const Geometry heavyGeometry = geometryFor(column, heaviest);
    const Trial heavy{column.bars.barsOnFaceB(), column.bars.barsOnFaceH(), heavyGeometry.legArea,
                      kStirrupSpacings[0], &heavyGeometry};
    const auto fail = [&](StirrupFailureKind kind, int combination, double value, double limit) {
        design.failure = {kind, combination, value, limit};
        design.combinations.clear();
        for (const ShearCombination& s : combinations) {
            design.combinations.push_back(combinationShear(column, m, s, heavy));
        }
        return design;
    };

    if (graded && !(column.hn > 0.0)) {
        return fail(StirrupFailureKind::ClearHeightMissing, -1, 0.0, 0.0);
    }
    if (graded && l.lambdaV < 0.0) {
        const auto& columns = kAxialRatioColumns;
        const double last = column.seismic == SeismicGrade::One ? columns[6] : columns.back();
        return fail(StirrupFailureKind::AxialRatioBeyondTable, -1, l.axialRatio, last);
    }
    // The section limits with the thinnest stirrup allowed (the largest h0): when they fail no
    // stirrup helps.
    {
        const Geometry g = geometryFor(column, l.minimumDiameter);
        const Trial t{2, 2, g.legArea, kStirrupSpacings[0], &g};
        int worst = -1;
        double worstValue = 0.0;
        for (std::size_t i = 0; i < combinations.size(); ++i) {
            const CombinationShear s = combinationShear(column, m, combinations[i], t);
            if (s.sectionUtilisation > 1.0 && s.sectionUtilisation > worstValue) {
                worst = static_cast<int>(i);
                worstValue = s.sectionUtilisation;
            }
        }
        if (worst >= 0)
            return fail(StirrupFailureKind::SectionLimitExceeded, worst, worstValue, 1.0);
    }

    Candidate best;
    double tightestLegSpacing = 0.0;  // legs on every bar, for the failure message
    const int barsB = column.bars.barsOnFaceB();
    const int barsH = column.bars.barsOnFaceH();
    const double height = column.hn > 0.0 ? column.hn : 1000.0;
    std::vector<double> spacingsDescending(std::rbegin(kStirrupSpacings),
                                           std::rend(kStirrupSpacings));
    for (const int d : kStirrupDiameters) {
        if (d < l.minimumDiameter) continue;
        const Geometry g = geometryFor(column, d);
        const double legLimit =
            l.legSpacing20ds ? std::max(l.maximumLegSpacing, 20.0 * d) : l.maximumLegSpacing;
        const double tightest = std::max(g.barSpacingB, g.barSpacingH);
        if (tightestLegSpacing == 0.0 || tightest < tightestLegSpacing)
            tightestLegSpacing = tightest;
        for (int legsX = l.minimumLegsX; legsX <= barsB; ++legsX) {
            for (int legsY = l.minimumLegsY; legsY <= barsH; ++legsY) {
                StirrupChoice c;
                c.diameter = d;
                c.legsX = legsX;
                c.legsY = legsY;
                c.legSpacingX = widestGap(barsB, legsX) * g.barSpacingB;
                c.legSpacingY = widestGap(barsH, legsY) * g.barSpacingH;
                c.everyOtherBarHeld = widestGap(barsB, legsX) <= 2 && widestGap(barsH, legsY) <= 2;
                if (graded && std::max(c.legSpacingX, c.legSpacingY) > legLimit) continue;
                c.legLengthX = g.legLengthX;
                c.legLengthY = g.legLengthY;
                c.coreArea = g.coreArea;
                const double setVolume = g.legArea * (legsX * g.legLengthX + legsY * g.legLengthY);
                const auto ratioAt = [&](double s) { return setVolume / (g.coreArea * s); };
                // The largest spacing at which every combination is carried.
                double shearSpacing = 0.0;
                for (const double s : spacingsDescending) {
                    ++design.candidatesTried;
                    const Trial t{legsX, legsY, g.legArea, s, &g};
                    bool all = true;
                    for (const ShearCombination& combo : combinations) {
                        if (!combinationShear(column, m, combo, t).carried) {
                            all = false;
                            break;
                        }
                    }
                    if (all) {
                        shearSpacing = s;
                        break;
                    }
                }
                if (shearSpacing == 0.0) continue;
                if (!graded) {
                    const double s = std::min(shearSpacing, l.maximumSpacing);
                    double chosen = 0.0;
                    for (const double candidate : spacingsDescending) {
                        if (candidate <= s) {
                            chosen = candidate;
                            break;
                        }
                    }
                    if (chosen == 0.0) continue;
                    c.spacing = chosen;
                    c.denseSpacing = chosen;
                    c.volumetricRatio = ratioAt(chosen);
                    c.volumetricRatioOutside = c.volumetricRatio;
                    c.steelVolume = setVolume * height / chosen;
                } else {
                    const bool relaxed = l.maximumDenseSpacingRelaxed > 0.0 &&
                                         ((column.seismic == SeismicGrade::One && d > 12 &&
                                           std::max(c.legSpacingX, c.legSpacingY) <= 150.0) ||
                                          (column.seismic == SeismicGrade::Two && d >= 10 &&
                                           std::max(c.legSpacingX, c.legSpacingY) <= 200.0));
                    const double denseLimit =
                        std::min({relaxed ? l.maximumDenseSpacingRelaxed : l.maximumDenseSpacing,
                                  l.maximumSpacing, shearSpacing});
                    const double outsideLimit = std::min(l.maximumOutsideSpacing, shearSpacing);
                    bool found = false;
                    StirrupChoice bestHere;
                    for (const double sd : spacingsDescending) {
                        if (sd > denseLimit) continue;
                        if (ratioAt(sd) < l.requiredVolumetricRatio) continue;
                        // Outside: at most 10 d / 15 d, carrying the shear, at least half the
                        // dense zone's ratio.
                        double so = sd;
                        if (!l.denseWholeHeight) {
                            for (const double candidate : spacingsDescending) {
                                if (candidate < sd) break;
                                // Same hoop, so half the ratio is twice the spacing.
                                if (candidate <= outsideLimit && candidate <= 2.0 * sd) {
                                    so = candidate;
                                    break;
                                }
                            }
                            if (so > outsideLimit) continue;
                        }
                        StirrupChoice trial = c;
                        trial.denseSpacing = sd;
                        trial.spacing = so;
                        trial.wholeHeight = l.denseWholeHeight;
                        trial.denseLength = l.denseLength;
                        trial.volumetricRatio = ratioAt(sd);
                        trial.volumetricRatioOutside = ratioAt(so);
                        trial.steelVolume =
                            setVolume * (l.denseLength / sd + (column.hn - l.denseLength) / so);
                        if (!found || better(trial, bestHere)) bestHere = trial;
                        found = true;
                    }
                    if (!found) continue;
                    c = bestHere;
                }
                if (!best.found || better(c, best.choice)) best = {c, true};
            }
        }
    }
    if (!best.found) {
        if (graded) {
            // Legs on every bar: is the leg spacing the obstacle?
            const double legLimit = std::max(
                l.maximumLegSpacing,
                l.legSpacing20ds ? 20.0 * kStirrupDiameters[std::size(kStirrupDiameters) - 1]
                                 : 0.0);
            if (tightestLegSpacing > legLimit) {
                return fail(StirrupFailureKind::LegSpacingUnattainable, -1, tightestLegSpacing,
                            legLimit);
            }
        }
        StirrupDesign failed = fail(StirrupFailureKind::NoStirrupFits, -1, 0.0, 1.0);
        for (std::size_t i = 0; i < failed.combinations.size(); ++i) {
            const ShearCheck& s = failed.combinations[i].check;
            if (s.utilisation > failed.failure.value) {
                failed.failure.value = s.utilisation;
                failed.failure.combination = static_cast<int>(i);
            }
        }
        return failed;
    }

    design.designed = true;
    design.choice = best.choice;
    design.choice.heldBarsB = heldBars(barsB, best.choice.legsX);
    design.choice.heldBarsH = heldBars(barsH, best.choice.legsY);
    design.exceedsAssumedDiameter = best.choice.diameter > column.assumedStirrup;
    const Geometry g = geometryFor(column, best.choice.diameter);
    const Trial t{best.choice.legsX, best.choice.legsY, g.legArea, best.choice.spacing, &g};
    double highest = -1.0;
    for (std::size_t i = 0; i < combinations.size(); ++i) {
        design.combinations.push_back(combinationShear(column, m, combinations[i], t));
        if (design.combinations.back().check.utilisation > highest) {
            highest = design.combinations.back().check.utilisation;
            design.governing = static_cast<int>(i);
        }
    }
    return design;
}

std::string stirrupNotation(SteelGrade2010 steel, const StirrupChoice& choice) {
    constexpr std::array<char, 4> kLetter = {'A', 'B', 'C', 'D'};
    std::string text(1, kLetter[static_cast<std::size_t>(static_cast<int>(steel))]);
    const auto whole = [](double v) {
        return std::to_string(static_cast<long long>(std::lround(v)));
    };
    text += std::to_string(choice.diameter) + "@" + whole(choice.denseSpacing);
    if (!choice.wholeHeight && choice.spacing != choice.denseSpacing) {
        text += "/" + whole(choice.spacing);
    }
    return text;
}

std::string stirrupType(const StirrupChoice& choice) {
    return std::to_string(choice.legsX) + "×" + std::to_string(choice.legsY);
}

}  // namespace tessarin
