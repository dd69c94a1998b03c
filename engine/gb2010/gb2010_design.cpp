#include "engine/gb2010/gb2010_design.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <optional>

#include "engine/gb2010/bar_layout.h"
#include "engine/gb2010/gb2010_rules.h"
#include "engine/gb2010/moment_bound.h"
#include "engine/gb2010/second_order.h"
#include "engine/section/demand_capacity.h"

namespace tessarin {

namespace {

std::size_t diameterIndex(int d) {
    const auto* found = std::find(kBarDiameters2010.begin(), kBarDiameters2010.end(), d);
    return static_cast<std::size_t>(found - kBarDiameters2010.begin());
}

// 0.9 phi (fc A + fy' As') in N, with A - As' above 3 % of steel (6.2.15).
double axialLimitNewtons(double gross, double steel, const Materials2010& m, double phi) {
    const double concreteArea = steel / gross > kNetAreaRatio ? gross - steel : gross;
    return 0.9 * phi * (m.fc * concreteArea + m.fycAxial * steel);
}

// The demands of all combinations for one corner-bar diameter (h0 depends on it), computed once.
class DemandCache {
  public:
    // inset: the cover and the stirrup, from a face to the corner bar's edge.
    DemandCache(AxisSpan x, AxisSpan y, double inset, double fc,
                std::span<const LoadCombination> combinations, MomentDirections directions)
        : x_(x),
          y_(y),
          inset_(inset),
          fc_(fc),
          combinations_(combinations),
          directions_(directions) {}

    const std::vector<CombinationDemand>& forCornerDiameter(int dc) {
        std::optional<std::vector<CombinationDemand>>& slot = cache_[diameterIndex(dc)];
        if (!slot) {
            const double a = inset_ + static_cast<double>(dc) / 2.0;
            std::vector<CombinationDemand> demands;
            demands.reserve(combinations_.size());
            for (const LoadCombination& c : combinations_) {
                demands.push_back(combinationDemand(c, x_, y_, a, fc_, directions_));
            }
            slot = std::move(demands);
        }
        return *slot;
    }

