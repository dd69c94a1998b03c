#include <benchmark/benchmark.h>

#include <vector>

#include "engine/gb2010/gb2010_design.h"

using namespace tessarin;

namespace {

// The start-up column (400 x 600, l0 6000, C30, HRB400) under ten combinations of gravity,
// wind and seismic kinds: small and large N, moments about one axis or both, single and double
// curvature. Goal: the whole design, every layout tried, at most 20 ms.
const std::vector<LoadCombination>& tenCombinations() {
    static const std::vector<LoadCombination> loads = {
        {400.0, 244.0, 1.0, 120.0, 1.0},  {1800.0, 60.0, 0.4, 40.0, 0.4},
        {2600.0, 30.0, -0.5, 20.0, -0.5}, {900.0, 200.0, 1.0, 150.0, 0.8},
        {300.0, 280.0, 0.9, 10.0, 1.0},   {1200.0, 120.0, -1.0, 160.0, 0.2},
        {2000.0, 150.0, 0.6, 90.0, 0.6},  {600.0, 90.0, 0.0, 200.0, 1.0},
        {1500.0, 220.0, 1.0, 30.0, -0.3}, {100.0, 150.0, 1.0, 80.0, 1.0},
    };
    return loads;
}

void designTenCombinations(benchmark::State& state) {
    const Gb2010Column column;
    for (auto _ : state) {
        Gb2010Design d = designGb2010(column, tenCombinations());
        benchmark::DoNotOptimize(d);
    }
}
BENCHMARK(designTenCombinations)->Unit(benchmark::kMillisecond);

// The same column as a grade 二 corner column of a frame-shear wall structure: axial-ratio limit
// 0.85, a higher minimum ratio and 200 mm spacing on the 600 mm faces.
void designTenCombinationsSeismic(benchmark::State& state) {
    Gb2010Column column;
    column.seismic = SeismicGrade::Two;
    column.structure = StructureType::Dual;
    column.position = ColumnPosition::Corner;
    for (auto _ : state) {
        Gb2010Design d = designGb2010(column, tenCombinations());
        benchmark::DoNotOptimize(d);
    }
}
BENCHMARK(designTenCombinationsSeismic)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
