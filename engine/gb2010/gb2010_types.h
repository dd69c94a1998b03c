#pragma once

// The public record of the current-code design (GB 50010-2010, seismic detailing GB 50011-2010) of
// a rectangular column: its input (the column and its load combinations), the bar layout it
// chooses, and every figure the report, the CLI, the batch and the drawings show. Standard
// library only, plain values.
//
// Units: lengths mm, forces kN, moments kN*m, stresses N/mm^2, areas mm^2, ratios as fractions
// (0.0055 is 0.55 %). Axes as in the main dialog: x bending uses the depth h (moments Mx), y
// bending the depth b (moments My). Bar coordinates: origin at the centroid, u along h (the lever
// arm of Mx), v along b (the lever arm of My).

#include <optional>
#include <vector>

#include "engine/gb2010/bar_preferences.h"

namespace tessarin {

// Longitudinal steel (4.2.3).
enum class SteelGrade2010 { HPB300, HRB335, HRB400, HRB500 };

// Seismic grade of the column (GB 50011-2010 6.1.2): none, 一, 二, 三, 四.
enum class SeismicGrade { None, One, Two, Three, Four };

// The structure the column belongs to, for the seismic limits (6.3.6, 6.3.7): a frame, a dual
// system (frame-shear wall, slab-column-wall, frame-core tube, tube-in-tube), or the
// frame-supporting column of a part-frame-supported shear-wall structure
// (部分框支抗震墙结构的框支柱).
enum class StructureType { Frame, Dual, FrameSupported };

// Where the column stands, for the seismic minimum ratio (6.3.7): a middle or edge column, or a
// corner column (a frame-supporting column takes the corner row whatever its position).
enum class ColumnPosition { Middle, Corner };

// The column: section, lengths, materials, cover. An empty optional takes its default.
struct Gb2010Column {
    double b = 400.0;           // section width, the depth of y bending
    double h = 600.0;           // section height, the depth of x bending
    double l0 = 6000.0;         // effective length, for the stability factor phi (6.2.15)
    std::optional<double> lcX;  // length between supports for x bending (6.2.3); default l0
    std::optional<double> lcY;  // the same for y bending; default l0
    std::optional<double> hn;   // clear height, for the shear-span ratio (6.3.12); default l0
    int concreteGrade = 30;     // fcu,k: 20, 25, ... 80
    SteelGrade2010 steel = SteelGrade2010::HRB400;
    std::optional<double> cover;  // to the stirrups (8.2.1); default 20, 25 for C25 and below
    double stirrup = 8.0;         // stirrup diameter
    SteelGrade2010 stirrupSteel = SteelGrade2010::HRB400;  // for the stirrup design
    SeismicGrade seismic = SeismicGrade::None;
    StructureType structure = StructureType::Frame;
    ColumnPosition position = ColumnPosition::Middle;
    BarPreferences barPreferences;  // the bars the layout may draw (配筋参数)
};

// Whether a load combination includes the earthquake action. Unspecified: the design cannot tell,
// so it takes the less favourable of both treatments (no gammaRE, and the seismic axial-ratio
// limit where the column has a grade).
enum class CombinationKind { Unspecified, NonSeismic, Seismic };

// One load combination: N and, per axis, the larger end moment M2 with the ratio M1/M2 (positive
// for single curvature, negative for double curvature); the design shears for the stirrups and
// the kind.
struct LoadCombination {
    double N = 400.0;    // kN, compression
    double M2x = 244.0;  // kN*m
    double m1m2X = 1.0;
    double M2y = 120.0;  // kN*m
    double m1m2Y = 1.0;
    double Vx = 0.0;  // kN, along h (comes with Mx)
    double Vy = 0.0;  // kN, along b
    CombinationKind kind = CombinationKind::Unspecified;
};

// A symmetric bar layout: 4 corner bars, and on each face of length b the same count of web
// (middle) bars of one diameter, on each face of length h the same count of web bars of one
// diameter, equally spaced between the corner bars. The b faces and the h faces may differ in
// diameter and count (16G101-1 writes them apart: 角筋 4C25, b边一侧中部筋 3C20, h边一侧中部筋
// 2C18). "Along B": on each of the two faces of length b (at u = +-(h/2 - a)); "along H": on each
// of the two faces of length h (at v = +-(b/2 - a)). A face without web bars takes the corner
// diameter as its web diameter, so that one layout has one record.
struct LayoutChoice {
    int cornerDiameter = 0;  // mm
    int webDiameterB = 0;    // mm, at most the corner diameter
    int webBarsAlongB = 0;
    int webDiameterH = 0;  // mm, at most the corner diameter
    int webBarsAlongH = 0;

