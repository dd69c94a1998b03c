#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <vector>

#include "engine/column_calculator.h"
#include "engine/section/demand_capacity.h"
#include "engine/section/section_check.h"
#include "engine/section/section_resistance.h"
#include "engine/section/ultimate_contour.h"

using namespace tessarin;

namespace {

// The start-up design case after step 2, 22 mm corner bars.
ColumnCalculator startUpCase() {
    ColumnCalculator c;
    c.setSteelGrade(3);
    c.setConcreteGrade(30);
    c.setGeometry(6000.0, 400.0, 600.0);
    c.setLoads(244.0, 120.0, 400.0);
    c.setBarDistances(40.0, 40.0);
    c.computeStep1();
    c.computeStep2(1, 22.0, 0.0, 0.0);
    return c;
}

// The resistance model of the start-up layout.
SectionResistance startUpSection() {
    const SectionCheckResult r =
        SectionCheck(startUpCase().design()).run(SectionCheck::Contour::Skipped);
    std::vector<SectionBar> bars;
    for (const CheckedBar& bar : r.bars) bars.push_back({bar.u, bar.v, bar.area});
    return {{r.b, r.h}, r.concrete, r.steel, bars};
}

// One check in the demand's moment direction, the start-up demand (400 kN, 268 and 151.14
// kN*m). Goal: at most 50 us.
void demandDirectionStartUp(benchmark::State& state) {
    const SectionResistance section = startUpSection();
    for (auto _ : state) {
        DemandCapacity d = capacityInDemandDirection(section, 400e3, 268e6, 151.142857e6);
        benchmark::DoNotOptimize(d);
    }
}
BENCHMARK(demandDirectionStartUp)->Unit(benchmark::kMicrosecond);

// The same over a spread of demands: axial ratios 0.05 to 0.85 of N0 and moment directions all
// round (pure Mx and My among them), cycled.
void demandDirectionSpread(benchmark::State& state) {
    const SectionResistance section = startUpSection();
    const double squash = section.squashLoad();
    std::vector<std::array<double, 3>> demands;
    for (int i = 0; i < 17; ++i) {
        for (int k = 0; k < 24; ++k) {
            const double direction = 15.0 * k * 3.141592653589793 / 180.0;
            demands.push_back(
                {(0.05 + 0.05 * i) * squash, 1e8 * std::cos(direction), 1e8 * std::sin(direction)});
        }
    }
    std::size_t next = 0;
    for (auto _ : state) {
        const std::array<double, 3>& d = demands[next];
        DemandCapacity c = capacityInDemandDirection(section, d[0], d[1], d[2]);
        benchmark::DoNotOptimize(c);
        next = (next + 1) % demands.size();
    }
}
BENCHMARK(demandDirectionSpread)->Unit(benchmark::kMicrosecond);

// The 72-point contour at the start-up N, as the dialog draws it. Goal: at most 1 ms.
void contourStartUp(benchmark::State& state) {
    const UltimateContour contour(startUpSection(), 400e3);
    std::vector<double> directions;
    for (int k = 0; k < SectionCheck::kContourPoints; ++k) {
        directions.push_back(SectionCheck::kContourStepDegrees * k * 3.141592653589793 / 180.0);
    }
    for (auto _ : state) {
        std::vector<UltimateState> states = contour.inMomentDirections(directions);
        benchmark::DoNotOptimize(states);
    }
}
BENCHMARK(contourStartUp)->Unit(benchmark::kMicrosecond);

// The check as batch runs it: layout, N0 and the capacity in the demand direction, no contour.
void sectionCheckStartUpWithoutContour(benchmark::State& state) {
    const ColumnCalculator c = startUpCase();
    for (auto _ : state) {
        SectionCheckResult r = SectionCheck(c.design()).run(SectionCheck::Contour::Skipped);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(sectionCheckStartUpWithoutContour)->Unit(benchmark::kMicrosecond);

// The whole check: layout, N0, capacity in the demand direction and the 72-point contour.
// Goal: under 20 ms.
void sectionCheckStartUp(benchmark::State& state) {
    const ColumnCalculator c = startUpCase();
    for (auto _ : state) {
        SectionCheckResult r = SectionCheck(c.design()).run();
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(sectionCheckStartUp)->Unit(benchmark::kMillisecond);

// The same with 60 x 60 midpoint fibres in place of the exact strip integration.
void sectionCheckStartUpFibres(benchmark::State& state) {
    const ColumnCalculator c = startUpCase();
    for (auto _ : state) {
        SectionCheckResult r = SectionCheck(c.design(), ConcreteIntegration{false, 60, 60}).run();
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(sectionCheckStartUpFibres)->Unit(benchmark::kMillisecond);

// One strain plane: the unit every search is built from.
void forcesAtOnePlane(benchmark::State& state) {
    const SectionCheckResult r = SectionCheck(startUpCase().design()).run();
    std::vector<SectionBar> bars;
    for (const CheckedBar& bar : r.bars) bars.push_back({bar.u, bar.v, bar.area});
    const SectionResistance section({r.b, r.h}, r.concrete, r.steel, bars);
    double angle = 0.0;
    for (auto _ : state) {
        SectionForces f = section.forcesAt({angle, 250.0});
        benchmark::DoNotOptimize(f);
        angle += 0.001;
    }
}
BENCHMARK(forcesAtOnePlane)->Unit(benchmark::kMicrosecond);

}  // namespace
