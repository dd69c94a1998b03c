#include "cli/cli_main.h"

#include <cstring>
#include <ostream>

#include "batch/batch_sink.h"
#include "batch/gb2010_batch.h"
#include "book/design_book.h"
#include "cli/batch_command.h"
#include "cli/batch_outputs.h"
#include "cli/book_output.h"
#include "cli/cli_options.h"
#include "cli/console_host.h"
#include "cli/gb2010_run.h"
#include "cli/output_clash.h"
#include "engine/section/section_check.h"
#include "platform/standard_streams.h"
#include "project/project_file.h"
#include "report/section_check_text.h"
#include "run/calculate_command.h"

namespace tessarin {

namespace {

// --schedule FILE: refused before anything runs when it cannot be written.
bool scheduleTargetRefused(const BatchFileOptions& files, std::ostream& err) {
    if (!files.schedule) return false;
    const FileResult target = checkScheduleTarget(*files.schedule);
    if (target.ok) return false;
    err << "tessarin-cli: cannot write the column schedule " << target.fileName << ": "
        << target.reason << '\n';
    return true;
}

// The schedule gathered while the batch ran, written once it has designed every column; a batch
// that stopped on its input or a file writes none.
BatchOutcome withSchedule(BatchOutcome outcome, const std::optional<ColumnSchedule>& schedule,
                          const BatchFileOptions& files, const BookInfo& info,
                          const BatchOptions& options) {
    if (!schedule || outcome.status == BatchOutcome::Status::Unusable ||
        outcome.status == BatchOutcome::Status::FileFailed) {
        return outcome;
    }
    const FileResult written = writeBatchSchedule(*schedule, *files.schedule, info, options);
    if (!written.ok) {
        const char* what =
            written.action == FileAction::Create ? "cannot create " : "cannot write ";
        return {BatchOutcome::Status::FileFailed, what + written.fileName + ": " + written.reason};
    }
    return outcome;
}

// --batch, with or without --code 2010. The books' directory is made before anything runs.
int runBatchKind(const CliParse& parse, std::ostream& out, std::ostream& err,
                 const CliStreams& streams) {
    BatchOptions options = parse.batch;
    options.streamFile = streams.outFile;
    const BatchFileOptions& files = parse.batchFiles;
    if (files.booksDir) {
        // PDF books need their writer program: refused before any row runs.
        const FileResult writer = checkBookWriter(bookFormatOf(files.bookSuffix));
        if (!writer.ok) {
            err << "tessarin-cli: cannot write the calculation books: " << writer.reason << '\n';
            return kExitFile;
        }
        if (auto failed = createOutputDirectory(*files.booksDir, "book directory")) {
            err << "tessarin-cli: " << failed->message << '\n';
            return kExitFile;
        }
        if (auto refused = refuseCaseFolder(*files.booksDir, ".html", "book directory", options,
                                            CaseFolderInput::Checked)) {
            err << "tessarin-cli: " << refused->message << '\n';
            return kExitUsage;
        }
    }
    if (parse.kind == CliParse::Kind::Batch) {
        std::optional<BatchBooks> books;
        if (files.booksDir) {
            books.emplace(*files.booksDir, files.project, files.bookSuffix, options);
            options.columnOutputs = &*books;
        }
        return runBatchCommand(
            [&](const BatchProgressListener& progress) { return runBatch(options, out, progress); },
            err, streams.errIsTerminal);
    }
    if (scheduleTargetRefused(files, err)) return kExitFile;
    Gb2010BatchFiles codeFiles;
    codeFiles.reportDir = options.reportDir;
    codeFiles.dxfDir = files.dxfDir;
    std::optional<Gb2010Books> books;
    if (files.booksDir) {
        books.emplace(*files.booksDir, files.project, files.bookSuffix, options);
        codeFiles.outputs = &*books;
    }
    std::optional<ColumnSchedule> schedule;
    std::optional<ScheduleOutputs> scheduling;
    if (files.schedule) {
        schedule.emplace();
        codeFiles.outputs = &scheduling.emplace(*schedule, codeFiles.outputs);
    }
    return runBatchCommand(
        [&](const BatchProgressListener& progress) {
            return withSchedule(runGb2010Batch(options, codeFiles, out, progress), schedule, files,
                                BookInfo{files.project, {}, todayText()}, options);
        },
        err, streams.errIsTerminal);
}

// --open: the project designed as the current-code batch designs its cases.
int runOpenProject(const CliParse& parse, std::ostream& out, std::ostream& err,
                   const CliStreams& streams) {
    const ProjectReading reading = loadProjectFile(parse.projectFile);
    if (!reading.project) {
        err << "tessarin-cli: " << reading.error << '\n';
        return kExitFile;
    }
    const Project& project = *reading.project;
    BatchOptions options = parse.batch;
    options.streamFile = streams.outFile;
    const BatchFileOptions& files = parse.batchFiles;
    if (files.booksDir) {
        if (auto failed = createOutputDirectory(*files.booksDir, "book directory")) {
            err << "tessarin-cli: " << failed->message << '\n';
            return kExitFile;
        }
    }
    if (scheduleTargetRefused(files, err)) return kExitFile;
    Gb2010BatchFiles codeFiles;
    codeFiles.reportDir = options.reportDir;
    codeFiles.dxfDir = files.dxfDir;
    std::optional<Gb2010Books> books;
    const std::string projectName = parse.projectNamed ? files.project : project.info.name;
    if (files.booksDir) {
        // The title page as the project window's books have it: the project's name (or that of
        // --project), 子项/设计号 and the names of 设计, 校对 and 审核.
        BookInfo title{parse.projectNamed ? files.project : project.info.name, {}, {}};
        title.subProject = project.info.number;
        title.designer = project.info.designer;
        title.checker = project.info.checker;
        title.reviewer = project.info.reviewer;
        books.emplace(*files.booksDir, std::move(title), files.bookSuffix, options);
        codeFiles.outputs = &*books;
    }
    std::optional<ColumnSchedule> schedule;
    std::optional<ScheduleOutputs> scheduling;
    if (files.schedule) {
        schedule.emplace();
        codeFiles.outputs = &scheduling.emplace(*schedule, codeFiles.outputs);
    }
    BookInfo info{projectName, {}, todayText()};
    info.subProject = project.info.number;
    info.designer = project.info.designer;
    info.checker = project.info.checker;
    info.reviewer = project.info.reviewer;
    return runBatchCommand(
        [&](const BatchProgressListener& progress) {
            return withSchedule(
                runProjectBatch(project, parse.projectFile, options, codeFiles, out, progress),
                schedule, files, info, options);
        },
        err, streams.errIsTerminal);
}

// --save-project: a cases file written as a project; nothing is designed.
int runSaveProject(const CliParse& parse, std::ostream& err) {
    CasesProject cases = readCasesProject(parse.batch.input);
    if (!cases.project) {
        err << "tessarin-cli: " << cases.error << '\n';
        switch (cases.status) {
            case CasesProject::Status::FileFailed:
                return kExitFile;
            case CasesProject::Status::Unusable:
                return kExitUsage;
            case CasesProject::Status::Read:
            case CasesProject::Status::Rejected:
                break;
        }
        return kExitRejected;
    }
    if (parse.projectNamed) cases.project->info.name = parse.batchFiles.project;
    const FileResult written = saveProjectFile(parse.projectFile, *cases.project);
    if (!written.ok) {
        err << "tessarin-cli: cannot write " << written.fileName << ": " << written.reason << '\n';
        return kExitFile;
    }
    return kExitDone;
}

}  // namespace

CliStreams processStreams() {
    return {identityOfStandardOutput(), standardErrorIsTerminal()};
}

int runCli(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
           const CliStreams& streams) {
    const CliParse parse = parseCliArguments(arguments);
    switch (parse.kind) {
        case CliParse::Kind::Help:
            out << parse.text;
            return kExitDone;
        case CliParse::Kind::UsageError:
            err << "tessarin-cli: " << parse.text << "\nRun with --help for more information.\n";
            return kExitUsage;
        case CliParse::Kind::Batch:
        case CliParse::Kind::Gb2010Batch:
            return runBatchKind(parse, out, err, streams);
        case CliParse::Kind::Gb2010:
            return runGb2010(parse.gb2010, out, err, streams.outFile);
        case CliParse::Kind::OpenProject:
            return runOpenProject(parse, out, err, streams);
        case CliParse::Kind::SaveProject:
            return runSaveProject(parse, err);
        case CliParse::Kind::Run:
            break;
    }
    const CliOptions& options = parse.options;
    // The book never replaces the report, nor the file stdout goes to; nor does the report.
    std::vector<RunOutput> outputs{{"the report", kReportFileName}};
    if (options.book) outputs.push_back({"the calculation book", *options.book});
    if (const auto clash = findOutputClash(outputs, streams.outFile)) {
        err << "tessarin-cli: " << *clash << '\n';
        return kExitUsage;
    }
    // A book that cannot be written stops the command before it designs anything.
    if (options.book) {
        const FileResult target = checkBookTarget(*options.book);
        if (!target.ok) return reportBookFailure(target, err);
    }
    DesignSession session;
    ConsoleHost host(options.input, options.scheme, out, err);
    switch (onCalculate(session, host)) {
        case RunOutcome::Done: {
            std::optional<SectionCheckResult> check;
            if (options.check && session.design->finite()) {
                // The book draws the contour; the text alone does without it.
                check = SectionCheck(*session.design)
                            .run(options.book ? SectionCheck::Contour::Computed
                                              : SectionCheck::Contour::Skipped);
                host.print(formatSectionCheckSummary(*check));
            } else if (options.check) {
                err << "tessarin-cli: no section check: the design is not finite\n";
            }
            // The report that could not be printed is a failed run, as in batch mode.
            if (host.outputError() != 0) {
                err << "tessarin-cli: cannot write stdout: " << std::strerror(host.outputError())
                    << '\n';
                return kExitFile;
            }
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
                if (!written.ok) return reportBookFailure(written, err);
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
