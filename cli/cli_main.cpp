#include "cli/cli_main.h"

#include <ostream>

#include "cli/batch_design.h"
#include "cli/cli_options.h"
#include "cli/console_host.h"
#include "cli/current_code_run.h"
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
        case CliParse::Kind::CurrentCode:
            return runCurrentCode(parse.currentCode, out, err);
        case CliParse::Kind::Run:
            break;
    }
    DesignSession session;
    ConsoleHost host(parse.options.input, parse.options.scheme, out, err);
    switch (onCalculate(session, host)) {
        case RunOutcome::Done:
            if (parse.options.check) {
                out << formatSectionCheckSummary(
                    SectionCheck(*session.design).run(SectionCheck::Contour::skipped));
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
