#pragma once

#include <cmath>

namespace tessarin {

// A design as values: what the engine was given, what step 1 found and how step 2 laid the steel
// out. Copies of the engine record's fields under the same names (units as in ColumnCalculator);
// a ColumnDesign never changes behind its holder's back.

// The design case as the engine loaded it, with the material properties derived from the grades.
struct ColumnCase {
    double l0 = 0.0;
    double b = 0.0;
    double h = 0.0;
    double M0x = 0.0;
    double M0y = 0.0;
    double N = 0.0;
    double ax = 0.0;
    double ay = 0.0;
    double concreteGrade = 0.0;  // 15.0 ... 80.0
    double fc = 0.0;
    int steelGrade = 0;  // engine code, see SteelGrade
    double fy = 0.0;
    double Es = 0.0;
    double alpha1 = 0.0;
    double beta1 = 0.0;
    double xiB = 0.0;
};

// Step 1: eccentricities and magnification per direction, the axial split, the equivalent areas
// and how each direction's iteration ended.
struct Step1Result {
    double e0x = 0.0;
    double eax = 0.0;
    double eix = 0.0;
    double zetaX1 = 0.0;
    double zetaX2 = 0.0;
    double etaX = 0.0;
    double e0y = 0.0;
    double eay = 0.0;
    double eiy = 0.0;
    double zetaY1 = 0.0;
    double zetaY2 = 0.0;
    double etaY = 0.0;
    double NxDesign = 0.0;
    double NyDesign = 0.0;
    double Nux = 0.0;
    double Nuy = 0.0;
    double Asex = 0.0;
    double Asey = 0.0;
    int passesX = 0;
    int passesY = 0;
    bool convergedX = false;
    bool convergedY = false;

    bool converged() const { return convergedX && convergedY; }
};

// Step 2: the layout by scheme. scheme is the number as given (see Scheme); for a number other
// than 1 and 2 the areas are left as they were before step 2.
struct Step2Result {
    int scheme = 0;
    double Asc = 0.0;
    double Aswx = 0.0;
    double Aswy = 0.0;
    double Asx = 0.0;
    double Asy = 0.0;
};

// What the calculate command has once step 1 is done and the scheme question is still open.
struct Step1Design {
    ColumnCase column;
    Step1Result step1;
};

// A complete design: both steps.
struct ColumnDesign {
    ColumnCase column;
    Step1Result step1;
    Step2Result step2;

    Step1Design firstStep() const { return {column, step1}; }
    // Whether every area and the demand it implies are finite numbers. A case accepted by the
    // checks can still overflow (a huge l0) or underflow (a tiny N) into inf or nan; such a
    // design is reported but not offered to anything that draws or checks it.
    bool finite() const {
        const double values[] = {step1.Asex,
                                 step1.Asey,
                                 step2.Asc,
                                 step2.Aswx,
                                 step2.Aswy,
                                 step2.Asx,
                                 step2.Asy,
                                 column.N * (step1.etaX * step1.eix),
                                 column.N * (step1.etaY * step1.eiy)};
        for (const double value : values) {
            if (!std::isfinite(value)) return false;
        }
        return true;
    }
};

}  // namespace tessarin
