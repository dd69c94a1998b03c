#pragma once

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

// Runs program with input on its stdin and gives what it wrote on its stdout. The program
// reads all of its input before it writes, so filling one pipe and then draining the other
// cannot block both. False with reason set when it cannot run, or ends other than with exit 0.
bool runFilter(const std::string& program, const std::string& input, std::string& output,
               std::string& reason);

// The current working folder (UTF-8); empty when it cannot be named (it was removed).
std::string currentFolder();
// Whether path names its place from the root ("/x", "C:\\x", "\\\\server\\x"), not from the
// current folder.
bool isAbsolutePath(const std::string& path);

// The local calendar time of a moment.
std::tm localTime(std::time_t moment);

}  // namespace tessarin
