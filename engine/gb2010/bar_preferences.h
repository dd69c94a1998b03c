#pragma once

// The engineer's bar preferences (配筋参数): which longitudinal bars the layout family may draw
// and which of two equally light layouts comes first. Per project, overridable per column.
// Standard library only, plain values.

#include <string>
#include <vector>

namespace tessarin {

struct BarPreferences {
    // The diameters a layout may use, mm, ascending, each one of the listed bar sizes (12 ... 40).
    std::vector<int> diameters = {12, 14, 16, 18, 20, 22, 25, 28, 32, 36, 40};
    // The smallest middle (web) bar, mm: 12, the least longitudinal bar of 9.3.1.
    int smallestMiddleBar = 12;
    // The most sizes of the allowed list a middle bar may stand below the corner bar: 2 allows
    // 4C25 with C22 or C20 middle bars, not 4C28 with C12 ones, which an office rarely draws.
    int maximumSizeStep = 2;
    // The middle bars of the b faces and of the h faces may differ in diameter (16G101-1 writes
    // them apart).
    bool middleBarsMayDiffer = true;
    // A square column takes the same middle bars on all four faces.
    bool sameBarsOnSquare = true;
    // Of two layouts equal in steel, bar count and diameters, the one with fewer bars of another
    // diameter than this comes first; 0 for none.
    int preferredDiameter = 0;

    friend bool operator==(const BarPreferences&, const BarPreferences&) = default;
};

// Why the preferences cannot be used (in Chinese, naming the field), or "" when they can: the
// list not empty, ascending, of listed sizes; the smallest middle bar a listed size; the step
// 0 to 10; the preferred diameter 0 or in the list.
[[nodiscard]] std::string barPreferencesProblem(const BarPreferences& preferences);

// Where d stands in the allowed list, or -1.
[[nodiscard]] int allowedIndex(const BarPreferences& preferences, int d);

// Whether the preferences allow middle bars of dw with corner bars of dc (dw at most dc, at
// least the smallest middle bar, at most maximumSizeStep sizes of the list below dc).
[[nodiscard]] bool middleBarAllowed(const BarPreferences& preferences, int dc, int dw);

}  // namespace tessarin
