#pragma once

#include <vector>

namespace tessarin {

// A concrete grade as the design record holds it: fcu,k (the number in "C30") and the design
// strength fc (N/mm^2).
struct ConcreteGrade {
    double number = 0.0;
    double fc = 0.0;
};

// Stress-strain law of the concrete in compression: a parabola up to eps0, then constant fc up to
// the ultimate strain epsCu; no tension. Strains positive in compression.
struct ConcreteLaw {
    double fc = 0.0;        // design compressive strength, N/mm^2
    double n = 2.0;         // exponent of the rising branch
    double eps0 = 0.002;    // strain at which fc is reached
    double epsCu = 0.0033;  // ultimate compressive strain

    // The three figures of the law as the formulas of GB 50010 6.2.1 give them for fcu,k, before
    // their limits: n = 2 - (fcu,k - 50)/60, eps0 = 0.002 + 0.5 (fcu,k - 50) 1e-5,
    // epsCu = 0.0033 - (fcu,k - 50) 1e-5. The calculation books print them with the limits.
    struct Formulas {
        double n = 0.0;
        double eps0 = 0.0;
        double epsCu = 0.0;
    };
    static Formulas formulas(double gradeNumber);

    // The law of a grade, the only place the figures are made: the formulas above with their
    // limits, n at most 2, eps0 at least 0.002, epsCu at most 0.0033. Up to C50 the classic
    // 2 / 0.002 / 0.0033. The 2002 section check and the 2010 design both take it from here.
    static ConcreteLaw forGrade(const ConcreteGrade& grade);

    [[nodiscard]] double stress(double strain) const;
};

// Elastic-perfectly plastic steel, the same in tension and compression.
struct SteelLaw {
    double fy = 0.0;  // design yield strength, N/mm^2
    double Es = 0.0;  // elastic modulus, N/mm^2
    // Ultimate tensile strain of the bars (positive); 0 puts no limit on it. The 2002 check has
    // none; the current code limits it to 0.01 (6.2.1), which then bounds the ultimate plane.
    double ultimateTensileStrain = 0.0;

    [[nodiscard]] double stress(double strain) const;
};

// The rectangle: b across, h deep (mm). The centroid is the origin; u runs along h, v along b.
struct SectionSize {
    double b = 0.0;
    double h = 0.0;
};

// One longitudinal bar: position (mm) and area (mm^2).
struct SectionBar {
    double u = 0.0;
    double v = 0.0;
    double area = 0.0;
};

// Stress resultants about the centroid, compression positive: N in N, Mx = integral of sigma * u
// (bending in the direction of h), My = integral of sigma * v, both in N*mm.
struct SectionForces {
    double N = 0.0;
    double Mx = 0.0;
    double My = 0.0;
};

// An ultimate strain plane: the most compressed corner at epsCu. With an ultimate tensile strain
// of the bars, the plane whose corner at epsCu would stretch the extreme tension bar beyond it
// turns about the neutral axis instead until that bar is at the limit (the corner then below
// epsCu); a zone of zero or negative depth (the neutral axis at or beyond the corner, the whole
// section in tension) then exists too, down to the uniform limit strain at a depth of -infinity.
struct StrainPlane {
    // Direction of the strain gradient (towards compression) in the u-v plane, radians: 0 puts the
    // compressed edge at u = +h/2, pi/2 at v = +b/2. The neutral axis is perpendicular to it.
    double axisAngle = 0.0;
    // Depth of the zone of compressive strain, from the most compressed corner along the gradient
    // (mm); infinite for the uniform strain epsCu of the squash load. Zero or negative only with
    // an ultimate tensile strain (see above).
    double compressionDepth = 0.0;
};

// An ultimate strain plane and what the section carries in it.
struct UltimateState {
    StrainPlane plane;
    SectionForces forces;
};

// How the concrete stresses are summed over the rectangle.
struct ConcreteIntegration {
    // true: exact integration over strips parallel to the neutral axis (the stress depends only on
    // the distance to the axis and the strip width is piecewise linear, so each piece integrates
    // in closed form). false: midpoint fibres on a cellsU x cellsV grid, kept for cross-checks.
    bool exact = true;
    int cellsU = 60;  // fibres along h
    int cellsV = 60;  // fibres along b
};

// What a rectangular reinforced-concrete section carries in an ultimate strain plane: plane
// sections, the concrete law above without tension, elastic-plastic bars that displace their own
// area of concrete (each bar carries sigma_s - sigma_c over its area).
class SectionResistance {
  public:
    SectionResistance(SectionSize size, ConcreteLaw concrete, SteelLaw steel,
                      std::vector<SectionBar> bars, ConcreteIntegration integration = {});

    [[nodiscard]] SectionForces forcesAt(const StrainPlane& plane) const;

    // The largest axial force: the whole section at the uniform strain epsCu (N).
    [[nodiscard]] double squashLoad() const;
    // The largest tension, as a negative force (N): every bar yielded, or at the ultimate tensile
    // strain when that comes first.
    [[nodiscard]] double tensionLimit() const;
    // True when the bars' tensile strain is limited (and there is a bar to limit).
    [[nodiscard]] bool tensionLimited() const;
    // The strain at the most compressed corner and at the extreme tension bar of a plane.
    struct PlaneStrains {
        double corner = 0.0;
        double extremeBar = 0.0;  // the corner's strain when there are no bars
    };
    [[nodiscard]] PlaneStrains strainsAt(const StrainPlane& plane) const;

    [[nodiscard]] const SectionSize& size() const { return size_; }
    [[nodiscard]] const ConcreteLaw& concrete() const { return concrete_; }
    [[nodiscard]] const SteelLaw& steel() const { return steel_; }
    [[nodiscard]] const std::vector<SectionBar>& bars() const { return bars_; }

  private:
    // A strain plane in working form: gradient cosines, the distance from the centroid to the most
    // compressed corner along the gradient, the strain there and the strain gradient (0 for
    // uniform strain).
    struct PlaneFrame {
        double cosA = 1.0;
        double sinA = 0.0;
        double extreme = 0.0;
        double top = 0.0;
        double curvature = 0.0;

        [[nodiscard]] double strainAt(double s) const { return top - curvature * (extreme - s); }
    };
    // Where the line s = const crosses the rectangle, as an interval of r (along the neutral axis).
    struct Chord {
        double lo = 0.0;
        double hi = 0.0;
    };
    // Concrete resultants in the coordinates turned to the gradient: s along it, r along the axis.
    struct StripResultants {
        double force = 0.0;
        double momentS = 0.0;
        double momentR = 0.0;
    };

    [[nodiscard]] PlaneFrame frameOf(const StrainPlane& plane) const;
    // The lowest bar along the gradient (the least s of a bar with steel), or +infinity.
    [[nodiscard]] double lowestBar(double cosA, double sinA) const;
    [[nodiscard]] Chord chordAt(double s, const PlaneFrame& frame) const;
    [[nodiscard]] StripResultants concreteExact(const PlaneFrame& frame) const;
    [[nodiscard]] SectionForces concreteFibres(const PlaneFrame& frame) const;

    SectionSize size_;
    ConcreteLaw concrete_;
    SteelLaw steel_;
    std::vector<SectionBar> bars_;
    ConcreteIntegration integration_;
    bool tensionLimited_ = false;  // what tensionLimited() tells, found once for the bars
};

}  // namespace tessarin
