#pragma once

#include <vector>

#include "engine/column_calculator.h"
#include "engine/section/section_resistance.h"

namespace tessarin {

// Which bars a layout bar belongs to: a corner bar, one of the three web bars on a face
// u = +-(h/2 - ax) (the faces that carry Asx), or one on a face v = +-(b/2 - ay) (Asy).
enum class BarGroup { Corner, WebX, WebY };

// One bar of the checked layout: position (mm, centroid at the origin, u along h, v along b) and
// area (mm^2, after clamping).
struct CheckedBar {
    double u = 0.0;
    double v = 0.0;
    double area = 0.0;
    BarGroup group = BarGroup::Corner;
};

// The ultimate moment at the design axial force in one moment direction.
struct ContourPoint {
    double direction = 0.0;  // degrees, atan2(My, Mx): 0 is pure Mx, 90 pure My
    double MxR = 0.0;        // kN*m
    double MyR = 0.0;        // kN*m
};

// Everything the strain-compatibility check of a designed layout yields. Forces in kN, moments in
// kN*m, lengths in mm, areas in mm^2; ratios as fractions (0.01 is 1 %).
struct SectionCheckResult {
    // Section and materials as checked.
    double b = 0.0;
    double h = 0.0;
    ConcreteLaw concrete;
    SteelLaw steel;
    ConcreteIntegration integration;
    int scheme = 0;

    // Bar layout: 4 corner bars, then 6 webX bars, then 6 webY bars (16 in all, some possibly 0).
    std::vector<CheckedBar> bars;
    double cornerBarArea = 0.0;  // one corner bar
    double webAreaX = 0.0;       // web steel of one face u = +-(h/2 - ax), three equal bars
    double webAreaY = 0.0;       // web steel of one face v = +-(b/2 - ay), three equal bars
    double totalSteelArea = 0.0;
    bool negativeAreaClamped = false;  // a negative design area was counted as 0

    // Axial capacity.
    double squashLoad = 0.0;  // N0: whole section at the ultimate strain
    double axialRatio = 0.0;  // N / N0

    // Demand: N with the magnified eccentricities of the design, Mx = N etaX eix, My = N etaY eiy.
    double N = 0.0;
    double Mx = 0.0;
    double My = 0.0;
    double demandDirection = 0.0;  // degrees, atan2(My, Mx)

    // Capacity at the same N in the same moment direction, and its strain plane; all 0 when the
    // axial capacity is exceeded.
    double MxR = 0.0;
    double MyR = 0.0;
    double neutralAxisAngle = 0.0;  // degrees, direction of the strain gradient (see StrainPlane)
    double compressionDepth = 0.0;  // mm from the most compressed corner
    double utilisation =
        0.0;  // |M| / |MR| (0 without moment); infinite if the axial capacity is exceeded
    // N at or above N0 (or a tension beyond what the bars yield): no moment capacity remains.
    bool axialCapacityExceeded = false;

    // Ultimate Mx-My contour at the design N, every 5 degrees of moment direction from 0;
    // empty when the axial capacity is exceeded or the contour was skipped.
    std::vector<ContourPoint> contour;

    // Steel ratios on the whole section b h, and the detailing checks.
    double totalSteelRatio = 0.0;
    double oneSideRatioX = 0.0;  // one face u = +-(h/2 - ax): 2 corner bars + its web bars
    double oneSideRatioY = 0.0;  // one face v = +-(b/2 - ay)
    // The limit used for the total ratio: 0.6 %, 0.5 % with HRB400 (steel codes 3 and 4), and
    // 0.1 % more from C60 up.
    double minimumTotalRatio = 0.0;
    double minimumOneSideRatio = 0.0;  // 0.2 %
    double maximumTotalRatio = 0.0;    // 5 %
    bool totalRatioBelowMinimum = false;
    bool oneSideRatioBelowMinimum = false;  // either face below the minimum
    bool totalRatioAboveMaximum = false;    // above the maximum
};

// Strain-compatibility verification of the layout that step 2 designed: rebuilds the bars from
// the engine record, then finds the section's ultimate moment at the design axial force in the
// direction of the design moment (see SectionResistance for the model).
//
// Layout: four corner bars at (+-(h/2 - ax), +-(b/2 - ay)); the web steel of each face as three
// equal bars at the quarter points between its corner bars. Scheme 1 uses Asc, Aswx and Aswy as
// designed. Scheme 2 designs face totals only, so the corner bar is the largest that leaves both
// faces' web steel non-negative, c = min((Asx - Aswx)/2, (Asy - Aswy)/2), and the webs take the
// rest of each face total. Any other scheme number is read as scheme 1. A negative (or undefined)
// area counts as 0 and the result says so.
class SectionCheck {
  public:
    static constexpr int kContourPoints = 72;
    static constexpr double kContourStepDegrees = 5.0;

    // Checks a complete design; keeps its own copy.
    explicit SectionCheck(const ColumnDesign& design, ConcreteIntegration integration = {});

    // The contour is worth its time only where it is drawn; the capacity in the demand's
    // direction is found directly either way.
    enum class Contour { Computed, Skipped };
    [[nodiscard]] SectionCheckResult run(Contour contour = Contour::Computed) const;

  private:
    ColumnCalculator record_;
    ConcreteIntegration integration_;
};

}  // namespace tessarin