  private:
    AxisSpan x_;
    AxisSpan y_;
    double inset_;
    double fc_;
    std::span<const LoadCombination> combinations_;
    MomentDirections directions_;
    std::array<std::optional<std::vector<CombinationDemand>>, kBarDiameters2010.size()> cache_;
};

// The coarse searches of the layout selection, and how far above 1 a coarse utilisation may lie
// and still be searched finely: a hundred times what a coarse utilisation was ever seen off the
// fine one (9e-6 over 12,000 searches of 2,000 generated columns).
constexpr DirectionSolver::Precision kCoarse = DirectionSolver::Precision::Coarse;
constexpr double kCoarseMargin = 1e-3;

// The highest of utilisation and axial ratio: what decides whether a combination is carried.
double governingFigure(const CombinationCheck& check) {
    return std::max(check.utilisation, check.axialUtilisation);
}

}  // namespace

double coverUsed(const Gb2010Column& column) {
    return column.cover.value_or(defaultCover(column.concreteGrade));
}

SectionResistance layoutSection(const Gb2010Column& column, const Materials2010& materials,
                                const BarLayout& layout, double ultimateTensileStrain) {
    const ConcreteLaw concrete =
        ConcreteLaw::forGrade({static_cast<double>(materials.concreteGrade), materials.fc});
    SteelLaw steel;
    steel.fy = materials.fy;
    steel.Es = materials.Es;
    steel.ultimateTensileStrain = ultimateTensileStrain;
    std::vector<SectionBar> bars;
    bars.reserve(layout.bars.size());
    for (const PlacedBar& bar : layout.bars) {
        bars.push_back({bar.u, bar.v, 0.25 * std::numbers::pi * bar.d * bar.d});
    }
    return SectionResistance({column.b, column.h}, concrete, steel, std::move(bars));
}

CombinationCheck checkCombination(const SectionResistance& section, const BarLayout& layout,
                                  const CombinationDemand& demand, const Materials2010& materials,
                                  const DetailingLimits& limits, double gammaRE) {
    const DemandCapacity capacity = capacityInDemandDirection(
        section, gammaRE * demand.N * 1000.0, gammaRE * demand.Mx * 1e6, gammaRE * demand.My * 1e6);
    return checkCombination(section, layout, demand, materials, limits, capacity, gammaRE);
}

CombinationCheck checkCombination(const SectionResistance& section, const BarLayout& layout,
                                  const CombinationDemand& demand, const Materials2010& materials,
                                  const DetailingLimits& limits, const DemandCapacity& capacity,
                                  double gammaRE) {
    CombinationCheck c;
    c.demand = demand;
    c.gammaRE = gammaRE;
    c.MxR = capacity.MxR / 1e6;
    c.MyR = capacity.MyR / 1e6;
    c.utilisation = capacity.utilisation;

    const double gross = section.size().b * section.size().h;
    c.axialCapacity = axialLimitNewtons(gross, layout.steelArea, materials, limits.phi) / 1000.0;
    c.axialUtilisation = demand.N / c.axialCapacity;

    // 1/Nu = 1/Nux + 1/Nuy - 1/Nu0 (6.2.21), Nu0 = fc A + fy' As.
    const double fycNu0 = kEngineeringChoices.capFycInNu0 ? materials.fycAxial : materials.fyc;
    c.Nux = uniaxialCapacityAtEccentricity(section, BendingAxis::X, demand.x.ei) / 1000.0;
    c.Nuy = uniaxialCapacityAtEccentricity(section, BendingAxis::Y, demand.y.ei) / 1000.0;
    c.Nu0 = (materials.fc * gross + fycNu0 * layout.steelArea) / 1000.0;
    c.Nu = 1.0 / (1.0 / c.Nux + 1.0 / c.Nuy - 1.0 / c.Nu0);
    c.carried = c.utilisation <= 1.0 && c.axialUtilisation <= 1.0;
    return c;
}

Gb2010Design designGb2010(const Gb2010Column& column,
                          std::span<const LoadCombination> combinations) {
    // A stop token without a source is never requested: the design always completes.
    return *designGb2010(column, combinations, std::stop_token());
}

std::optional<Gb2010Design> designGb2010(const Gb2010Column& column,
                                         std::span<const LoadCombination> combinations,
                                         const std::stop_token& stop) {
    Gb2010Design r;
    r.column = column;
    // The defaults resolved: lc of each axis is l0 when not given (6.2.3), the cover (8.2.1).
    r.lcX = column.lcX.value_or(column.l0);
    r.lcY = column.lcY.value_or(column.l0);
    r.cover = coverUsed(column);
    r.materials = materials2010(column.concreteGrade, column.steel);
    const MomentDirections directions = momentDirections(combinations);
    r.limits = detailingLimits(column, r.cover, directions);
    const Materials2010& m = r.materials;
    const double gross = column.b * column.h;
    DemandCache demands({r.lcX, column.h}, {r.lcY, column.b}, r.cover + column.stirrup, m.fc,
                        combinations, directions);

    const auto demandsOnly = [&](NoLayoutReason reason) {
        r.reason = reason;
        const auto& list =
            demands.forCornerDiameter(kEngineeringChoices.demandDiameterWithoutLayout);
        for (std::size_t k = 0; k < list.size(); ++k) {
            CombinationCheck c;
            c.demand = list[k];
            c.kind = combinations[k].kind;
            r.combinations.push_back(c);
        }
        return r;
    };

    // A seismic column with a shear-span ratio below 1.5 needs a special study of its axial-ratio
    // limit and special detailing (GB 50011 6.3.6 note 2): no design is offered.
    if (column.seismic != SeismicGrade::None &&
        !(r.limits.shearSpan.lambda >= kSpecialStudyShearSpan)) {
        return demandsOnly(
            {NoLayoutKind::ShortColumn, -1, r.limits.shearSpan.lambda, kSpecialStudyShearSpan});
    }
    // The seismic axial-ratio limit (6.3.6) does not depend on the bars: the highest ratio over
    // the combinations decides.
    if (r.limits.axialRatio.value > 0.0) {
        int worst = -1;
        double worstRatio = 0.0;
        for (std::size_t k = 0; k < combinations.size(); ++k) {
            if (!axialRatioLimitApplies(combinations[k].kind)) continue;
            const double ratio = combinations[k].N * 1000.0 / (m.fc * gross);
            if (ratio > worstRatio) {
                worstRatio = ratio;
                worst = static_cast<int>(k);
            }
        }
        if (worstRatio > r.limits.axialRatio.value) {
            return demandsOnly(
                {NoLayoutKind::AxialRatioExceeded, worst, worstRatio, r.limits.axialRatio.value});
        }
    }

    const LayoutFrame frame{column.b, column.h, r.cover, column.stirrup};
    const BarPreferences& preferences = column.barPreferences;
    const std::vector<LayoutChoice> layouts = detailedChoices(frame, r.limits, preferences);
    r.layoutsConsidered = static_cast<int>(layouts.size());
    if (layouts.empty()) {
        // Say what stands in the way: the least total ratio, or that of one face, out of reach.
        NoLayoutReason reason{NoLayoutKind::NoDetailedLayout, -1, 0.0, 0.0};
        const SpacingBound most = heaviestWithinSpacing(frame, r.limits, preferences);
        if (most.found && most.ratio < r.limits.minimumTotalRatio) {
            reason.value = most.ratio;
            reason.limit = r.limits.minimumTotalRatio;
        } else if (most.found && most.oneSideRatio < r.limits.minimumOneSideRatio) {
            reason.value = most.oneSideRatio;
            reason.limit = r.limits.minimumOneSideRatio;
            reason.oneSide = true;
        }
        return demandsOnly(reason);
    }

    // In the order of preference, the first layout that carries every combination wins; layouts
    // that tie with it on the preference are compared by their governing figure. The combination
    // that stopped the last layout is tried first: the next layout most likely fails there too.
    // A layout's bars are placed only once it passes the axial limit.
    const std::size_t count = combinations.size();
    // S <= R / gammaRE (11.1.6): a seismic combination's N and moments are checked times gammaRE.
    std::vector<double> gammas(count);
    for (std::size_t k = 0; k < count; ++k) {
        gammas[k] = combinationGammaRE(column.seismic, combinations[k].kind,
                                       combinations[k].N * 1000.0 / (m.fc * gross));
    }
    std::size_t firstToTry = 0;
    std::optional<std::size_t> winner;
    double winnerFigure = 0.0;
    // The capacities found for the layout under test, and those of the winner, kept for its
    // report so that none is searched twice.
    std::vector<DemandCapacity> capacities(count);
    std::vector<bool> searched(count, false);
    std::vector<DemandCapacity> winnerCapacities;
    for (std::size_t i = 0; i < layouts.size(); ++i) {
        if (stop.stop_requested()) return std::nullopt;
        const LayoutChoice& choice = layouts[i];
        if (winner && !equallyPreferred(layouts[*winner], choice, preferences.preferredDiameter)) {
            break;
        }
        const std::vector<CombinationDemand>& list =
            demands.forCornerDiameter(choice.cornerDiameter);
        const double steel = layoutSteelArea(choice);

        const double axialLimit = axialLimitNewtons(gross, steel, m, r.limits.phi);
        double figure = 0.0;
        bool carried = true;
        for (std::size_t k = 0; k < count && carried; ++k) {
            const double ratio = list[k].N * 1000.0 / axialLimit;
            figure = std::max(figure, ratio);
            if (ratio > 1.0) {
                carried = false;
                firstToTry = k;
            }
        }
        if (!carried) continue;

        const BarLayout layout = placeLayout(frame, choice);
        const SectionResistance section = layoutSection(column, m, layout, kUltimateTensileStrain);
        // A cheap upper bound of the moment capacity rules most failing layouts out before the
        // strain-compatibility search.
        for (std::size_t j = 0; j < count && carried; ++j) {
            const std::size_t k = (firstToTry + j) % count;
            const CombinationDemand& d = list[k];
            const double g = gammas[k];
            const double unscaled = std::hypot(d.Mx, d.My) * 1e6;
            const double moment = g * unscaled;
            const double bound =
                momentUpperBound(section.size(), m.fc, m.fy, section.bars(), g * d.N * 1000.0,
                                 d.Mx * 1e6 / unscaled, d.My * 1e6 / unscaled);
            if (moment > bound) {
                carried = false;
                firstToTry = k;
            }
        }
        if (!carried) continue;
        // First coarse searches, each from the state the last layout checked for its
        // combination reached: they rule out a layout that is clearly short of a demand. Only a
        // layout they leave is searched finely, and only the fine utilisations decide.
        for (std::size_t j = 0; j < count && carried; ++j) {
            const std::size_t k = (firstToTry + j) % count;
            const CombinationDemand& d = list[k];
            const double N = gammas[k] * d.N * 1000.0;
            const double Mx = gammas[k] * d.Mx * 1e6;
            const double My = gammas[k] * d.My * 1e6;
            capacities[k] =
                searched[k] ? capacityInDemandDirection(section, N, Mx, My, capacities[k], kCoarse)
                            : capacityInDemandDirection(section, N, Mx, My, kCoarse);
            searched[k] = true;
            if (!(capacities[k].utilisation <= 1.0 + kCoarseMargin)) {
                carried = false;
                firstToTry = k;
            }
        }
        for (std::size_t k = 0; k < count && carried; ++k) {
            const CombinationDemand& d = list[k];
            const double g = gammas[k];
            capacities[k] = capacityInDemandDirection(section, g * d.N * 1000.0, g * d.Mx * 1e6,
                                                      g * d.My * 1e6, capacities[k]);
            if (!(capacities[k].utilisation <= 1.0)) {
                carried = false;
                firstToTry = k;
            }
            figure = std::max(figure, capacities[k].utilisation);
        }
        if (!carried) continue;
        if (!winner || figure < winnerFigure) {
            winner = i;
            winnerFigure = figure;
            winnerCapacities = capacities;
        }
    }

    if (stop.stop_requested()) return std::nullopt;
    // The chosen layout, or the heaviest the rules allow to show why: the first of those that tie
    // with the last in the order (more bars on the longer faces, the larger corner bar).
    std::size_t heaviest = layouts.size() - 1;
    while (heaviest > 0 &&
           equallyPreferred(layouts[heaviest - 1], layouts.back(), preferences.preferredDiameter)) {
        --heaviest;
    }
    const BarLayout shown = placeLayout(frame, layouts[winner ? *winner : heaviest]);
    r.designed = winner.has_value();
    r.layout = shown;
    const SectionResistance section = layoutSection(column, m, shown, kUltimateTensileStrain);
    double highest = -1.0;
    const std::vector<CombinationDemand>& shownDemands =
        demands.forCornerDiameter(shown.choice.cornerDiameter);
    for (std::size_t k = 0; k < shownDemands.size(); ++k) {
        const CombinationDemand& d = shownDemands[k];
        r.combinations.push_back(
            winner
                ? checkCombination(section, shown, d, m, r.limits, winnerCapacities[k], gammas[k])
                : checkCombination(section, shown, d, m, r.limits, gammas[k]));
        r.combinations.back().kind = combinations[k].kind;
        const double figure = governingFigure(r.combinations.back());
        if (figure > highest) {
            highest = figure;
            r.governing = static_cast<int>(r.combinations.size()) - 1;
        }
    }
    if (!r.designed) {
        r.reason = {NoLayoutKind::NotCarried, r.governing, highest, shown.ratio};
    }
    return r;
}

}  // namespace tessarin
