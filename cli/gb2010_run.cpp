#include "cli/gb2010_run.h"

#include <cerrno>
#include <ostream>

#include "book/gb2010_book.h"
#include "cli/book_output.h"
#include "cli/cli_main.h"
#include "cli/console_host.h"
#include "cli/output_clash.h"
#include "drawing/design_drawing.h"
#include "engine/gb2010/column_with_stirrups.h"
#include "engine/gb2010/gb2010_design.h"
#include "report/gb2010_json.h"
#include "report/gb2010_report.h"
#include "report/gb2010_stirrup_text.h"
#include "run/gb2010_command.h"

namespace tessarin {

namespace {

// The command line as the command's host: the input from the flags, the messages on stderr,
// the design on this thread, then the drawing, the report on stdout and the book; the exit code
// of the run.
class CliHost : public Gb2010Host {
  public:
    CliHost(const Gb2010CliOptions& options, std::ostream& out, std::ostream& err)
        : options_(options), out_(out), err_(err) {}

    int exitCode() const { return exit_; }

    std::optional<Gb2010Input> readInput() override { return options_.input; }

    void refuse(const Gb2010Finding& finding) override {
        err_ << "tessarin-cli: error [现行规范设计] " << finding.message << '\n';
        err_ << "tessarin-cli: check " << flagForGb2010Field(finding.field) << '\n';
        exit_ = kExitRejected;
    }

    std::optional<ColumnWithStirrups> runDesign(const Gb2010Input& input) override {
        return designColumnWithStirrups(input.column, input.combinations);
    }

    void reportFailed(const FileResult& written) override {
        err_ << "tessarin-cli: cannot write " << written.fileName << ": " << written.reason << '\n';
        exit_ = kExitFile;
    }

    void showResult(const ColumnWithStirrups& whole) override { exit_ = print(whole); }

  private:
    int print(const ColumnWithStirrups& whole) {
        const Gb2010Design& design = whole.longitudinal;
        // The drawing only of a chosen layout; without one the reason below says why.
        if (options_.dxf && design.designed) {
            const FileResult drawn = writeDesignDrawing(*options_.dxf, whole, "");
            if (!drawn.ok) {
                err_ << "tessarin-cli: cannot write " << drawn.fileName << ": " << drawn.reason
                     << '\n';
                return kExitFile;
            }
        }
        errno = 0;
        if (options_.json) {
            out_ << gb2010Json(whole);
        } else {
            out_ << withUnixLineEnds(gb2010ReportText(whole));
        }
        out_.flush();
        // A report that could not be printed is a failed run, as on the 2002 path.
        if (!out_) {
            err_ << "tessarin-cli: cannot write stdout: " << systemReason(errno != 0 ? errno : EIO)
                 << '\n';
            return kExitFile;
        }
        // The book of a design that found no layout says why; it is written all the same.
        if (options_.book) {
            const BookInfo info{options_.project, options_.columnId, todayText()};
            const FileResult booked = writeBookFile(buildGb2010Book(info, whole), *options_.book);
            if (!booked.ok) return reportBookFailure(booked, err_);
        }
        if (!design.designed) {
            err_ << "tessarin-cli: no layout fits: " << noLayoutReasonText(design) << '\n';
            if (options_.dxf)
                err_ << "tessarin-cli: no drawing written to " << *options_.dxf << '\n';
            return kExitNoLayout;
        }
        if (whole.stirrups && !whole.stirrups->designed) {
            err_ << "tessarin-cli: no stirrup fits: " << stirrupFailureText(*whole.stirrups)
                 << '\n';
            return kExitNoLayout;
        }
        return kExitDone;
    }

    const Gb2010CliOptions& options_;
    std::ostream& out_;
    std::ostream& err_;
    int exit_ = kExitDone;
};

}  // namespace

int runGb2010(const Gb2010CliOptions& options, std::ostream& out, std::ostream& err,
              const std::optional<FileIdentity>& standardOutput) {
    // No output may replace another one of this run, nor the file stdout goes to.
    std::vector<RunOutput> outputs{{"the report", kGb2010ReportFileName}};
    if (options.dxf) outputs.push_back({"the drawing", *options.dxf});
    if (options.book) outputs.push_back({"the calculation book", *options.book});
    if (const auto clash = findOutputClash(outputs, standardOutput)) {
        err << "tessarin-cli: " << *clash << '\n';
        return kExitUsage;
    }
    // A book that cannot be written stops the command before it checks or designs anything.
    if (options.book) {
        const FileResult target = checkBookTarget(*options.book);
        if (!target.ok) return reportBookFailure(target, err);
    }
    CliHost host(options, out, err);
    runGb2010Command(host);
    return host.exitCode();
}

}  // namespace tessarin
