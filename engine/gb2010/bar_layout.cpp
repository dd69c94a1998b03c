#include "engine/gb2010/bar_layout.h"

#include <algorithm>
#include <array>
#include <numbers>
#include <tuple>
#include <utility>

#include "engine/gb2010/gb2010_rules.h"

namespace tessarin {

namespace {

double barArea(double d) {
    return std::numbers::pi / 4.0 * d * d;
}

// The bars of a choice whose diameter is not the preferred one (0 without a preference).
int barsOffPreferred(const LayoutChoice& c, int preferred) {
    if (preferred == 0) return 0;
    return (c.cornerDiameter == preferred ? 0 : 4) +
           (c.webDiameterB == preferred ? 0 : 2 * c.webBarsAlongB) +
           (c.webDiameterH == preferred ? 0 : 2 * c.webBarsAlongH);
}

// The preference key: sum of d^2 (the steel, exactly), bar count, number of diameters, bars off
// the preferred diameter.
std::tuple<int, int, int, int> preferenceKey(const LayoutChoice& c, int preferred) {
    return {squaredDiameterSum(c), c.barCount(), c.diameterCount(), barsOffPreferred(c, preferred)};
}

// Neighbouring bars on a face whose corner bars stand span apart (centre to centre) with n web
// bars between them: centre distance and the smallest clear distance.
struct FaceSpacing {
    double centre = 0.0;
    double clear = 0.0;
};

FaceSpacing faceSpacing(double span, int webBars, double dc, double dw) {
    const double centre = span / static_cast<double>(webBars + 1);
    // Next to a corner bar the gap is narrowest (dw <= dc); web bars next to each other leave
    // centre - dw.
    const double clear = webBars == 0 ? centre - dc : centre - (dc + dw) / 2.0;
    return {centre, clear};
}

// Where the search for the web bars of a face of the given span may start: at most the fewest
// whose centre distance span / (n + 1) is within the limit; past the bound when even
// kMaxWebBarsPerFace bars would stand too far apart (or the span is no number).
int fewestWebBars(double span, double maximumCentre) {
    const double needed = span / maximumCentre;
    if (!(needed <= static_cast<double>(kMaxWebBarsPerFace + 1))) return kMaxWebBarsPerFace + 1;
    return std::max(0, static_cast<int>(needed) - 2);
}

}  // namespace

int squaredDiameterSum(const LayoutChoice& c) {
    return 4 * c.cornerDiameter * c.cornerDiameter +
           2 * c.webBarsAlongB * c.webDiameterB * c.webDiameterB +
           2 * c.webBarsAlongH * c.webDiameterH * c.webDiameterH;
}

bool preferredLayout(const LayoutChoice& a, const LayoutChoice& b, int preferredDiameter) {
    return preferenceKey(a, preferredDiameter) < preferenceKey(b, preferredDiameter);
}

bool equallyPreferred(const LayoutChoice& a, const LayoutChoice& b, int preferredDiameter) {
    return preferenceKey(a, preferredDiameter) == preferenceKey(b, preferredDiameter);
}

double layoutSteelArea(const LayoutChoice& choice) {
    return barArea(1.0) * static_cast<double>(squaredDiameterSum(choice));
}

BarLayout layoutFigures(const LayoutFrame& frame, const LayoutChoice& choice) {
    BarLayout layout;
    layout.choice = choice;
    const auto dc = static_cast<double>(choice.cornerDiameter);
    const auto dwB = static_cast<double>(choice.webDiameterB);
    const auto dwH = static_cast<double>(choice.webDiameterH);
    const double inset = frame.cover + frame.stirrup;
    const double uc = frame.h / 2.0 - (inset + dc / 2.0);
    const double vc = frame.b / 2.0 - (inset + dc / 2.0);
    const double gross = frame.b * frame.h;
    layout.steelArea = layoutSteelArea(choice);
    layout.ratio = layout.steelArea / gross;
    layout.oneSideRatioB =
        (2.0 * barArea(dc) + static_cast<double>(choice.webBarsAlongB) * barArea(dwB)) / gross;
    layout.oneSideRatioH =
        (2.0 * barArea(dc) + static_cast<double>(choice.webBarsAlongH) * barArea(dwH)) / gross;
    const FaceSpacing alongB = faceSpacing(2.0 * vc, choice.webBarsAlongB, dc, dwB);
    const FaceSpacing alongH = faceSpacing(2.0 * uc, choice.webBarsAlongH, dc, dwH);
    layout.centreSpacingB = alongB.centre;
    layout.clearSpacingB = alongB.clear;
    layout.centreSpacingH = alongH.centre;
    layout.clearSpacingH = alongH.clear;
    return layout;
}

BarLayout placeLayout(const LayoutFrame& frame, const LayoutChoice& choice) {
    BarLayout layout = layoutFigures(frame, choice);
    const auto dc = static_cast<double>(choice.cornerDiameter);
    const auto dwB = static_cast<double>(choice.webDiameterB);
    const auto dwH = static_cast<double>(choice.webDiameterH);
    const double inset = frame.cover + frame.stirrup;
    const double uc = frame.h / 2.0 - (inset + dc / 2.0);
    const double vc = frame.b / 2.0 - (inset + dc / 2.0);
    const double uw = frame.h / 2.0 - (inset + dwB / 2.0);
    const double vw = frame.b / 2.0 - (inset + dwH / 2.0);

    layout.bars.reserve(static_cast<std::size_t>(choice.barCount()));
    for (const double u : {uc, -uc}) {
        for (const double v : {vc, -vc}) layout.bars.push_back({u, v, dc, true});
    }
    // Faces of length b: bars along v between the corner bars at -vc and +vc.
    for (const double u : {uw, -uw}) {
        for (int k = 1; k <= choice.webBarsAlongB; ++k) {
            const double v = -vc + 2.0 * vc * static_cast<double>(k) /
                                       static_cast<double>(choice.webBarsAlongB + 1);
            layout.bars.push_back({u, v, dwB, false});
        }
    }
    // Faces of length h: bars along u between -uc and +uc.
    for (const double v : {vw, -vw}) {
        for (int k = 1; k <= choice.webBarsAlongH; ++k) {
            const double u = -uc + 2.0 * uc * static_cast<double>(k) /
                                       static_cast<double>(choice.webBarsAlongH + 1);
            layout.bars.push_back({u, v, dwH, false});
        }
    }
    return layout;
}

DetailingFindings checkDetailing(const BarLayout& layout, const DetailingLimits& limits) {
    DetailingFindings f;
    f.coverAtLeastDiameter =
        static_cast<double>(layout.choice.cornerDiameter) <= limits.maximumBarDiameter;
    f.clearSpacing = layout.clearSpacingB >= limits.minimumClearSpacing &&
                     layout.clearSpacingH >= limits.minimumClearSpacing;
    f.centreSpacing = layout.centreSpacingB <= limits.maximumCentreSpacingB &&
                      layout.centreSpacingH <= limits.maximumCentreSpacingH;
    f.minimumTotalRatio = layout.ratio >= limits.minimumTotalRatio;
    f.maximumTotalRatio = layout.ratio <= limits.maximumTotalRatio;
    f.minimumOneSideRatio = layout.oneSideRatioB >= limits.minimumOneSideRatio &&
                            layout.oneSideRatioH >= limits.minimumOneSideRatio;
    f.maximumOneSideRatio = !(limits.maximumOneSideRatio > 0.0) ||
                            (layout.oneSideRatioB <= limits.maximumOneSideRatio &&
                             layout.oneSideRatioH <= limits.maximumOneSideRatio);
    return f;
}

namespace {

// The web bars one face may take with corner bars of dc: (diameter, count) pairs that meet the
// face's own rules (clear and centre spacing, its one-side ratio), the count 0 once with the
// corner diameter. faceB: a face of length b (spacing limit B), else of length h.
struct FaceOption {
    int diameter = 0;
    int count = 0;
};

void faceOptions(const LayoutFrame& frame, const DetailingLimits& limits,
                 const BarPreferences& preferences, int dc, bool faceB,
                 std::vector<FaceOption>& options) {
    options.clear();
    const double inset = frame.cover + frame.stirrup;
    // As layoutFigures measures it: twice the corner-bar centre's distance from the axis.
    const double span =
        2.0 * ((faceB ? frame.b : frame.h) / 2.0 - (inset + static_cast<double>(dc) / 2.0));
    const double maximumCentre =
        faceB ? limits.maximumCentreSpacingB : limits.maximumCentreSpacingH;
    const double gross = frame.b * frame.h;
    const double corners = 2.0 * barArea(static_cast<double>(dc));
    const auto sideRatioMet = [&](int d, int n) {
        const double ratio =
            (corners + static_cast<double>(n) * barArea(static_cast<double>(d))) / gross;
        return ratio >= limits.minimumOneSideRatio &&
               (!(limits.maximumOneSideRatio > 0.0) || ratio <= limits.maximumOneSideRatio);
    };
    const int fewest = fewestWebBars(span, maximumCentre);
    if (fewest == 0) {
        const FaceSpacing none = faceSpacing(span, 0, dc, dc);
        if (none.clear >= limits.minimumClearSpacing && none.centre <= maximumCentre &&
            sideRatioMet(dc, 0)) {
            options.push_back({dc, 0});
        }
    }
    for (const int dw : preferences.diameters) {
        if (dw > dc) break;
        if (!middleBarAllowed(preferences, dc, dw)) continue;
        // From the fewest the centre spacing may allow while the clear distance allows one
        // more, never more than kMaxWebBarsPerFace. (A start one or two below the least count is
        // harmless: the spacing check refuses it.)
        for (int n = std::max(1, fewest); n <= kMaxWebBarsPerFace; ++n) {
            const FaceSpacing spacing = faceSpacing(span, n, dc, dw);
            if (!(spacing.clear >= limits.minimumClearSpacing)) break;
            if (spacing.centre <= maximumCentre && sideRatioMet(dw, n)) options.push_back({dw, n});
        }
    }
}

// The full order of the search: the preference key, then more bars on the longer faces, then
// the larger corner bar, then the b faces' web bars (smaller first, fewer first), then the h
// faces' the same way.
struct KeyedChoice {
    std::array<int, 10> key{};
    LayoutChoice choice;
};

}  // namespace

std::vector<LayoutChoice> detailedChoices(const LayoutFrame& frame, const DetailingLimits& limits,
                                          const BarPreferences& preferences) {
    std::vector<KeyedChoice> keyed;
    std::vector<FaceOption> alongB;
    std::vector<FaceOption> alongH;
    const bool square = frame.b == frame.h && preferences.sameBarsOnSquare;
    const bool longerH = frame.h >= frame.b;
    for (const int dc : preferences.diameters) {
        if (static_cast<double>(dc) > limits.maximumBarDiameter) continue;
        faceOptions(frame, limits, preferences, dc, true, alongB);
        faceOptions(frame, limits, preferences, dc, false, alongH);
        for (const FaceOption& fb : alongB) {
            for (const FaceOption& fh : alongH) {
                const bool bothFaces = fb.count > 0 && fh.count > 0;
                if (bothFaces && fb.diameter != fh.diameter &&
                    (!preferences.middleBarsMayDiffer || square)) {
                    continue;
                }
                if (square && fb.count != fh.count) continue;
                const LayoutChoice choice(dc, fb.diameter, fb.count, fh.diameter, fh.count);
                if (!checkDetailing(layoutFigures(frame, choice), limits).all()) continue;
                const auto [steel, bars, diameters, offPreferred] =
                    preferenceKey(choice, preferences.preferredDiameter);
                const int longer = longerH ? fh.count : fb.count;
                keyed.push_back({{steel, bars, diameters, offPreferred, -longer, -dc, fb.diameter,
                                  fb.count, fh.diameter, fh.count},
                                 choice});
            }
        }
    }
    std::sort(keyed.begin(), keyed.end(),
              [](const KeyedChoice& a, const KeyedChoice& b) { return a.key < b.key; });
    std::vector<LayoutChoice> choices;
    choices.reserve(keyed.size());
    for (const KeyedChoice& entry : keyed) choices.push_back(entry.choice);
    return choices;
}

SpacingBound heaviestWithinSpacing(const LayoutFrame& frame, const DetailingLimits& limits,
                                   const BarPreferences& preferences) {
    SpacingBound bound;
    const double inset = frame.cover + frame.stirrup;
    for (const int d : preferences.diameters) {
        if (static_cast<double>(d) > limits.maximumBarDiameter) continue;
        // The most web bars each face takes at the clear distance; -1 when the corner bars alone
        // stand too close.
        int most[2] = {-1, -1};
        const double spans[2] = {frame.b - 2.0 * inset - static_cast<double>(d),
                                 frame.h - 2.0 * inset - static_cast<double>(d)};
        for (int face = 0; face < 2; ++face) {
            for (int n = 0; n <= kMaxWebBarsPerFace; ++n) {
                if (!(faceSpacing(spans[face], n, d, d).clear >= limits.minimumClearSpacing)) break;
                most[face] = n;
            }
        }
        if (most[0] < 0 || most[1] < 0) continue;
        const BarLayout layout = layoutFigures(frame, {d, d, most[0], most[1]});
        if (!(layout.centreSpacingB <= limits.maximumCentreSpacingB &&
              layout.centreSpacingH <= limits.maximumCentreSpacingH &&
              layout.ratio <= limits.maximumTotalRatio)) {
            continue;
        }
        bound.found = true;
        bound.ratio = std::max(bound.ratio, layout.ratio);
        bound.oneSideRatio =
            std::max(bound.oneSideRatio, std::min(layout.oneSideRatioB, layout.oneSideRatioH));
    }
    return bound;
}

std::vector<BarLayout> detailedLayouts(const LayoutFrame& frame, const DetailingLimits& limits,
                                       const BarPreferences& preferences) {
    const std::vector<LayoutChoice> choices = detailedChoices(frame, limits, preferences);
    std::vector<BarLayout> layouts;
    layouts.reserve(choices.size());
    for (const LayoutChoice& choice : choices) layouts.push_back(placeLayout(frame, choice));
    return layouts;
}

}  // namespace tessarin
