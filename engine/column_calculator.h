#pragma once

#include "engine/column_design.h"
#include "engine/design_codes.h"

namespace tessarin {

// One pass of the equivalent-steel iteration: the estimate the pass starts from, the section's
// axial capacity Nu0 with it, the design capacity Nu (N), the compression depth x, whether x lies
// beyond the balanced depth (the small-eccentricity formula) and the new estimate.
struct EquivalentSteelPass {
    double previous = 0.0;
    double Nu0 = 0.0;
    double Nu = 0.0;
    double x = 0.0;
    bool small = false;
    double next = 0.0;
};

// Watches the equivalent-steel iteration of the engine pass by pass (the calculation book lists
// the passes the design went through).
class EquivalentSteelObserver {
  public:
    virtual void pass(Direction direction, const EquivalentSteelPass& pass) = 0;

  protected:
    EquivalentSteelObserver() = default;
    EquivalentSteelObserver(const EquivalentSteelObserver&) = default;
    EquivalentSteelObserver& operator=(const EquivalentSteelObserver&) = default;
    ~EquivalentSteelObserver() = default;
};

// The design engine: one design case of a rectangular reinforced-concrete column under biaxial
// eccentric compression, the material properties derived from its grades, and every result of
// the two design steps. Plain record with public fields, in this declaration order; the engine
// validates nothing and never fails (an odd input gives an odd number, not an error).
//
// Units: lengths mm, forces kN (Nux and Nuy alone in N), moments kN*m, stresses N/mm^2, areas mm^2.
// Direction code 1 is x (depth h, moment M0x, distance ax), 2 is y (depth b, M0y, ay).
class ColumnCalculator {
  public:
    // Bound on the passes of each equivalent-steel iteration. Converging designs need a dozen
    // passes or fewer; a design whose compression zone swings across the balanced depth never
    // settles and is cut off here.
    static constexpr int kMaxPasses = 1000;

    ColumnCalculator();

    double M0x = 0.0;
    double M0y = 0.0;
    double N = 0.0;
    double b = 0.0;
    double h = 0.0;
    double l0 = 0.0;
    double fc = 0.0;
    double concreteGrade = 0.0;
    int steelGrade = 0;
    double fy = 0.0;
    double Es = 0.0;
    double ax = 0.0;
    double ay = 0.0;
    double Asx = 0.0;
    double Asy = 0.0;
    double Aswx = 0.0;
    double Aswy = 0.0;
    double Asex = 0.0;
    double Asey = 0.0;
    double Asc = 0.0;
    double zetaX1 = 0.0;
    double zetaX2 = 0.0;
    double zetaY1 = 0.0;
    double zetaY2 = 0.0;
    double e0x = 0.0;
    double e0y = 0.0;
    double eax = 0.0;
    double eay = 0.0;
    double eix = 0.0;
    double eiy = 0.0;
    double etaX = 0.0;
    double etaY = 0.0;
    double NxDesign = 0.0;
    double NyDesign = 0.0;
    double Nux = 0.0;
    double Nuy = 0.0;
    int scheme = 0;
    double alpha1 = 0.0;
    double beta1 = 0.0;
    double xiB = 0.0;
    double tolerance = 0.0;
    // Outcome of the last equivalent-steel iteration of each direction.
    int passesX = 0;
    int passesY = 0;
    bool convergedX = false;
    bool convergedY = false;

    // Loading a design case: steel grade first, because the concrete grade derives xiB from fy/Es.
    void setLoads(double m0x, double m0y, double n);
    void setConcreteGrade(int grade);
    void setSteelGrade(int code);
    void setScheme(int number);
    void computeAlpha1();
    void computeBeta1();
    void setGeometry(double length, double width, double height);
    void computeMagnification(Direction direction);
    void computeEccentricity(Direction direction);
    void computeXiB();
    void setBarDistances(double distanceX, double distanceY);

    // Step 1: eccentricities, magnification, axial split and the equivalent steel areas.
    void computeAxialSplit();
    void solveEquivalentSteel();
    // One direction's equivalent-steel iteration, each pass shown to the observer when there is
    // one; sets the direction's area, capacity, passes and convergence.
    void iterateDirection(Direction direction, EquivalentSteelObserver* observer = nullptr);
    double largeEccentricitySteel(Direction direction, double x);
    double smallEccentricitySteel(Direction direction);
    void computeStep1();

    // Step 2: the bar layout by scheme.
    void distributeReinforcement(int schemeNumber, double diameter, double ratioX, double ratioY);
    // setScheme, then distributeReinforcement.
    void computeStep2(int schemeNumber, double diameter, double ratioX, double ratioY);

    // The record as values: the case and step 1 (after computeStep1), and the whole design
    // (after computeStep2).
    Step1Design step1Design() const;
    ColumnDesign design() const;
    // Puts a step-1 design back into the record, so that step 2 can follow it.
    void restore(const Step1Design& design);
    // Puts a whole design back, the layout included.
    void restore(const ColumnDesign& design);
};

}  // namespace tessarin
