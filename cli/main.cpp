#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_main.h"
#include "platform/standard_streams.h"

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    tessarin::prepareStandardStreams();
    const std::vector<std::string> arguments = tessarin::commandLineArguments(argc, argv);
    const int code = tessarin::runCli(arguments, std::cout, std::cerr, tessarin::processStreams());
    std::cout.flush();
    return code;
}
