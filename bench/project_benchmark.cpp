#include <benchmark/benchmark.h>

#include <atomic>
#include <vector>

#include "project/project_file.h"
#include "views/column_design.h"

using namespace tessarin;

namespace {

// A building of 500 columns of four combinations each: sections from 400 x 400 to 700 x 800,
// C30 to C50, every fifth column seismic grade 二, gravity, wind and seismic kinds of loads.
// Goals: 设计全部 under 1 s on one core of the release build; the file written and read, each
// well under the 100 ms the window may be held.
const Project& building() {
    static const Project project = [] {
        Project p;
        p.info.name = "某住宅楼";
        for (int i = 0; i < 500; ++i) {
            ProjectColumn column;
            column.mark = "KZ" + std::to_string(i + 1);
            column.column.b = 400.0 + 50.0 * (i % 7);
            column.column.h = 400.0 + 50.0 * (i % 9);
            column.column.l0 = 3000.0 + 300.0 * (i % 6);
            column.column.concreteGrade = 30 + 5 * (i % 5);
            if (i % 5 == 0) column.column.seismic = SeismicGrade::Two;
            const double scale = 1.0 + 0.1 * (i % 10);
            column.combinations = {{1200.0 * scale, 150.0 * scale, 1.0, 80.0 * scale, 1.0},
                                   {2400.0 * scale, 60.0 * scale, 0.4, 40.0 * scale, 0.4},
                                   {600.0 * scale, 200.0 * scale, -0.5, 120.0 * scale, -0.3},
                                   {1800.0 * scale, 120.0 * scale, 0.8, 160.0 * scale, 0.2}};
            p.columns.push_back(std::move(column));
        }
        return p;
    }();
    return project;
}

void designBuilding(benchmark::State& state) {
    const std::atomic<bool> cancel{false};
    for (auto _ : state) {
        auto outcomes = designProjectColumns(building().columns, cancel);
        benchmark::DoNotOptimize(outcomes);
    }
}
BENCHMARK(designBuilding)->Unit(benchmark::kMillisecond);

void writeBuilding(benchmark::State& state) {
    for (auto _ : state) {
        std::string text = projectJson(building());
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(writeBuilding)->Unit(benchmark::kMillisecond);

void readBuilding(benchmark::State& state) {
    const std::string text = projectJson(building());
    for (auto _ : state) {
        ProjectReading reading = readProjectText(text, "b.tsn");
        benchmark::DoNotOptimize(reading);
    }
}
BENCHMARK(readBuilding)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
