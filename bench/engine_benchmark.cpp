// The design engine alone and the whole calculate command with its report file.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/bench_scratch.h"
#include "engine/column_calculator.h"
#include "run/calculate_command.h"
#include "run/run_host.h"

using namespace tessarin;

namespace {

// Step 1 plus the layout of the start-up design case, no file I/O.
void engineDesign(benchmark::State& state) {
    ColumnCalculator c;
    for (auto _ : state) {
        c.setSteelGrade(3);
        c.setConcreteGrade(30);
        c.setGeometry(6000.0, 400.0, 600.0);
        c.setLoads(244.0, 120.0, 400.0);
        c.setBarDistances(40.0, 40.0);
        c.computeStep1();
        c.computeStep2(1, 22.0, 0.0, 0.0);
        benchmark::DoNotOptimize(c.Asx);
    }
    state.counters["designs/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(engineDesign);

// A host that accepts the start values and OK at once, and keeps the report.
class QuietHost : public RunHost {
  public:
    std::size_t shown = 0;
    bool exchangeFields(DesignInput&) override { return true; }
    MessageAnswer showMessage(const Message&) override { return MessageAnswer::No; }
    void focusControl(ControlId) override {}
    std::optional<SchemeChoice> chooseScheme() override { return SchemeChoice{}; }
    void showReport(const std::string& gbkBytes) override { shown += gbkBytes.size(); }
};

// The whole calculate command: checks, both steps, the report written and read back.
void calculateCommand(benchmark::State& state) {
    const BenchScratch scratch;
    if (!scratch.ok()) {
        state.SkipWithError("cannot make a scratch directory");
        return;
    }
    DesignSession session;
    QuietHost host;
    const std::string report = scratch.file(kReportFileName);
    for (auto _ : state) {
        if (onCalculate(session, host, report) != RunOutcome::Done) {
            state.SkipWithError("run failed");
        }
    }
    state.counters["runs/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(calculateCommand);

}  // namespace

BENCHMARK_MAIN();
