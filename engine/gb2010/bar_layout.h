#pragma once

#include <vector>

#include "engine/gb2010/gb2010_types.h"

namespace tessarin {

// The section a layout is placed in: b, h, the cover to the stirrups c and the stirrup diameter
// ds (mm).
struct LayoutFrame {
    double b = 0.0;
    double h = 0.0;
    double cover = 0.0;
    double stirrup = 0.0;
};

// Places the bars of a choice: each centre lies c + ds + d/2 from its face; the corner bars at
// the corners, the web bars of a face equally spaced between the corner-bar centres.
[[nodiscard]] BarLayout placeLayout(const LayoutFrame& frame, const LayoutChoice& choice);

// The figures of a choice in its section (areas, ratios, spacings) without placing its bars:
// placeLayout with bars left empty. What the detailing rules look at.
[[nodiscard]] BarLayout layoutFigures(const LayoutFrame& frame, const LayoutChoice& choice);

// Which detailing rules a placed layout meets.
struct DetailingFindings {
    bool coverAtLeastDiameter = true;  // c + ds >= d for every bar (8.2.1)
    bool clearSpacing = true;          // >= 50 mm between neighbours (9.3.1)
    bool centreSpacing = true;         // <= 300 mm, 200 mm seismic on long sides (9.3.1, 6.3.8)
    bool minimumTotalRatio = true;     // 8.5.1, GB 50011 6.3.7
    bool maximumTotalRatio = true;     // 5 % (9.3.1, 6.3.8)
    bool minimumOneSideRatio = true;   // 0.2 % on each face (8.5.1)
    bool maximumOneSideRatio = true;   // 1.2 % on each face, grade 一 short columns (6.3.8)

    [[nodiscard]] bool all() const {
        return coverAtLeastDiameter && clearSpacing && centreSpacing && minimumTotalRatio &&
               maximumTotalRatio && minimumOneSideRatio && maximumOneSideRatio;
    }
};

[[nodiscard]] DetailingFindings checkDetailing(const BarLayout& layout,
                                               const DetailingLimits& limits);

// The most web bars a face may take. A face of the longest validated side (5000 mm) with the
// thinnest cover, stirrup and bar (15 + 6 + 12 mm) holds at most 78 at the 50 mm clear distance
// of 9.3.1, so the bound never removes a layout of a validated column; it keeps the search finite
// (at most 11 * 11 * 101 * 101 choices) whatever section it is given.
inline constexpr int kMaxWebBarsPerFace = 100;

// Every symmetric layout the preferences allow (corner bars of the allowed diameters; on the b
// faces and on the h faces web bars of an allowed diameter no larger than the corner bars, at
// least the smallest middle bar and at most maximumSizeStep sizes below the corner; the b and h
// faces' web bars of one diameter unless they may differ; the same on all four faces of a square
// section when the preferences ask it) that meets the detailing limits, with at most
// kMaxWebBarsPerFace web bars on a face, in the order of preference: least steel, then fewest
// bars, then fewest diameters, then fewest bars off the preferred diameter. Among layouts equal
// in all of that: more bars on the longer faces (the h faces when b = h), then the larger corner
// bar, then the b faces' web bars smaller and fewer first, then the h faces' the same way.
[[nodiscard]] std::vector<BarLayout> detailedLayouts(const LayoutFrame& frame,
                                                     const DetailingLimits& limits,
                                                     const BarPreferences& preferences = {});
// The same layouts as choices only, in the same order: the design places a choice only when it
// gets as far as the strain-compatibility check.
[[nodiscard]] std::vector<LayoutChoice> detailedChoices(const LayoutFrame& frame,
                                                        const DetailingLimits& limits,
                                                        const BarPreferences& preferences = {});

// The most steel the bar diameter and spacing rules allow (bars of one allowed diameter, as many on
// each face as the clear distance takes), whatever the least ratios ask: what a section for
// which detailedChoices finds nothing falls short of. found is false when not even the four
// corner bars of any diameter meet those rules.
struct SpacingBound {
    bool found = false;
    double ratio = 0.0;         // the highest total ratio
    double oneSideRatio = 0.0;  // the highest ratio of the weaker face
};
[[nodiscard]] SpacingBound heaviestWithinSpacing(const LayoutFrame& frame,
                                                 const DetailingLimits& limits,
                                                 const BarPreferences& preferences = {});

// Whether a comes before b in the order of preference (the steel compared exactly, as sums of
// d^2), with preferredDiameter as BarPreferences holds it.
[[nodiscard]] bool preferredLayout(const LayoutChoice& a, const LayoutChoice& b,
                                   int preferredDiameter = 0);
// a and b tie on steel, bar count, the number of diameters and the bars off the preferred one.
[[nodiscard]] bool equallyPreferred(const LayoutChoice& a, const LayoutChoice& b,
                                    int preferredDiameter = 0);

// 4 dc^2 + 2 nB dwB^2 + 2 nH dwH^2: the steel area over pi/4, an exact integer for comparisons.
[[nodiscard]] int squaredDiameterSum(const LayoutChoice& choice);
// The steel area of a choice, mm^2, as BarLayout::steelArea holds it.
[[nodiscard]] double layoutSteelArea(const LayoutChoice& choice);

}  // namespace tessarin
