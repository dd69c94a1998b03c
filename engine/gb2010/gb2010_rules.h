#pragma once

// The tables of the current code (GB 50010-2010 with the 2015 revision, GB 50011-2010 with the 2016
// revision) and the choices Tessarin makes where the codes leave a decision to the engineer.
// Values marked "check" in the rule set live here and nowhere else, so one edit fixes them.

#include <array>
#include <span>

#include "engine/gb2010/gb2010_types.h"

namespace tessarin {

// The choices Tessarin makes where the codes are silent or open, in one place. Each is what a
// Chinese structural engineer would draw or accept from a checker.
struct EngineeringChoices {
    // phi between the rows of table 6.2.15: linear interpolation (the code tabulates rows only;
    // taking the next row up would be the conservative alternative).
    bool interpolatePhi = true;
    // 8.5.1 adds 0.10 % "C60及以上": from C60 inclusive.
    int nonSeismicHighStrengthFrom = 60;
    // GB 50011 6.3.7 adds 0.1 % "高于C60": above C60, so from C65.
    int seismicHighStrengthFrom = 65;
    // Nu0 of the reciprocal formula 6.2.21 takes fy' uncapped (435 for HRB500): a larger Nu0
    // gives a smaller Nu, the safe side. The axial limit 6.2.15 caps fy' at 400.
    bool capFycInNu0 = false;
    // h0 = D - a for etaNs with a = c + ds + dc/2 of the layout's corner bars; without any layout
    // the demand is shown with the smallest bar.
    int demandDiameterWithoutLayout = 12;
    // Web bars stand equally spaced between the corner-bar centres of their face; every bar's
    // centre lies c + ds + d/2 from its face (bars against the stirrup).
    // The seismic axial-ratio limit (6.3.6) is applied to the seismic combinations and to those
    // of unspecified kind (the design cannot tell them from the seismic ones); gammaRE of 11.1.6
    // only to the seismic ones.
    bool axialRatioLimitOnUnspecifiedCombinations = true;
    // The shear-span ratio lambda = Hn / (2 h0) (GB 50010 6.3.12, GB 50011 6.2.9) takes h0 with the
    // smallest listed bar (the largest h0, so the smallest lambda, whatever layout is chosen), and
    // the smaller of the two axes governs the limits that depend on it (6.3.6 note 2, 6.3.8).
    int shearSpanBarDiameter = 12;
    // Without a clear height Hn the effective length l0 stands for it (a larger Hn gives a larger
    // lambda: give Hn where the column is short between beams).
    // The compound-stirrup and core-column raises of the axial-ratio limit (6.3.6 notes 3 and 4)
    // are not taken: the stirrups are not designed here.
    // The seismic spacing limit of 200 mm (6.3.8) applies to the faces of a side longer than
    // 400 mm.
    double seismicSpacingSideAbove = 400.0;
    // Ties after the least area, the fewest bars, the fewest diameters and the fewest bars off
    // the preferred diameter (BarPreferences): the lower governing utilisation, then more bars on
    // the longer faces, then the larger corner bar (detailedChoices).
    // The governing combination is the one with the highest of utilisation and axial ratio
    // N / (0.9 phi (fc A + fy' As')).
    // A uniaxial column (every combination's moment in one direction exactly zero, some in the
    // other): the accidental eccentricity ea acts in the direction of the moment only ("在其偏心
    // 方向", 6.2.5) and the direction without moment is checked by 6.2.15 as axial compression,
    // phi by l0 over the side across the moment plane (6.2.17, last paragraph), as a one-direction
    // design by hand does. Any nonzero moment, however small, keeps the column biaxial; a column
    // without any moment stays biaxial too (ea in both directions and phi of the smaller side, the
    // safe side for a nominally axial column). False: every column is designed as biaxial.
    bool uniaxialColumns = true;
};

inline constexpr EngineeringChoices kEngineeringChoices{};

// The longitudinal bar diameters a layout may use, mm (rule set section 6).
inline constexpr std::array<int, 11> kBarDiameters2010 = {12, 14, 16, 18, 20, 22,
                                                          25, 28, 32, 36, 40};

// fc of the concrete grades C20 ... C80 (4.1.4-1). False for a grade not in the table.
[[nodiscard]] bool isConcreteGrade2010(int grade);

// All figures of the materials (4.1.4, 4.2.3, 6.2.1, 6.2.6) for a listed concrete grade.
[[nodiscard]] Materials2010 materials2010(int concreteGrade, SteelGrade2010 steel);

// Stability factor phi of table 6.2.15 for l0/b (b the smaller side): 1.0 up to 8, 0.19 at 50,
// linear between rows (see kEngineeringChoices); beyond 50 the last row.
[[nodiscard]] double stabilityFactor(double l0OverB);

// Minimum total ratio on b h of 8.5.1: 0.60 % (300 and 335 MPa bars), 0.55 % (400), 0.50 % (500),
// 0.10 % more from C60.
[[nodiscard]] double nonSeismicMinimumTotalRatio(SteelGrade2010 steel, int concreteGrade);

// Minimum total ratio of GB 50011 table 6.3.7-1 with its increments (bars below 400 MPa +0.1 %,
// 400 MPa +0.05 %, concrete above C60 +0.1 %); 0 without a seismic grade.
[[nodiscard]] double minimumTotalRatioSeismic(SeismicGrade grade, StructureType structure,
                                              ColumnPosition position, SteelGrade2010 steel,
                                              int concreteGrade);

// Whether table 6.3.6 has a limit for the grade and the structure: none for a frame-supporting
// column of grade 三 or 四 (such a column is of grade 一 or 二, GB 50011 6.1.2).
[[nodiscard]] bool hasAxialRatioLimit(SeismicGrade grade, StructureType structure);

// The axial compression ratio limit N / (fc A) of GB 50011 table 6.3.6 with its notes: 0.05 less
// for a shear-span ratio of 2 or less (note 2), 0.05 less for C65 and C70 and 0.10 less for C75
// and C80 (GB 50010 11.4.16 note). Value 0 without a grade, or where the table has no limit.
[[nodiscard]] AxialRatioLimit axialRatioLimit(SeismicGrade grade, StructureType structure,
                                              int concreteGrade, double shearSpanRatio);

// The shear-span ratio of table 6.3.6 note 2 below which the limit needs special study.
inline constexpr double kSpecialStudyShearSpan = 1.5;
// At or below this shear-span ratio the column is short: the limit is 0.05 lower (6.3.6 note 2),
// and a grade 一 column's faces carry at most 1.2 % each (6.3.8).
inline constexpr double kShortColumnShearSpan = 2.0;
inline constexpr double kShortColumnOneSideRatio = 0.012;

// lambda = Hn / (2 h0) per axis (GB 50010 6.3.12, GB 50011 6.2.9), h0 = D - (c + ds + 12 / 2).
[[nodiscard]] ShearSpan shearSpan(const Gb2010Column& column, double cover);

// The seismic adjustment factor of the bending capacity of a column (GB 50010 table 11.1.6):
// 0.75 for an axial ratio N / (fc A) below 0.15, else 0.80.
[[nodiscard]] double bendingGammaRE(double axialRatio);
inline constexpr double kGammaReAxialRatio = 0.15;

// The gammaRE one combination's bending check takes: the seismic factor only for a seismic
// combination of a column with a seismic grade; 1 for a non-seismic or unspecified one (the
// unspecified keep the unreduced capacity, the safe side).
[[nodiscard]] double combinationGammaRE(SeismicGrade grade, CombinationKind kind,
                                        double axialRatio);

// Whether the seismic axial-ratio limit (GB 50011 6.3.6) applies to a combination: to the seismic
// ones, not to a non-seismic one, and to the unspecified ones as the choices say (by default yes,
// the safe side).
[[nodiscard]] bool axialRatioLimitApplies(CombinationKind kind,
                                          const EngineeringChoices& choices = kEngineeringChoices);

// Accidental eccentricity ea = max(20, D / 30) (6.2.5).
[[nodiscard]] double accidentalEccentricity(double depth);

// Default cover to the stirrups (8.2.1, environment class 一, 50 years): 20 mm, 25 mm for C25 and
// below.
[[nodiscard]] double defaultCover(int concreteGrade);

// The directions the combinations' end moments act in (see kEngineeringChoices.uniaxialColumns).
[[nodiscard]] MomentDirections momentDirections(std::span<const LoadCombination> combinations);

// The limits one column's layouts must meet; phi of 6.2.15 by l0 over the smaller side, or for a
// uniaxial column over the side across the moment plane (6.2.17).
[[nodiscard]] DetailingLimits detailingLimits(
    const Gb2010Column& column, double cover,
    MomentDirections directions = MomentDirections::Biaxial);

// Fixed detailing values (8.5.1, 9.3.1; GB 50011 6.3.8).
inline constexpr double kMinimumOneSideRatio = 0.002;
inline constexpr double kMaximumTotalRatio = 0.05;
inline constexpr double kMinimumClearSpacing = 50.0;
inline constexpr double kMaximumCentreSpacing = 300.0;
inline constexpr double kMaximumCentreSpacingSeismic = 200.0;
// The ultimate tensile strain of the longitudinal bars (6.2.1).
inline constexpr double kUltimateTensileStrain = 0.01;
// Above this total ratio the axial limit uses A - As' in place of A (6.2.15).
inline constexpr double kNetAreaRatio = 0.03;

}  // namespace tessarin
