#pragma once

#include <span>
#include <vector>

// Stress-strain law of the concrete in compression: a parabola up to eps0, then constant fc up to
// the ultimate strain epsCu; no tension. Strains positive in compression.
struct ConcreteLaw {
    double fc = 0.0;     // design compressive strength, N/mm^2
    double n = 2.0;      // exponent of the rising branch
    double eps0 = 0.002;  // strain at which fc is reached
    double epsCu = 0.0033;  // ultimate compressive strain

    // The law of a grade fcu,k (the number in "C30"): n = 2 - (fcu,k - 50)/60 (at most 2),
    // eps0 = 0.002 + 0.5 (fcu,k - 50) 1e-5 (at least 0.002), epsCu = 0.0033 - (fcu,k - 50) 1e-5
    // (at most 0.0033). Up to C50 the classic 2 / 0.002 / 0.0033.
    static ConcreteLaw forGrade(double gradeNumber, double fc);

    [[nodiscard]] double stress(double strain) const;
};

// Elastic-perfectly plastic steel, the same in tension and compression, without a strain limit.
struct SteelLaw {
    double fy = 0.0;  // design yield strength, N/mm^2
    double Es = 0.0;  // elastic modulus, N/mm^2

    [[nodiscard]] double stress(double strain) const;
};

// One longitudinal bar: position in the section (mm, centroid at the origin, u along h, v along b)
// and area (mm^2).
struct SectionBar {
    double u = 0.0;
    double v = 0.0;
    double area = 0.0;
};

// Stress resultants about the section centroid, compression positive: N in N, Mx = integral of
// sigma * u (bending in the direction of h), My = integral of sigma * v, both in N*mm.
struct SectionForces {
    double N = 0.0;
    double Mx = 0.0;
    double My = 0.0;
};

// An ultimate strain plane and what the section carries in it.
struct UltimateState {
    // Direction of the strain gradient (towards compression) in the u-v plane, radians: 0 puts
    // the compressed edge at u = +h/2, pi/2 at v = +b/2. The neutral axis is perpendicular to it.
    double axisAngle = 0.0;
    // Depth of the zone of compressive strain, measured from the most compressed corner along the
    // gradient (mm); infinite for the uniform strain epsCu (the squash load).
    double compressionDepth = 0.0;
    SectionForces forces;
};

// How the concrete stresses are summed over the rectangle.
struct ConcreteIntegration {
    // true: exact integration over strips parallel to the neutral axis (the stress depends only on
    // the distance to the axis, the strip width is piecewise linear, so each piece integrates in
    // closed form). false: midpoint fibres on a cellsU x cellsV grid, kept for cross-checks.
    bool exact = true;
    int cellsU = 60;  // fibres across h
    int cellsV = 60;  // fibres across b
};

// Strain-compatibility resistance of a rectangular reinforced-concrete section b x h under axial
// force and biaxial bending: plane sections, the most compressed concrete corner at epsCu, the
// concrete law above without tension, elastic-plastic bars that displace their own area of
// concrete (each bar carries sigma_s - sigma_c over its area).
class SectionResistance {
public:
    SectionResistance(double width, double height, ConcreteLaw concrete, SteelLaw steel,
                      std::vector<SectionBar> bars, ConcreteIntegration integration = {});

    // Resultants of the ultimate strain plane with gradient direction axisAngle (radians) and
    // compression depth (mm, infinity for uniform epsCu).
    [[nodiscard]] SectionForces forcesAt(double axisAngle, double compressionDepth) const;

    // The largest axial force: the whole section at the uniform strain epsCu (N).
    [[nodiscard]] double squashLoad() const;
    // The largest tension the bars can take, as a negative force (N).
    [[nodiscard]] double tensionLimit() const;

    // The ultimate state with the given axial gradient direction whose axial force is N (N).
    // Returns false when N lies outside (tensionLimit, squashLoad].
    bool solveDepth(double axisAngle, double axialForce, UltimateState& state) const;

    // Ultimate moments at axial force N (N), one per moment direction (radians, atan2(My, Mx)).
    // The strain planes are swept once around the section; each direction is then found between
    // two neighbouring planes. Empty when N lies outside (tensionLimit, squashLoad).
    [[nodiscard]] std::vector<UltimateState> ultimateMoments(
        double axialForce, std::span<const double> momentDirections) const;

    [[nodiscard]] double width() const { return width_; }
    [[nodiscard]] double height() const { return height_; }
    [[nodiscard]] const ConcreteLaw& concrete() const { return concrete_; }
    [[nodiscard]] const SteelLaw& steel() const { return steel_; }
    [[nodiscard]] const std::vector<SectionBar>& bars() const { return bars_; }

private:
    // Concrete resultants (N, integral of sigma*s, integral of sigma*r) in the coordinates rotated
    // to the gradient: s along it, r along the neutral axis.
    struct StripResultants {
        double force = 0.0;
        double momentS = 0.0;
        double momentR = 0.0;
    };

    [[nodiscard]] StripResultants concreteExact(double cosA, double sinA, double extreme,
                                                double curvature) const;
    [[nodiscard]] SectionForces concreteFibres(double cosA, double sinA, double extreme,
                                               double curvature) const;
    // Moment direction of the ultimate state at N for a gradient direction, and the state.
    [[nodiscard]] double momentDirectionAt(double axisAngle, double axialForce,
                                           UltimateState& state) const;

    double width_;
    double height_;
    ConcreteLaw concrete_;
    SteelLaw steel_;
    std::vector<SectionBar> bars_;
    ConcreteIntegration integration_;
};
