#include "engine/column_calculator.h"

#include <cmath>

namespace tessarin {

namespace {

// The stress-block slopes are the doubles a few units in the last place above 0.002 and 0.0012;
// the worked examples depend on these exact values.
constexpr double kAlpha1Slope = 0.0020000000000000018;
constexpr double kBeta1Slope = 0.0012000000000000012;

// ea is the larger of 20 mm and depth/30, with depth/30 taken as a product by the double nearest
// 1/30 (for some depths it differs from the quotient in the last bit).
constexpr double kOneThirtieth = 0.03333333333333333;

// The steel code that older callers used for HRB400; it still loads the HRB400 values.
constexpr int kOldHrb400Code = 4;

// Area of a round bar per d^2: the eight-digit decimal, not pi/4.
constexpr double kBarAreaFactor = 0.78539815;

}  // namespace

ColumnCalculator::ColumnCalculator() : tolerance(10.0) {}

void ColumnCalculator::setLoads(double m0x, double m0y, double n) {
    M0x = m0x;
    M0y = m0y;
    N = n;
}

void ColumnCalculator::setConcreteGrade(int grade) {
    // fc for C15 ... C80; an unlisted grade keeps the previous fc and grade.
    static constexpr double kFc[] = {7.2,  9.6,  11.9, 14.3, 16.7, 19.1, 21.1,
                                     23.1, 25.3, 27.5, 29.7, 31.8, 33.8, 35.9};
    if (grade >= 15 && grade <= 80 && grade % 5 == 0) {
        fc = kFc[(grade - 15) / 5];
        concreteGrade = static_cast<double>(grade);
    }
    computeAlpha1();
    computeBeta1();
    computeXiB();
}

void ColumnCalculator::setSteelGrade(int code) {
    steelGrade = code;
    switch (code) {
        case codeOf(SteelGrade::HPB235):
            fy = 210.0;
            Es = 210000.0;
            break;
        case codeOf(SteelGrade::HRB335):
            fy = 300.0;
            Es = 200000.0;
            break;
        case codeOf(SteelGrade::HRB400):
        case kOldHrb400Code:
            fy = 360.0;
            Es = 200000.0;
            break;
        default:
            break;  // an unknown code keeps the previous fy and Es
    }
}

void ColumnCalculator::setScheme(int number) {
    scheme = number;
}

void ColumnCalculator::computeAlpha1() {
    const double g = concreteGrade;
    if (!(g > 50.0)) {
        alpha1 = 1.0;
    } else if (!(g > 80.0)) {
        alpha1 = 1.0 - (g - 50.0) * kAlpha1Slope;
    }
}

void ColumnCalculator::computeBeta1() {
    const double g = concreteGrade;
    if (!(g > 50.0)) {
        beta1 = 0.8;
    } else {
        beta1 = 0.8 - (g - 50.0) * kBeta1Slope;
    }
}

void ColumnCalculator::setGeometry(double length, double width, double height) {
    l0 = length;
    b = width;
    h = height;
}

void ColumnCalculator::computeEccentricity(Direction direction) {
    if (direction != Direction::X && direction != Direction::Y) return;
    const bool isX = direction == Direction::X;
    const double moment = isX ? M0x : M0y;
    const double depth = isX ? h : b;
    double& e0 = isX ? e0x : e0y;
    double& ea = isX ? eax : eay;
    double& ei = isX ? eix : eiy;

    ea = 20.0;
    e0 = (moment * 1000.0) / N;
    const double t = depth * kOneThirtieth;
    if (t > 20.0) ea = t;
    ei = e0 + ea;
}

void ColumnCalculator::computeMagnification(Direction direction) {
    if (direction != Direction::X && direction != Direction::Y) return;
    const bool isX = direction == Direction::X;
    const double depth = isX ? h : b;
    const double a = isX ? ax : ay;
    const double ei = isX ? eix : eiy;
    double& zeta1 = isX ? zetaX1 : zetaY1;
    double& zeta2 = isX ? zetaX2 : zetaY2;
    double& eta = isX ? etaX : etaY;

    const double h0 = depth - a;
    // N enters in kN as typed: zeta1 is capped at 1 for every practical case.
    zeta1 = (isX ? ((fc * b) * h) * 0.5 : ((fc * h) * b) * 0.5) / N;
    if (zeta1 > 1.0) zeta1 = 1.0;
    // zeta2 is 1 above 1 and for every slenderness below 15; there is no lower limit.
    zeta2 = 1.15 - ((l0 * 0.01) / depth);
    if (zeta2 > 1.0 || l0 / depth < 15.0) zeta2 = 1.0;
    const double r = l0 / depth;
    eta = (((r * zeta2) * r) * zeta1) / ((ei * 1400.0) / h0) + 1.0;
}

void ColumnCalculator::computeXiB() {
    double ecu = 0.0033 - (concreteGrade - 50.0) * 0.00001;
    if (ecu > 0.0033) ecu = 0.0033;
    xiB = beta1 / ((fy / (Es * ecu)) + 1.0);
}

void ColumnCalculator::setBarDistances(double distanceX, double distanceY) {
    ax = distanceX;
    ay = distanceY;
}

void ColumnCalculator::computeAxialSplit() {
    const double rx = etaX * eix / (h - ax);
    const double ry = etaY * eiy / (b - ay);
    const double beta = (2.0 * rx / (rx + ry) + 1.0) * 0.25;
    NxDesign = N / beta;
    NyDesign = N / (1.0 - beta);
}

double ColumnCalculator::largeEccentricitySteel(Direction direction, double x) {
    const bool isX = direction == Direction::X;
    const double depth = isX ? h : b;
    const double a = isX ? ax : ay;
    const double etaEi = isX ? etaX * eix : etaY * eiy;
    const double nu = isX ? Nux : Nuy;
    const double h0 = depth - a;

    // The compression zone is taken at least twice the bar distance deep.
    const double xUsed = x >= 2.0 * a ? x : 2.0 * a;
    const double as = nu * (etaEi - 0.5 * depth + 0.5 * xUsed) / (fy * (h0 - a));
    (isX ? Asex : Asey) = as;
    return as;
}

double ColumnCalculator::smallEccentricitySteel(Direction direction) {
    const bool isX = direction == Direction::X;
    const double depth = isX ? h : b;
    const double width = isX ? b : h;
    const double a = isX ? ax : ay;
    const double etaEi = isX ? etaX * eix : etaY * eiy;
    const double nu = isX ? Nux : Nuy;

    const double h0 = depth - a;
    const double ne = nu * (etaEi + 0.5 * depth - a);
    const double p = alpha1 * fc * width * h0;
    // 0.8 here is a fixed number, not beta1; the concrete term below carries fc without alpha1.
    const double xi = xiB + (nu - xiB * p) / (p + (ne - 0.43 * p * h0) / ((0.8 - xiB) * (h0 - a)));
    const double as = (ne - fc * width * h0 * h0 * xi * (1.0 - 0.5 * xi)) / (fy * (h0 - a));
    (isX ? Asex : Asey) = as;
    return as;
}

namespace {

// One direction's equivalent-steel iteration on the record, each pass handed to onPass. The one
// loop of the engine: run with a no-op for the design (the compiler then drops the pass record,
// so the design pays nothing for being watched) and with the observer for the calculation book.
template <typename OnPass>
void runEquivalentSteel(ColumnCalculator& c, Direction direction, OnPass onPass) {
    const bool isX = direction == Direction::X;
    const double depth = isX ? c.h : c.b;
    const double width = isX ? c.b : c.h;
    const double a = isX ? c.ax : c.ay;
    const double nd = isX ? c.NxDesign : c.NyDesign;
    double& area = isX ? c.Asex : c.Asey;
    double& nu = isX ? c.Nux : c.Nuy;

    double prev = (depth - a) * c.fc * width * 0.2 / c.fy;
    double next = prev;
    int passes = 0;
    bool settled = false;
    while (true) {
        ++passes;
        area = prev;
        const double nu0 = c.alpha1 * c.fc * c.h * c.b + 2.0 * c.fy * prev;
        nu = 1.0 / (0.5 / nu0 + 1.0 / (nd * 1000.0));
        const double x = nu / (c.alpha1 * c.fc * width);
        const bool small = x > (depth - a) * c.xiB;
        if (small) {
            next = c.smallEccentricitySteel(direction);
        } else {
            next = c.largeEccentricitySteel(direction, x);
        }
        onPass(EquivalentSteelPass{prev, nu0, nu, x, small, next});
        // A difference that is not a number ends the iteration too, without settling.
        const double difference = std::fabs(next - prev);
        if (difference > c.tolerance) {
            if (passes >= ColumnCalculator::kMaxPasses) break;
            prev = next;
            continue;
        }
        settled = difference <= c.tolerance;
        break;
    }
    area = (next + prev) * 0.5;
    (isX ? c.passesX : c.passesY) = passes;
    (isX ? c.convergedX : c.convergedY) = settled;
}

}  // namespace

void ColumnCalculator::iterateDirection(Direction direction, EquivalentSteelObserver* observer) {
    if (observer == nullptr) {
        runEquivalentSteel(*this, direction, [](const EquivalentSteelPass& /*pass*/) {});
        return;
    }
    runEquivalentSteel(*this, direction, [observer, direction](const EquivalentSteelPass& pass) {
        observer->pass(direction, pass);
    });
}

void ColumnCalculator::solveEquivalentSteel() {
    iterateDirection(Direction::X);
    iterateDirection(Direction::Y);
}

void ColumnCalculator::computeStep1() {
    computeEccentricity(Direction::X);
    computeMagnification(Direction::X);
    computeEccentricity(Direction::Y);
    computeMagnification(Direction::Y);
    computeAxialSplit();
    solveEquivalentSteel();
}

namespace {

// Share of the other faces' web steel that counts towards a direction's equivalent area; it falls
// from 0.5 to 0.1 as the relative eccentricity rises to 0.5, then climbs towards 0.36.
double webFactor(double etaEi, double h0) {
    const double p = etaEi;
    const double q = h0;
    const double r = p / q;
    if (r > 0.5) return 0.36 - (q * 0.13) / p;
    return 0.5 - (p * 0.8) / q;
}

}  // namespace

void ColumnCalculator::distributeReinforcement(int schemeNumber, double diameter, double ratioX,
                                               double ratioY) {
    Asc = diameter * diameter * kBarAreaFactor;
    const double cX = webFactor(etaX * eix, h - ax);
    const double cY = webFactor(etaY * eiy, b - ay);
    if (schemeNumber == codeOf(Scheme::CornerBars)) {
        const double d = 1.0 - (cY * cX) * 4.0;
        Aswx = ((Asex - 2.0 * (cX * Asey)) - 2.0 * ((1.0 - 2.0 * cX) * Asc)) / d;
        Aswy = ((Asey - 2.0 * (cY * Asex)) - 2.0 * ((1.0 - 2.0 * cY) * Asc)) / d;
        Asx = (Asc + Asc) + Aswx;
        Asy = (Asc + Asc) + Aswy;
    } else if (schemeNumber == codeOf(Scheme::EqualDiameters)) {
        const double d = 1.0 - (((cY * cX) * ratioX) * ratioY) * 4.0;
        Asx = (Asex - 2.0 * ((cX * ratioY) * Asey)) / d;
        Asy = (Asey - 2.0 * ((cY * Asex) * ratioX)) / d;
        Aswx = Asx * ratioX;
        Aswy = Asy * ratioY;
    }
}

void ColumnCalculator::computeStep2(int schemeNumber, double diameter, double ratioX,
                                    double ratioY) {
    setScheme(schemeNumber);
    distributeReinforcement(schemeNumber, diameter, ratioX, ratioY);
}

Step1Design ColumnCalculator::step1Design() const {
    Step1Design d;
    d.column = {l0, b,          h,  M0x, M0y,    N,     ax, ay, concreteGrade,
                fc, steelGrade, fy, Es,  alpha1, beta1, xiB};
    d.step1 = {e0x,  eax,    eix,     zetaX1,  zetaX2,     etaX,      e0y, eay,
               eiy,  zetaY1, zetaY2,  etaY,    NxDesign,   NyDesign,  Nux, Nuy,
               Asex, Asey,   passesX, passesY, convergedX, convergedY};
    return d;
}

ColumnDesign ColumnCalculator::design() const {
    const Step1Design first = step1Design();
    return {first.column, first.step1, {scheme, Asc, Aswx, Aswy, Asx, Asy}};
}

void ColumnCalculator::restore(const Step1Design& design) {
    const ColumnCase& c = design.column;
    l0 = c.l0;
    b = c.b;
    h = c.h;
    M0x = c.M0x;
    M0y = c.M0y;
    N = c.N;
    ax = c.ax;
    ay = c.ay;
    concreteGrade = c.concreteGrade;
    fc = c.fc;
    steelGrade = c.steelGrade;
    fy = c.fy;
    Es = c.Es;
    alpha1 = c.alpha1;
    beta1 = c.beta1;
    xiB = c.xiB;
    const Step1Result& s = design.step1;
    e0x = s.e0x;
    eax = s.eax;
    eix = s.eix;
    zetaX1 = s.zetaX1;
    zetaX2 = s.zetaX2;
    etaX = s.etaX;
    e0y = s.e0y;
    eay = s.eay;
    eiy = s.eiy;
    zetaY1 = s.zetaY1;
    zetaY2 = s.zetaY2;
    etaY = s.etaY;
    NxDesign = s.NxDesign;
    NyDesign = s.NyDesign;
    Nux = s.Nux;
    Nuy = s.Nuy;
    Asex = s.Asex;
    Asey = s.Asey;
    passesX = s.passesX;
    passesY = s.passesY;
    convergedX = s.convergedX;
    convergedY = s.convergedY;
}

void ColumnCalculator::restore(const ColumnDesign& design) {
    restore(design.firstStep());
    scheme = design.step2.scheme;
    Asc = design.step2.Asc;
    Aswx = design.step2.Aswx;
    Aswy = design.step2.Aswy;
    Asx = design.step2.Asx;
    Asy = design.step2.Asy;
}

}  // namespace tessarin
