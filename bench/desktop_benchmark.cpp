// The desktop program, offscreen: from "计算" to the report in the result box (the scheme dialog
// accepted at once, as OK does), the peak resident memory of the process, and the time from
// starting the real program to its main dialog on screen.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/bench_scratch.h"
#include "ui/main_dialog.h"

using namespace tessarin;

extern char** environ;

namespace {

void calculateToReport(benchmark::State& state) {
    const BenchScratch scratch;
    if (!scratch.ok()) {
        state.SkipWithError("cannot make a scratch directory");
        return;
    }
    {
        MainDialog dialog;
        dialog.setReportPath(scratch.file(kReportFileName));
        dialog.show();
        ReinforcementSchemeDialog& scheme = dialog.schemeDialog();
        for (auto _ : state) {
            QTimer::singleShot(0, &scheme, [&scheme] { scheme.accept(); });
            if (dialog.calculate() != RunOutcome::Done) state.SkipWithError("run failed");
        }
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peakRSS_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(calculateToReport)->Unit(benchmark::kMillisecond)->UseRealTime();

// Process start to the main dialog painted, for the real program (offscreen).
void startToMainDialog(benchmark::State& state) {
    std::string program = TESSARIN_APP;
    char* argv[] = {program.data(), nullptr};
    setenv("TESSARIN_REPORT_SHOWN", "1", 1);
    for (auto _ : state) {
        int out[2];
        if (pipe(out) != 0) {
            state.SkipWithError("pipe failed");
            break;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        pid_t pid = 0;
        const int started = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        if (started != 0) {
            close(out[0]);
            state.SkipWithError("cannot start tessarin");
            break;
        }
        char line[16] = {};
        const ssize_t got = read(out[0], line, sizeof line - 1);  // blocks until "shown"
        state.PauseTiming();
        close(out[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        if (got <= 0 || std::string(line).rfind("shown", 0) != 0) {
            state.SkipWithError("tessarin did not report its window");
        }
        state.ResumeTiming();
    }
    unsetenv("TESSARIN_REPORT_SHOWN");
}
BENCHMARK(startToMainDialog)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