    constexpr LayoutChoice() = default;
    // One web diameter on all four faces.
    constexpr LayoutChoice(int corner, int web, int alongB, int alongH)
        : LayoutChoice(corner, web, alongB, web, alongH) {}
    // The b faces and the h faces apart.
    constexpr LayoutChoice(int corner, int webB, int alongB, int webH, int alongH)
        : cornerDiameter(corner),
          webDiameterB(alongB > 0 ? webB : corner),
          webBarsAlongB(alongB),
          webDiameterH(alongH > 0 ? webH : corner),
          webBarsAlongH(alongH) {}

    [[nodiscard]] constexpr int barCount() const {
        return 4 + 2 * webBarsAlongB + 2 * webBarsAlongH;
    }
    // How many different diameters the layout draws: 1, 2 or 3.
    [[nodiscard]] constexpr int diameterCount() const {
        const int b = webBarsAlongB > 0 ? webDiameterB : cornerDiameter;
        const int h = webBarsAlongH > 0 ? webDiameterH : cornerDiameter;
        return 1 + (b != cornerDiameter ? 1 : 0) + (h != cornerDiameter && h != b ? 1 : 0);
    }
    [[nodiscard]] constexpr bool oneDiameter() const { return diameterCount() == 1; }
    // The web bars of the b faces and of the h faces differ in diameter (both faces have some).
    [[nodiscard]] constexpr bool webDiametersDiffer() const {
        return webBarsAlongB > 0 && webBarsAlongH > 0 && webDiameterB != webDiameterH;
    }
    friend bool operator==(const LayoutChoice&, const LayoutChoice&) = default;
};

// One bar where it lies: centre (mm) and diameter (mm).
struct PlacedBar {
    double u = 0.0;
    double v = 0.0;
    double d = 0.0;
    bool corner = false;
};

// A layout placed in its section: the bars' centres sit c + ds + d/2 from the faces.
struct BarLayout {
    LayoutChoice choice;
    std::vector<PlacedBar> bars;  // 4 corners, then the faces along B, then the faces along H
    double steelArea = 0.0;       // all bars, mm^2
    double ratio = 0.0;           // steelArea / (b h)
    double oneSideRatioB = 0.0;   // one face of length b: its 2 corner bars + web bars, on b h
    double oneSideRatioH = 0.0;   // one face of length h
    double clearSpacingB = 0.0;   // smallest clear distance between neighbouring bars, face along b
    double clearSpacingH = 0.0;
    double centreSpacingB = 0.0;  // centre distance of neighbouring bars, face along b
    double centreSpacingH = 0.0;
};

// Materials as the current code gives them (4.1.4, 4.2.3, 6.2.1, 6.2.6).
struct Materials2010 {
    int concreteGrade = 30;
    double fc = 0.0;  // N/mm^2
    double alpha1 = 1.0;
    double beta1 = 0.8;
    double n = 2.0;  // exponent of the parabola
    double eps0 = 0.002;
    double epsCu = 0.0033;
    SteelGrade2010 steel = SteelGrade2010::HRB400;
    double fy = 0.0;        // tension
    double fyc = 0.0;       // fy' in compression
    double fycAxial = 0.0;  // fy' in the axial limit, at most 400 (4.2.3)
    double Es = 0.0;
    double fyk = 0.0;  // characteristic strength, for the seismic ratios
};

// The second-order check of one axis for one combination (6.2.3, 6.2.4, 6.2.5, 6.2.17).
struct AxisDemand {
    double depth = 0.0;               // D: h for x bending, b for y bending
    double M2 = 0.0;                  // kN*m
    double m1m2 = 1.0;                // M1/M2
    double lc = 0.0;                  // mm
    double radiusOfGyration = 0.0;    // i = D / sqrt(12)
    double slenderness = 0.0;         // lc / i
    double slendernessLimit = 0.0;    // 34 - 12 M1/M2
    double axialRatio = 0.0;          // N / (fc A)
    bool secondOrderIgnored = false;  // all three screening conditions hold
    double ea = 0.0;                  // max(20, D/30); 0 for a moment-free axis
    // No combination has a moment in this direction while the other has one (a uniaxial column):
    // the accidental eccentricity acts in the moment's direction only (6.2.5) and this direction
    // is checked by 6.2.15 as axial compression.
    bool momentFree = false;
    double a = 0.0;        // centre of the corner bars from the face
    double h0 = 0.0;       // D - a
    double Cm = 1.0;       // 0.7 + 0.3 M1/M2, at least 0.7
    double zetaC = 1.0;    // 0.5 fc A / N, at most 1
    double etaNs = 1.0;    // 1 + (lc/D)^2 zetaC / (1300 (M2/N + ea) / h0)
    double CmEtaNs = 1.0;  // Cm etaNs, at least 1 (1 when second order is ignored)
    double M = 0.0;        // design moment, kN*m: Cm etaNs M2, or M2
    double e0 = 0.0;       // M / N, mm
    double ei = 0.0;       // e0 + ea, mm
};

// The directions the end moments of all combinations act in: both, or about one axis only (every
// M2y zero, or every M2x zero, and the other not). A column without any moment is biaxial.
enum class MomentDirections { Biaxial, XOnly, YOnly };

// The demand of one combination: N with Mx = N eix and My = N eiy acting together.
struct CombinationDemand {
    double N = 0.0;           // kN
    double axialRatio = 0.0;  // N / (fc A), the seismic axial compression ratio (6.3.6)
    AxisDemand x;
    AxisDemand y;
    double Mx = 0.0;  // kN*m
    double My = 0.0;  // kN*m
};

// A combination checked against a layout.
struct CombinationCheck {
    CombinationDemand demand;
    double MxR = 0.0;  // ultimate moment at N in the demand's moment direction, kN*m
    double MyR = 0.0;
    double utilisation = 0.0;       // |M| / |MR|; infinite when N is beyond the section
    double axialCapacity = 0.0;     // 0.9 phi (fc A + fy' As'), kN (6.2.15)
    double axialUtilisation = 0.0;  // N / axialCapacity
    double Nux = 0.0;               // uniaxial capacities at eix and eiy alone, kN (6.2.21)
    double Nuy = 0.0;
    double Nu0 = 0.0;  // fc A + fy' As, kN
    double Nu = 0.0;   // 1 / (1/Nux + 1/Nuy - 1/Nu0), kN
    // The seismic adjustment factor of the bending capacity (GB 50010 11.1.6): 0.75 or 0.80 for
    // a seismic combination of a column with a seismic grade, 1 otherwise. The utilisation is
    // then gammaRE |M| / |MR| at gammaRE N (S <= R / gammaRE); the axial limit 6.2.15 keeps N.
    double gammaRE = 1.0;
    CombinationKind kind = CombinationKind::Unspecified;  // as given
    bool carried = false;  // utilisation <= 1 and axialUtilisation <= 1
};

// The shear-span ratio of a frame column, lambda = Hn / (2 h0) per axis (GB 50010 6.3.12,
// GB 50011 6.2.9). h0 = D - a with a = c + ds + 12/2: the smallest bar gives the largest h0, so the
// smallest lambda, the safe side for the limits that fall with lambda.
struct ShearSpan {
    double hn = 0.0;       // clear height, mm
    double a = 0.0;        // bar centre from the face, mm
    double h0x = 0.0;      // h - a, the depth of x bending
    double h0y = 0.0;      // b - a
    double lambdaX = 0.0;  // Hn / (2 h0x)
    double lambdaY = 0.0;  // Hn / (2 h0y)
    double lambda = 0.0;   // the smaller of the two: it governs the limits
};

// The seismic axial-ratio limit N / (fc A) of GB 50011 table 6.3.6 with the notes that lower it.
struct AxialRatioLimit {
    double table = 0.0;                 // the table's value for the grade and the structure
    double concreteReduction = 0.0;     // 0.05 for C65 and C70, 0.10 for C75 and C80 (11.4.16)
    double shortColumnReduction = 0.0;  // 0.05 for a shear-span ratio of 2 or less (note 2)
    double value = 0.0;                 // the table less the reductions; 0 without a grade
};

// The limits the layout must meet (8.5.1, 9.3.1, 8.2.1; GB 50011 6.3.6 - 6.3.8).
struct DetailingLimits {
    double minimumTotalRatio = 0.0;
    double minimumTotalRatioNonSeismic = 0.0;  // 8.5.1
    double minimumTotalRatioSeismic = 0.0;     // 6.3.7-1 with its increments; 0 without a grade
    double minimumOneSideRatio = 0.0;
    double maximumTotalRatio = 0.0;
    double minimumClearSpacing = 0.0;
    double maximumCentreSpacingB = 0.0;  // on the faces of length b
    double maximumCentreSpacingH = 0.0;
    double maximumBarDiameter = 0.0;  // the cover to a bar, c + ds, is at least d (8.2.1)
    // Each face of a grade 一 column with a shear-span ratio of 2 or less at most 1.2 % (6.3.8);
    // 0 where the rule does not apply.
    double maximumOneSideRatio = 0.0;
    AxialRatioLimit axialRatio;  // N / (fc A), 6.3.6; value 0 without a seismic grade
    ShearSpan shearSpan;
    double phi = 1.0;             // stability factor (6.2.15)
    double slendernessL0b = 0.0;  // l0 / b
    // The b of l0/b: the smaller side; for a uniaxial column the side across the moment plane (b
    // for moments Mx only, h for moments My only), as 6.2.17 checks that direction by 6.2.15.
    double slendernessDepth = 0.0;
    MomentDirections directions = MomentDirections::Biaxial;
};

// Why no layout was chosen.
enum class NoLayoutKind {
    None,                // a layout was chosen
    AxialRatioExceeded,  // N / (fc A) of a combination above the seismic limit
    ShortColumn,         // seismic, shear-span ratio below 1.5: the limit needs special study
    NoDetailedLayout,    // no layout meets the detailing rules (the section is too small)
    NotCarried,          // even the heaviest layout the rules allow does not carry a combination
};

struct NoLayoutReason {
    NoLayoutKind kind = NoLayoutKind::None;
    int combination = -1;  // 0-based: the combination concerned
    // axial ratio; or the shear-span ratio; or the combination's utilisation with the heaviest
    // layout
    double value = 0.0;
    double limit = 0.0;  // the seismic limit; or 1.5; or the heaviest ratio tried
    // noDetailedLayout: the highest ratio the bar diameter and spacing rules let any layout reach
    // (value; of one face when oneSide) short of the least ratio (limit); both 0 when not even
    // four corner bars fit.
    bool oneSide = false;
};

// The outcome of the design of one column for all its combinations.
struct Gb2010Design {
    Gb2010Column column;  // as given
    double lcX = 0.0;     // the lengths and cover as used (defaults resolved)
    double lcY = 0.0;
    double cover = 0.0;
    Materials2010 materials;
    DetailingLimits limits;
    bool designed = false;
    NoLayoutReason reason;
    // The chosen layout; without a design, the heaviest layout the rules allow (the one the
    // reason refers to), or nothing when not even the smallest layout fits.
    std::optional<BarLayout> layout;
    // Each combination checked against that layout; without any layout only the demands (with
    // the corner bars of the smallest diameter) are filled.
    std::vector<CombinationCheck> combinations;
    int governing = -1;         // 0-based: the combination with the highest utilisation
    int layoutsConsidered = 0;  // layouts that meet the detailing rules
};

}  // namespace tessarin
