#include "engine/current_code/bar_layout.h"

#include <algorithm>
#include <cstdint>
#include <numbers>
#include <tuple>
#include <utility>

#include "engine/current_code/current_code_rules.h"

namespace tessarin {

namespace {

double barArea(double d) {
    return std::numbers::pi / 4.0 * d * d;
}

// The preference key: sum of d^2 (the steel, exactly), bar count, two diameters after one.
std::tuple<int, int, int> preferenceKey(const LayoutChoice& c) {
    return {squaredDiameterSum(c), c.barCount(), c.oneDiameter() ? 0 : 1};
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
           2 * (c.webBarsAlongB + c.webBarsAlongH) * c.webDiameter * c.webDiameter;
}

bool preferredLayout(const LayoutChoice& a, const LayoutChoice& b) {
    return preferenceKey(a) < preferenceKey(b);
}

bool equallyPreferred(const LayoutChoice& a, const LayoutChoice& b) {
    return preferenceKey(a) == preferenceKey(b);
}

double layoutSteelArea(const LayoutChoice& choice) {
    return barArea(1.0) * static_cast<double>(squaredDiameterSum(choice));
}

BarLayout layoutFigures(const LayoutFrame& frame, const LayoutChoice& choice) {
    BarLayout layout;
    layout.choice = choice;
    const auto dc = static_cast<double>(choice.cornerDiameter);
    const auto dw = static_cast<double>(choice.webDiameter);
    const double inset = frame.cover + frame.stirrup;
    const double uc = frame.h / 2.0 - (inset + dc / 2.0);
    const double vc = frame.b / 2.0 - (inset + dc / 2.0);
    const double gross = frame.b * frame.h;
    layout.steelArea = layoutSteelArea(choice);
    layout.ratio = layout.steelArea / gross;
    layout.oneSideRatioB =
        (2.0 * barArea(dc) + static_cast<double>(choice.webBarsAlongB) * barArea(dw)) / gross;
    layout.oneSideRatioH =
        (2.0 * barArea(dc) + static_cast<double>(choice.webBarsAlongH) * barArea(dw)) / gross;
    const FaceSpacing alongB = faceSpacing(2.0 * vc, choice.webBarsAlongB, dc, dw);
    const FaceSpacing alongH = faceSpacing(2.0 * uc, choice.webBarsAlongH, dc, dw);
    layout.centreSpacingB = alongB.centre;
    layout.clearSpacingB = alongB.clear;
    layout.centreSpacingH = alongH.centre;
    layout.clearSpacingH = alongH.clear;
    return layout;
}

BarLayout placeLayout(const LayoutFrame& frame, const LayoutChoice& choice) {
    BarLayout layout = layoutFigures(frame, choice);
    const auto dc = static_cast<double>(choice.cornerDiameter);
    const auto dw = static_cast<double>(choice.webDiameter);
    const double inset = frame.cover + frame.stirrup;
    const double uc = frame.h / 2.0 - (inset + dc / 2.0);
    const double vc = frame.b / 2.0 - (inset + dc / 2.0);
    const double uw = frame.h / 2.0 - (inset + dw / 2.0);
    const double vw = frame.b / 2.0 - (inset + dw / 2.0);

    layout.bars.reserve(static_cast<std::size_t>(choice.barCount()));
    for (const double u : {uc, -uc}) {
        for (const double v : {vc, -vc}) layout.bars.push_back({u, v, dc, true});
    }
    // Faces of length b: bars along v between the corner bars at -vc and +vc.
    for (const double u : {uw, -uw}) {
        for (int k = 1; k <= choice.webBarsAlongB; ++k) {
            const double v = -vc + 2.0 * vc * static_cast<double>(k) /
                                       static_cast<double>(choice.webBarsAlongB + 1);
            layout.bars.push_back({u, v, dw, false});
        }
    }
    // Faces of length h: bars along u between -uc and +uc.
    for (const double v : {vw, -vw}) {
        for (int k = 1; k <= choice.webBarsAlongH; ++k) {
            const double u = -uc + 2.0 * uc * static_cast<double>(k) /
                                       static_cast<double>(choice.webBarsAlongH + 1);
            layout.bars.push_back({u, v, dw, false});
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

std::vector<LayoutChoice> detailedChoices(const LayoutFrame& frame, const DetailingLimits& limits) {
    // Each choice with its preference key packed into one number, computed once for the sort;
    // the place the choice was found in comes last, so that equal preferences keep that order.
    std::vector<std::pair<std::int64_t, LayoutChoice>> keyed;
    const double inset = frame.cover + frame.stirrup;
    for (const int dc : kBarDiameters2010) {
        if (static_cast<double>(dc) > limits.maximumBarDiameter) continue;
        const double spanB = frame.b - 2.0 * inset - static_cast<double>(dc);
        const double spanH = frame.h - 2.0 * inset - static_cast<double>(dc);
        for (const int dw : kBarDiameters2010) {
            if (dw > dc) break;
            // The web bars of a face: from the fewest the centre spacing may allow while the
            // clear distance allows one more, never more than kMaxWebBarsPerFace. (A start one
            // or two below the least count is harmless: the detailing check refuses it.)
            for (int nB = fewestWebBars(spanB, limits.maximumCentreSpacingB);
                 nB <= kMaxWebBarsPerFace; ++nB) {
                const FaceSpacing sB = faceSpacing(spanB, nB, dc, dw);
                if (!(sB.clear >= limits.minimumClearSpacing)) break;
                for (int nH = fewestWebBars(spanH, limits.maximumCentreSpacingH);
                     nH <= kMaxWebBarsPerFace; ++nH) {
                    const FaceSpacing sH = faceSpacing(spanH, nH, dc, dw);
                    if (!(sH.clear >= limits.minimumClearSpacing)) break;
                    // Without web bars the web diameter means nothing: take that layout once.
                    if (nB == 0 && nH == 0 && dw != dc) continue;
                    const LayoutChoice choice{dc, dw, nB, nH};
                    if (checkDetailing(layoutFigures(frame, choice), limits).all()) {
                        const auto [steel, bars, twoDiameters] = preferenceKey(choice);
                        const std::int64_t key =
                            ((static_cast<std::int64_t>(steel) * 1024 + bars) * 2 + twoDiameters) *
                                (std::int64_t{1} << 24) +
                            static_cast<std::int64_t>(keyed.size());
                        keyed.emplace_back(key, choice);
                    }
                }
            }
        }
    }
    std::sort(keyed.begin(), keyed.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<LayoutChoice> choices;
    choices.reserve(keyed.size());
    for (const auto& entry : keyed) choices.push_back(entry.second);
    return choices;
}

SpacingBound heaviestWithinSpacing(const LayoutFrame& frame, const DetailingLimits& limits) {
    SpacingBound bound;
    const double inset = frame.cover + frame.stirrup;
    for (const int d : kBarDiameters2010) {
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

std::vector<BarLayout> detailedLayouts(const LayoutFrame& frame, const DetailingLimits& limits) {
    const std::vector<LayoutChoice> choices = detailedChoices(frame, limits);
    std::vector<BarLayout> layouts;
    layouts.reserve(choices.size());
    for (const LayoutChoice& choice : choices) layouts.push_back(placeLayout(frame, choice));
    return layouts;
}

}  // namespace tessarin
