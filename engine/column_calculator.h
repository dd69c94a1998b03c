#pragma once

#include "engine/file_result.h"

namespace tessarin {

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
    void computeMagnification(int direction);
    void computeEccentricity(int direction);
    void computeXiB();
    void setBarDistances(double distanceX, double distanceY);

    // Step 1: eccentricities, magnification, axial split and the equivalent steel areas.
    void computeAxialSplit();
    void solveEquivalentSteel();
    double largeEccentricitySteel(int direction, double x);
    double smallEccentricitySteel(int direction);
    // Step 1 without the report: what runStep1 computes before it writes.
    void computeStep1();
    // Step 1 as the calculate command runs it: computeStep1, then writeStep1Report.
    [[nodiscard]] FileResult runStep1();

    // Step 2: the bar layout by scheme.
    void distributeReinforcement(int schemeNumber, double diameter, double ratioX, double ratioY);
    // Step 2 without the report: setScheme, then distributeReinforcement.
    void computeStep2(int schemeNumber, double diameter, double ratioX, double ratioY);
    // Step 2 as the calculate command runs it: computeStep2, then writeStep2Report.
    [[nodiscard]] FileResult runStep2(int schemeNumber, double diameter, double ratioX,
                                      double ratioY);

    // The report file "Result.txt" in the current directory (defined with the report writers):
    // step 1 creates it afresh, step 2 appends its section.
    [[nodiscard]] FileResult writeStep1Report() const;
    [[nodiscard]] FileResult writeStep2Report() const;

  private:
    // One direction's equivalent-steel iteration; returns the number of passes and whether the
    // last two estimates came within the tolerance.
    void iterateDirection(int direction);
};

}  // namespace tessarin
