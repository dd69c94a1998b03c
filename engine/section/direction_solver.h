#pragma once

#include <limits>

#include "engine/section/bracketed_root.h"
#include "engine/section/section_resistance.h"

namespace tessarin {

// The ultimate states of a section at one axial force, found directly: for a direction of the
// neutral axis the compression depth whose axial force is N (a bracketed search on the depth),
// and for a moment direction the neutral-axis angle whose moment points that way (a bracketed
// search on the angle, each step a depth search). Both searches start from a guess, so a caller
// that walks through neighbouring directions pays a few steps for each.
class DirectionSolver {
  public:
    // How closely the searches close in: fine (the force to 1e-10, the moment direction to
    // 1e-11 rad), or coarse (1e-5 and 1e-5 rad), enough to tell a layout that is clearly short
    // of a demand.
    enum class Precision { Fine, Coarse };

    // Axial force in N, compression positive. Refers to the section, which must outlive it.
    DirectionSolver(const SectionResistance& section, double axialForce,
                    Precision precision = Precision::Fine);

    // True when N lies strictly between the bars' tension limit and the squash load, so that the
    // section can carry a moment with it.
    [[nodiscard]] bool reachable() const;

    // An ultimate state with what the next search may guess from: the depth in its mapped form
    // x (see depthOf), and the slopes dN/dx and d(moment direction)/d(axis angle) where the
    // search had two points to take them from (else NaN).
    struct Found {
        UltimateState state;
        double x = std::numeric_limits<double>::quiet_NaN();
        double depthSlope = std::numeric_limits<double>::quiet_NaN();
        double angleSlope = std::numeric_limits<double>::quiet_NaN();
    };

    // The state with gradient direction axisAngle (radians) that carries N. The axial force rises
    // monotonically with the compression depth (every fibre's strain rises, and both laws rise
    // with strain), so the depth is found within a bracket: from the guess x when it lies inside
    // the range (a NaN guesses nothing), with a secant step when the slope dN/dx is known, else
    // over the whole range. At or above the squash load this is the uniform strain; at or below
    // the tension limit the shallowest zone tried.
    [[nodiscard]] Found atAxisAngle(double axisAngle, double guess,
                                    double slope = std::numeric_limits<double>::quiet_NaN()) const;

    // The state whose moment points in the direction (radians, atan2(My, Mx)), from a guess of
    // the neutral-axis angle and what a neighbouring state found (its depth and slopes; nothing
    // by default). Should no angle be bracketed within a half turn either way, the closest plane
    // seen stands in.
    [[nodiscard]] Found inMomentDirection(double direction, double angleGuess,
                                          const Found& near) const;
    [[nodiscard]] Found inMomentDirection(double direction, double angleGuess) const;

    // The depth (mm) of a mapped depth x for a section extent along the gradient: x = depth /
    // (depth + extent) over (0, 1); with a tensile strain limit x = depth / (extent - depth) over
    // (-1, 0) as well, down to the uniform limit strain at -1.
    [[nodiscard]] static double depthOf(double x, double extent);
    // The section's extent along the gradient direction (mm).
    [[nodiscard]] double extentAlong(double axisAngle) const;

  private:
    const SectionResistance& section_;
    double axialForce_;
    double squash_;
    double tension_;
    double forceTolerance_;
    Tolerance angleTolerance_;
};

// The neutral-axis angle (the strain gradient's direction, radians) of an uncracked rectangle
// under moments in the ratio (Mx, My): the gradient (Mx / Iu, My / Iv), Iu / Iv = h^2 / b^2. The
// starting guess of the searches; 0 without moment.
[[nodiscard]] double elasticAxisAngle(const SectionSize& size, double Mx, double My);

}  // namespace tessarin
