#pragma once

#include <string_view>

#include "engine/design_codes.h"

namespace tessarin {

// The eight numbers and two grade selections the engineer enters, with a new main dialog's start
// values. Lengths mm, moments kN*m, force kN.
struct DesignInput {
    double l0 = 6000.0;
    double b = 400.0;
    double h = 600.0;
    double M0x = 244.0;
    double M0y = 120.0;
    double N = 400.0;
    double ax = 40.0;
    double ay = 40.0;
    int concreteIndex = 3;  // "C30" in the list "C15" ... "C80"
    int steelIndex = 2;     // "HRB400" in the list "HPB235", "HRB335", "HRB400"

    // Engine codes of the two selections.
    int concreteGradeNumber() const { return concreteIndex * 5 + 15; }
    int steelGradeCode() const { return steelIndex + 1; }
    SteelGrade steelGrade() const { return static_cast<SteelGrade>(steelGradeCode()); }
};

inline constexpr int kConcreteGradeCount = 14;
inline constexpr const char* kConcreteLabels[kConcreteGradeCount] = {
    "C15", "C20", "C25", "C30", "C35", "C40", "C45",
    "C50", "C55", "C60", "C65", "C70", "C75", "C80"};
inline constexpr int kSteelGradeCount = 3;
inline constexpr const char* kSteelLabels[kSteelGradeCount] = {"HPB235", "HRB335", "HRB400"};

// The list position of a grade label ("C30" is 3, "HRB400" is 2), -1 for a label not in the list.
inline int labelIndex(std::string_view label, const char* const* labels, int count) {
    for (int i = 0; i < count; ++i) {
        if (label == labels[i]) return i;
    }
    return -1;
}

}  // namespace tessarin
