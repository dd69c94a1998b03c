#include <benchmark/benchmark.h>

#include <vector>

#include "engine/gb2010/stirrup_design.h"

using namespace tessarin;

namespace {

// Ten combinations of one column: gravity, wind and seismic kinds, shear about one axis or both,
// one in tension.
const std::vector<ShearCombination>& tenCombinations() {
    using K = ShearCombinationKind;
    static const std::vector<ShearCombination> loads = {
        {2800.0, 120.0, 80.0, K::Seismic},     {1800.0, 260.0, 40.0, K::NonSeismic},
        {2600.0, 30.0, 210.0, K::Seismic},     {900.0, 200.0, 150.0, K::Unspecified},
        {300.0, 280.0, 10.0, K::NonSeismic},   {1200.0, 120.0, 160.0, K::Seismic},
        {2000.0, 150.0, 90.0, K::Unspecified}, {600.0, 90.0, 200.0, K::Seismic},
        {1500.0, 220.0, 30.0, K::NonSeismic},  {-150.0, 80.0, 60.0, K::Seismic},
    };
    return loads;
}

// A grade 二 corner column of a frame, 600 x 600, C35, 4C25 + 4C22 on each face (6 bars a face:
// 4 to 6 legs each way), Hn 3600. Goal: the whole stirrup choice under 5 ms.
void chooseStirrupsTenCombinations(benchmark::State& state) {
    StirrupColumn column;
    column.b = 600.0;
    column.h = 600.0;
    column.concreteGrade = 35;
    column.bars = {25, 22, 4, 22, 4};
    column.seismic = SeismicGrade::Two;
    column.position = ColumnPosition::Corner;
    column.hn = 3600.0;
    column.lambdaX = 3.2;
    column.lambdaY = 3.2;
    for (auto _ : state) {
        StirrupDesign d = designStirrups(column, tenCombinations());
        benchmark::DoNotOptimize(d);
    }
}
BENCHMARK(chooseStirrupsTenCombinations)->Unit(benchmark::kMicrosecond);

// The same section without a seismic grade, with more bars (8 a face: 2 to 8 legs each way),
// the widest search.
void chooseStirrupsManyBars(benchmark::State& state) {
    StirrupColumn column;
    column.b = 800.0;
    column.h = 800.0;
    column.concreteGrade = 35;
    column.bars = {25, 22, 6, 22, 6};
    column.hn = 3600.0;
    for (auto _ : state) {
        StirrupDesign d = designStirrups(column, tenCombinations());
        benchmark::DoNotOptimize(d);
    }
}
BENCHMARK(chooseStirrupsManyBars)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
