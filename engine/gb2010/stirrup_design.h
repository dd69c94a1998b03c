#pragma once

// The stirrups (箍筋) of a rectangular column by the current code: the shear checks of GB
// 50010-2010 (6.3.1, 6.3.11 - 6.3.18; seismic 11.4.6 - 11.4.9), the detailing of 9.3.2 and, with a
// seismic grade, of GB 50011-2010 6.3.7-2 and 6.3.9; and the choice of the lightest stirrup that
// meets them all. Standard library only, plain values; every result carries the figures that
// explain it. The rules, clause by clause, are in docs/gb2010_shear.md.
//
// Units: lengths mm, forces kN, stresses N/mm^2, areas mm^2, ratios as fractions. Axes as in the
// main dialog: Vx is the shear along h (it comes with Mx), carried by the legs parallel to h
// (legsX) with the width b and h0 = h - a; Vy is the shear along b, carried by the legs parallel
// to b (legsY) with the width h and b0 = b - a.

#include <optional>
#include <string>
#include <vector>

#include "engine/gb2010/gb2010_types.h"

namespace tessarin {

// The longitudinal bars the stirrup legs stand on: 4 corner bars, and on each face of length b
// (and of length h) the same number of middle bars of one diameter, equally spaced between the
// corner-bar centres.
struct LongitudinalBars {
    int cornerDiameter = 0;
    int middleDiameterB = 0;  // the middle bars of the faces of length b
    int middleBarsB = 0;      // per face
    int middleDiameterH = 0;
    int middleBarsH = 0;

