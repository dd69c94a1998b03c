// Batch design end to end, in process: a generated CSV file of cases read, checked, designed and
// written as results CSV. Counters: rows per second and the peak resident memory of the process.
// The cases: a building of four combinations per column, five million columns of one row each
// (as many ids as rows), and two million rows whose columns' combinations do not stand together.
// The memory figures of the README come from /usr/bin/time -v around tessarin-cli on the same
// files; peakRSS_MB here is the peak of the whole benchmark process so far.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "batch/batch_run.h"
#include "batch/gb2010_batch.h"

using namespace tessarin;

namespace {

std::string generatedFile(long long rows, long long combinations, bool interleaved,
                          const char* mode = nullptr) {
    const char* kind = mode != nullptr ? mode : (interleaved ? "interleaved" : "");
    const std::string name = "tessarin-bench-" + std::to_string(rows) + "-" +
                             std::to_string(combinations) + (*kind != 0 ? "-" : "") + kind + ".csv";
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    if (!std::filesystem::exists(path)) {
        const std::string command = std::string(TESSARIN_GENERATOR) + " " + std::to_string(rows) +
                                    " " + path + " " + std::to_string(combinations) +
                                    (*kind != 0 ? " " : "") + kind;
        if (std::system(command.c_str()) != 0) return {};
    }
    return path;
}

void runOn(benchmark::State& state, long long combinations, bool interleaved, bool check = false) {
    const long long rows = state.range(0);
    const std::string input = generatedFile(rows, combinations, interleaved);
    if (input.empty()) {
        state.SkipWithError("cannot generate the input file");
        return;
    }
    BatchOptions options;
    options.input = input;
    options.output = "/dev/null";
    options.check = check;
    std::ostringstream out;
    for (auto _ : state) {
        const BatchOutcome outcome = runBatch(options, out);
        if (outcome.status != BatchOutcome::Status::AllAccepted &&
            outcome.status != BatchOutcome::Status::SomeRejected) {
            state.SkipWithError(outcome.message.c_str());
        }
    }
    state.counters["rows/s"] =
        benchmark::Counter(static_cast<double>(rows) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peakRSS_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void batchDesign(benchmark::State& state) {
    runOn(state, 4, false);
}

// Budget: under 50 MB whatever the number of ids.
void batchDistinctIds(benchmark::State& state) {
    runOn(state, 1, false);
}

void batchInterleavedIds(benchmark::State& state) {
    runOn(state, 2, true);
}

BENCHMARK(batchDesign)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(batchDistinctIds)->Arg(5000000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(batchInterleavedIds)->Arg(2000000)->Unit(benchmark::kMillisecond)->Iterations(1);

// The same with the section check of every row (--check): goal at least 20,000 rows/s.
void batchDesignWithCheck(benchmark::State& state) {
    runOn(state, 4, false, true);
}

BENCHMARK(batchDesignWithCheck)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

// The current-code batch: columns of four combinations, one layout chosen per column. The goal is
// 2,000 columns a second on one core.
void batchGb2010(benchmark::State& state) {
    const long long rows = state.range(0);
    const std::string input = generatedFile(rows, 4, false, "code");
    if (input.empty()) {
        state.SkipWithError("cannot generate the input file");
        return;
    }
    BatchOptions options;
    options.input = input;
    options.output = "/dev/null";
    std::ostringstream out;
    for (auto _ : state) {
        const BatchOutcome outcome = runGb2010Batch(options, {}, out);
        if (outcome.status == BatchOutcome::Status::Unusable ||
            outcome.status == BatchOutcome::Status::FileFailed) {
            state.SkipWithError(outcome.message.c_str());
        }
    }
    state.counters["columns/s"] = benchmark::Counter(
        static_cast<double>(rows) / 4.0 * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
}
BENCHMARK(batchGb2010)->Arg(8000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
