#include "cli/cli_main.h"

#include <cstring>
#include <ostream>

#include "cli/batch_design.h"
#include "cli/cli_options.h"
#include "cli/console_host.h"
#include "engine/section/section_check.h"
#include "run/calculate_command.h"

namespace tessarin {

int runCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const CliParse parse = parseCliArguments(arguments);
    switch (parse.kind) {
        case CliParse::Kind::Help:
            out << parse.text;
            return kExitDone;
        case CliParse::Kind::UsageError:
            err << "tessarin-cli: " << parse.text << "\nRun with --help for more information.\n";
            return kExitUsage;
        case CliParse::Kind::Batch:
            return runBatch(parse.batch, out, err);
        case CliParse::Kind::Run:
            break;
    }
    DesignSession session;
    ConsoleHost host(parse.options.input, parse.options.scheme, out, err);
    switch (onCalculate(session, host)) {
        case RunOutcome::Done:
            if (parse.options.check && session.design->finite()) {
                host.print(formatSectionCheckSummary(
                    SectionCheck(*session.design).run(SectionCheck::Contour::skipped)));
            } else if (parse.options.check) {
                err << "tessarin-cli: no section check: the design is not finite\n";
            }
            // The report that could not be printed is a failed run, as in batch mode.
            if (host.outputError() != 0) {
                err << "tessarin-cli: cannot write stdout: " << std::strerror(host.outputError())
                    << '\n';
                return kExitFile;
            }
            return kExitDone;
        case RunOutcome::FieldRejected:
        case RunOutcome::InputRejected:
            return kExitRejected;
        case RunOutcome::FileFailed:
            return kExitFile;
    }
    return kExitFile;
}

}  // namespace tessarin