    [[nodiscard]] int barsOnFaceB() const { return 2 + middleBarsB; }
    [[nodiscard]] int barsOnFaceH() const { return 2 + middleBarsH; }
    [[nodiscard]] int largestDiameter() const;
    [[nodiscard]] int smallestDiameter() const;
    [[nodiscard]] double steelArea() const;  // all bars, mm^2
};

// The bars of a layout the current-code design chose.
[[nodiscard]] LongitudinalBars longitudinalBarsOf(const LayoutChoice& choice);

// Whether a combination is a seismic one. Unspecified with a seismic grade: both the non-seismic
// and the seismic check are made and the less favourable governs.
using ShearCombinationKind = CombinationKind;

struct ShearCombination {
    double N = 0.0;   // kN, compression positive, tension negative
    double Vx = 0.0;  // kN, along h
    double Vy = 0.0;  // kN, along b
    ShearCombinationKind kind = ShearCombinationKind::Unspecified;
};

// The column as the stirrup design sees it.
struct StirrupColumn {
    double b = 400.0;
    double h = 600.0;
    double cover = 20.0;  // to the stirrups (8.2.1)
    int concreteGrade = 30;
    LongitudinalBars bars;
    SteelGrade2010 stirrupSteel = SteelGrade2010::HRB400;
    // The stirrup diameter the longitudinal layout was placed with: a larger stirrup moves the bars
    // inwards, and the result says so (StirrupDesign::exceedsAssumedDiameter).
    double assumedStirrup = 8.0;
    SeismicGrade seismic = SeismicGrade::None;
    StructureType structure = StructureType::Frame;
    ColumnPosition position = ColumnPosition::Middle;
    bool frameSupporting = false;  // 框支柱 (GB 50011 6.3.9-1, 6.3.9-3; GB 50010 11.4.6)
    bool groundStorey = false;     // the column stands on the foundation: the foot (柱根) rules
    double hn = 0.0;               // clear height Hn, mm; needed with a seismic grade
    double lambdaX = 3.0;          // shear-span ratio Hn / (2 h0) for Vx, as given
    double lambdaY = 3.0;          // for Vy
};

// One direction of one shear check (6.3.12 or 11.4.7; 6.3.14 or 11.4.8 under tension).
struct ShearDirection {
    double V = 0.0;               // |V|, kN
    double width = 0.0;           // b for Vx, h for Vy
    double h0 = 0.0;              // depth minus a = c + ds + dc/2
    double lambdaGiven = 0.0;     // as given
    double lambda = 0.0;          // between 1 and 3
    double sectionFactor = 0.0;   // 0.25 (6.3.1, 0.20 from hw/b = 6), seismic 0.20 or 0.15
    double sectionLimit = 0.0;    // sectionFactor betaC fc width h0 (/ gammaRE), kN
    double concreteFactor = 0.0;  // 1.75 / (lambda + 1), seismic 1.05 / (lambda + 1)
    double concreteTerm = 0.0;    // concreteFactor ft width h0, kN
    double axialTerm = 0.0;       // 0.07 N (seismic 0.056 N), N at most 0.3 fc A; -0.2 N tension
    int legs = 0;                 // stirrup legs parallel to this shear
    double Asv = 0.0;             // legs * area of one leg, mm^2
    double stirrupTerm = 0.0;     // fyv Asv / s h0, kN (s the spacing outside the dense zone)
    double capacity = 0.0;        // Vu, kN (divided by gammaRE when seismic)
    double concreteOnly = 0.0;    // Vu without stirrups, kN: the detailing-only bound (6.3.13)
};

// One shear check of one combination.
struct ShearCheck {
    bool seismic = false;
    double gammaRE = 1.0;  // 0.85 for a seismic check (11.1.6)
    double N = 0.0;        // kN, as given
    double Nused = 0.0;    // kN, compression at most 0.3 fc A
    ShearDirection x;
    ShearDirection y;
    double theta = 0.0;               // arctan(Vy / Vx), rad (6.3.16)
    double sectionUtilisation = 0.0;  // largest of Vx / (limit_x cos theta), Vy / (.. sin theta)
    bool concreteCarries = false;     // detailing alone suffices (6.3.13, 6.3.18)
    double utilisation = 0.0;         // sqrt((Vx/Vux)^2 + (Vy/Vuy)^2) (6.3.17)
    bool tensionMinimumMet = true;    // under tension fyv Asv/s h0 >= 0.36 ft b h0 (6.3.14)
};

// Per combination: the check that governs (the seismic or the non-seismic one; with an
// unspecified kind and a seismic grade both are made and this is the less favourable).
struct CombinationShear {
    ShearCheck check;
    bool bothChecked = false;
    bool carried = false;             // every check made carries it
    double sectionUtilisation = 0.0;  // the largest of the checks made
};

// Why the dense zone is as long as it is (GB 50011 6.3.9-1).
enum class DenseZoneReason {
    None,              // non-seismic: no dense zone
    Ends,              // max(h, Hn/6, 500) at each end (Hn/3 at the foot of a ground-storey column)
    EndsCoverHeight,   // the two end zones together reach Hn
    ShortColumn,       // Hn / h <= 4
    ShearSpanAtMost2,  // lambda <= 2
    FrameSupporting,   // 框支柱
    CornerGradeOneTwo  // corner column of grade 一 or 二
};

// The detailing limits of one column (9.3.2; GB 50011 6.3.7-2, 6.3.9), with their parts.
struct StirrupLimits {
    // 9.3.2
    int largestBar = 0;            // d for the diameter rule
    int smallestBar = 0;           // d for the spacing rules
    double diameterQuarter = 0.0;  // d_max / 4 (9.3.2-1)
    int minimumDiameter = 0;       // max(6, d_max / 4) and 8 above 3 %, and the seismic minimum
    double shortSide = 0.0;
    double spacing15d = 0.0;         // 15 d_min (9.3.2-2)
    double maximumSpacing = 0.0;     // min(400, short side, 15 d), and 10 d, 200 above 3 %
    double longitudinalRatio = 0.0;  // As / (b h)
    bool highRatio = false;          // above 3 % (9.3.2-5)
    bool compoundRequired = false;   // 9.3.2-4
    int minimumLegsX = 2;            // legs parallel to h: every other bar of the b faces held
    int minimumLegsY = 2;
    // GB 50011 6.3.7-2, 6.3.9 (0 without a seismic grade)
    double maximumDenseSpacing = 0.0;         // 6d / 8d with 100 / 150, 100 at a foot ...
    double maximumDenseSpacingRelaxed = 0.0;  // note 1 of table 6.3.7-2 (150), 0 where not allowed
    int minimumDenseDiameter = 0;
    double maximumLegSpacing = 0.0;  // 200 / 250 / 300 (250 or 20 ds, 二 三)
    bool legSpacing20ds = false;     // 二, 三: the larger of 250 and 20 ds
    double denseLengthEnd = 0.0;     // max(h, Hn/6, 500)
    double denseLengthFoot = 0.0;    // ground storey: max(that, Hn/3)
    double denseLength = 0.0;        // both ends together, at most Hn
    bool denseWholeHeight = false;
    DenseZoneReason denseReason = DenseZoneReason::None;
    double maximumOutsideSpacing = 0.0;  // 10 d (一 二) or 15 d (三 四), and 9.3.2
    double axialRatio = 0.0;             // largest N / (fc A) of the seismic combinations
    double lambdaV = 0.0;                // table 6.3.9 (+0.02 frame-supporting)
    double fcForRatio = 0.0;             // fc, at least that of C35
    double fyvForRatio = 0.0;
    double requiredByLambdaV = 0.0;        // lambdaV fc / fyv
    double minimumVolumetricRatio = 0.0;   // 0.8 / 0.6 / 0.4 / 0.4 %, 1.2 % (lambda <= 2), 1.5 %
    double requiredVolumetricRatio = 0.0;  // the larger
};

// The chosen stirrup.
struct StirrupChoice {
    int diameter = 0;
    int legsX = 0;  // legs parallel to h (standing on the bars of the b faces): type m = legsX
    int legsY = 0;  // legs parallel to b: type n = legsY
    double spacing = 0.0;       // outside the dense zone (the only one without a seismic grade)
    double denseSpacing = 0.0;  // in the dense zone; equal to spacing without one
    double denseLength = 0.0;   // both ends together; Hn when the whole height is dense
    bool wholeHeight = false;
    double legSpacingX = 0.0;  // largest distance between neighbouring legs parallel to h, mm
    double legSpacingY = 0.0;
    bool everyOtherBarHeld = false;
    double volumetricRatio = 0.0;         // in the dense zone (everywhere without one)
    double volumetricRatioOutside = 0.0;  // outside the dense zone
    double legLengthX = 0.0;              // a leg parallel to h: h - 2c - ds (centre line)
    double legLengthY = 0.0;
    double coreArea = 0.0;     // Acor = (b - 2c - 2ds)(h - 2c - 2ds)
    double steelVolume = 0.0;  // over the clear height (per metre without Hn), mm^3
    // The bars the legs stand on, counted from one corner of the face (0 and the last are the
    // corners, held by the outer hoop): on the faces of length b for legsX, of length h for legsY.
    std::vector<int> heldBarsB;
    std::vector<int> heldBarsH;
};

enum class StirrupFailureKind {
    None,
    SectionLimitExceeded,    // 6.3.11 / 6.3.16 / 11.4.6: no stirrup helps, enlarge the section
    ClearHeightMissing,      // a seismic grade without Hn
    AxialRatioBeyondTable,   // N / (fc A) beyond the last column of table 6.3.9 for the grade
    LegSpacingUnattainable,  // legs on every bar still stand farther apart than 6.3.9-2 allows
    NoStirrupFits,           // no diameter, legs and spacing carry the shear within the rules
};

struct StirrupFailure {
    StirrupFailureKind kind = StirrupFailureKind::None;
    int combination = -1;  // 0-based
    // The section utilisation; the axial ratio; the smallest leg spacing on bars; the shear
    // utilisation with the heaviest stirrup tried.
    double value = 0.0;
    double limit = 0.0;  // 1; the table's last axial ratio; the leg spacing limit; 1
};

struct StirrupDesign {
    StirrupColumn column;
    Materials2010 concrete;  // fc
    double ft = 0.0;
    double betaC = 1.0;
    double fyv = 0.0;       // for shear, at most 360 (4.2.3)
    double fyvRatio = 0.0;  // for the volumetric ratio
    StirrupLimits limits;
    bool designed = false;
    StirrupFailure failure;
    StirrupChoice choice;                        // with designed
    std::vector<CombinationShear> combinations;  // checked with the choice (or the failure's try)
    int governing = -1;                          // highest shear utilisation
    bool exceedsAssumedDiameter = false;         // choice.diameter > column.assumedStirrup
    int candidatesTried = 0;
};

// The design: the lightest stirrup (diameter, legs, the two spacings) meeting every rule and
// carrying every combination; ties go to fewer legs, then the larger spacings.
[[nodiscard]] StirrupDesign designStirrups(const StirrupColumn& column,
                                           const std::vector<ShearCombination>& combinations);

// Which of `bars` equally spaced bars of a face `legs` legs stand on (2 <= legs <= bars): both
// corners and the rest spread evenly, so that the widest gap spans ceil((bars-1)/(legs-1)) bar
// spaces.
[[nodiscard]] std::vector<int> heldBars(int bars, int legs);

// Tensile strength ft of the concrete grades C20 ... C80 (4.1.4-2).
[[nodiscard]] double concreteTensileStrength(int concreteGrade);
// betaC: 1.0 up to C50, 0.8 at C80, linear between (6.3.1).
[[nodiscard]] double concreteStrengthFactor(int concreteGrade);
// lambdaV of table 6.3.9 (ordinary and compound hoops), linear between its columns; negative
// beyond the grade's last column.
[[nodiscard]] double stirrupCharacteristicValue(SeismicGrade grade, double axialRatio);

// The notation drawings use: "C8@100/200", "C8@100" (one spacing or the whole height dense);
// the grade letter A, B, C, D for HPB300, HRB335, HRB400, HRB500. And the type "4×4" (legsX ×
// legsY, as 16G101 writes m × n).
[[nodiscard]] std::string stirrupNotation(SteelGrade2010 steel, const StirrupChoice& choice);
[[nodiscard]] std::string stirrupType(const StirrupChoice& choice);

// The stirrup diameters and spacings the choice tries (an engineering choice, see the docs).
inline constexpr int kStirrupDiameters[] = {6, 8, 10, 12, 14, 16};
inline constexpr double kStirrupSpacings[] = {50,  60,  70,  80,  90,  100,
                                              150, 200, 250, 300, 350, 400};
inline constexpr double kGammaReShear = 0.85;  // 11.1.6

}  // namespace tessarin
