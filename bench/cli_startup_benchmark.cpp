// tessarin-cli for the start-up design case as a whole process: start, design, write and read
// the report, print it, exit. Wall time per run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "bench/bench_scratch.h"

using namespace tessarin;

extern char** environ;

namespace {

void cliStartUpCase(benchmark::State& state) {
    const BenchScratch scratch;
    if (!scratch.ok()) {
        state.SkipWithError("cannot make a scratch directory");
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    // The program writes Result.txt in its own current directory, the scratch one.
    posix_spawn_file_actions_addchdir_np(&actions, scratch.path().c_str());
    std::string program = TESSARIN_CLI;
    char* argv[] = {program.data(), nullptr};
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start tessarin-cli");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("tessarin-cli failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}
BENCHMARK(cliStartUpCase)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
