#include <benchmark/benchmark.h>

#include <vector>

#include "engine/column_calculator.h"
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
