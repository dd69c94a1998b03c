// Batch design end to end, in process: a generated CSV file of cases read, checked, designed and
// written as results CSV. Counters: rows per second and the peak resident memory of the process.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "cli/batch_design.h"

using namespace tessarin;

namespace {

std::string generatedFile(long long rows) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("tessarin-bench-" + std::to_string(rows) + ".csv"))
                                 .string();
    if (!std::filesystem::exists(path)) {
        const std::string command =
            std::string(TESSARIN_GENERATOR) + " " + std::to_string(rows) + " " + path;
        if (std::system(command.c_str()) != 0) return {};
    }
    return path;
}

void batchDesign(benchmark::State& state) {
    const long long rows = state.range(0);
    const std::string input = generatedFile(rows);
    if (input.empty()) {
        state.SkipWithError("cannot generate the input file");
        return;
    }
    BatchOptions options;
    options.input = input;
    options.output = "/dev/null";
    std::ostringstream out, err;
    for (auto _ : state) {
        const int code = runBatch(options, out, err);
        if (code != 0 && code != 4) state.SkipWithError("the batch failed");
    }
    state.counters["rows/s"] =
        benchmark::Counter(static_cast<double>(rows) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peakRSS_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

BENCHMARK(batchDesign)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

// The same with the section check of every row (--check): goal at least 20,000 rows/s.
void batchDesignWithCheck(benchmark::State& state) {
    const long long rows = state.range(0);
    const std::string input = generatedFile(rows);
    if (input.empty()) {
        state.SkipWithError("cannot generate the input file");
        return;
    }
    BatchOptions options;
    options.input = input;
    options.output = "/dev/null";
    options.check = true;
    std::ostringstream out, err;
    for (auto _ : state) {
        const int code = runBatch(options, out, err);
        if (code != 0 && code != 4) state.SkipWithError("the batch failed");
    }
    state.counters["rows/s"] =
        benchmark::Counter(static_cast<double>(rows) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}

BENCHMARK(batchDesignWithCheck)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
