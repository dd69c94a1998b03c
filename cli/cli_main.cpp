#include "cli/cli_main.h"

#include <ostream>

#include "cli/batch_design.h"
#include "cli/book_output.h"
#include "cli/cli_options.h"
#include "cli/console_host.h"
#include "engine/section/section_check.h"
#include "report/book/design_book.h"
#include "report/section_check_text.h"
#include "run/calculate_command.h"

namespace tessarin {

namespace {

int bookFailure(const FileResult& failure, std::ostream& err) {
    err << "tessarin-cli: cannot write the calculation book " << failure.fileName << ": "
        << failure.reason << '\n';
    return kExitFile;
}

}  // namespace

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
    const CliOptions& options = parse.options;
    // A book that cannot be written stops the command before it designs anything.
    if (options.book) {
        const FileResult target = checkBookTarget(*options.book);
        if (!target.ok) return bookFailure(target, err);
    }
    DesignSession session;
    ConsoleHost host(options.input, options.scheme, out, err);
    switch (onCalculate(session, host)) {
        case RunOutcome::Done: {
            std::optional<SectionCheckResult> check;
            if (options.check) {
                // The book draws the contour; the text alone does without it.
                check = SectionCheck(*session.design)
                            .run(options.book ? SectionCheck::Contour::computed
                                              : SectionCheck::Contour::skipped);
                out << formatSectionCheckSummary(*check);
            }
            out.flush();
            if (options.book && session.design) {
                const BookCase bookCase{*session.design,
                                        session.scheme.diameter,
                                        session.scheme.ratioX,
                                        session.scheme.ratioY,
                                        0,
                                        check};
                const BookInfo info{options.project, options.columnId, todayText()};
                const FileResult written =
                    writeBookFile(buildDesignBook(info, {&bookCase, 1}), *options.book);
                if (!written.ok) return bookFailure(written, err);
            }
            return kExitDone;
        }
        case RunOutcome::FieldRejected:
        case RunOutcome::InputRejected:
            return kExitRejected;
        case RunOutcome::FileFailed:
            return kExitFile;
    }
    return kExitFile;
}

}  // namespace tessarin
