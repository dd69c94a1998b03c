#pragma once

#include <array>
#include <charconv>
#include <string>

#include "engine/column_calculator.h"

namespace tessarin {

// A design case as the engineer types it; grades as engine codes.
struct DesignCase {
    double l0 = 6000.0;
    double b = 400.0;
    double h = 600.0;
    double M0x = 244.0;
    double M0y = 120.0;
    double N = 400.0;
    double ax = 40.0;
    double ay = 40.0;
    int concrete = 30;
    int steel = 3;
};

// Loads a case in the order the calculate command uses: steel grade before concrete grade.
inline void loadCase(ColumnCalculator& c, const DesignCase& d) {
    c.setSteelGrade(d.steel);
    c.setConcreteGrade(d.concrete);
    c.setGeometry(d.l0, d.b, d.h);
    c.setLoads(d.M0x, d.M0y, d.N);
    c.setBarDistances(d.ax, d.ay);
}

inline ColumnCalculator step1(const DesignCase& d) {
    ColumnCalculator c;
    loadCase(c, d);
    c.computeStep1();
    return c;
}

// A value as the report prints it ("%f": fixed, six decimals), for comparing with printed figures
// without the report library.
inline std::string sixDecimals(double value) {
    std::array<char, 400> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                   std::chars_format::fixed, 6);
    return std::string(buffer.data(), end.ptr);
}

}  // namespace tessarin
