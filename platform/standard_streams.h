#pragma once

#include <string>
#include <vector>

namespace tessarin {

// Makes the standard streams carry the program's output as it is meant: UTF-8 text with LF line
// ends. On Windows, a file or a pipe gets exactly these bytes (no CR LF translation), as on Linux;
// a console shows the text through the console's Unicode interface, so the Chinese reads right
// whatever the console's code page. Nothing to do on Linux. Call first thing in main().
void prepareStandardStreams();

// Whether standard error is a terminal (a console on Windows), where a progress line belongs.
bool standardErrorIsTerminal();

// The program's arguments (without its name), as UTF-8 like every other text the program
// handles: on Windows, where main() gets them in the ANSI code page, they are taken from the wide
// command line instead, file names included (platform/ opens files by their UTF-16 names).
std::vector<std::string> commandLineArguments(int argc, char** argv);

}  // namespace tessarin
