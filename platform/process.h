#pragma once

#include <chrono>
#include <cstddef>
#include <ctime>
#include <string>

namespace tessarin {

// The running program and the programs it runs (see file_system.h for the rule of platform/).

// The folder of the running executable; empty when it cannot be told.
std::string executableFolder();
// Whether the file at path can be run as a program.
bool isExecutable(const std::string& path);
// Whether this system can run a helper program at all (runFilter below).
bool canRunPrograms();

// How much a helper program may write and how long it may take.
struct FilterLimits {
    std::size_t maxOutputBytes = std::size_t{256} << 20;
    std::chrono::milliseconds time{120000};
};

// How a helper program's run ended.
enum class FilterOutcome {
    Done,       // exit 0; output holds what it wrote
    CannotRun,  // it could not be started (reason says why)
    Failed,     // it ended otherwise than with exit 0, or a pipe failed
    TooLarge,   // it wrote more than the limit and was stopped
    TimedOut,   // it took longer than the limit and was stopped
};

// Runs program with input on its stdin and gives what it wrote on its stdout. Its input is sent
// and its output read as each pipe allows, so a program that writes before it has read everything,
// or reads nothing at all, blocks neither; one that writes more than the limit or takes longer is
// killed.
FilterOutcome runFilter(const std::string& program, const std::string& input, std::string& output,
                        std::string& reason, const FilterLimits& limits = {});

// The current working folder (UTF-8); empty when it cannot be named (it was removed).
std::string currentFolder();
// Whether path names its place from the root ("/x", "C:\\x", "\\\\server\\x"), not from the
// current folder.
bool isAbsolutePath(const std::string& path);

// The local calendar time of a moment.
std::tm localTime(std::time_t moment);

}  // namespace tessarin
