#include "cli/current_code_run.h"

#include <cerrno>
#include <ostream>

#include "book/current_code_book.h"
#include "cli/book_output.h"
#include "cli/cli_main.h"
#include "cli/console_host.h"
#include "cli/output_clash.h"
#include "drawing/design_drawing.h"
#include "engine/current_code/column_with_stirrups.h"
#include "engine/current_code/current_code_design.h"
#include "report/current_code_json.h"
#include "report/current_code_report.h"
#include "report/current_code_stirrup_text.h"

namespace tessarin {

int runCurrentCode(const CurrentCodeCliOptions& options, std::ostream& out, std::ostream& err,
                   const std::optional<FileIdentity>& standardOutput) {
    const CurrentCodeInput& input = options.input;
    // No output may replace another one of this run, nor the file stdout goes to.
    std::vector<RunOutput> outputs{{"the report", kCurrentCodeReportFileName}};
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
    if (const auto finding = validateCurrentCodeInput(input)) {
        err << "tessarin-cli: error [现行规范设计] " << finding->message << '\n';
        err << "tessarin-cli: check " << flagForCurrentCodeField(finding->field) << '\n';
        return kExitRejected;
    }
    const ColumnWithStirrups whole = designColumnWithStirrups(input.column, input.combinations);
    const CurrentCodeDesign& design = whole.longitudinal;
    const FileResult written = writeCurrentCodeReport(whole);
    if (!written.ok) {
        err << "tessarin-cli: cannot write " << written.fileName << ": " << written.reason << '\n';
        return kExitFile;
    }
    // The drawing only of a chosen layout; without one the reason below says why.
    if (options.dxf && design.designed) {
        const FileResult drawn = writeDesignDrawing(*options.dxf, whole, "");
        if (!drawn.ok) {
            err << "tessarin-cli: cannot write " << drawn.fileName << ": " << drawn.reason << '\n';
            return kExitFile;
        }
    }
    errno = 0;
    if (options.json) {
        out << currentCodeJson(whole);
    } else {
        out << withUnixLineEnds(currentCodeReportText(whole));
    }
    out.flush();
    // A report that could not be printed is a failed run, as on the 2002 path.
    if (!out) {
        err << "tessarin-cli: cannot write stdout: " << systemReason(errno != 0 ? errno : EIO)
            << '\n';
        return kExitFile;
    }
    // The book of a design that found no layout says why; it is written all the same.
    if (options.book) {
        const BookInfo info{options.project, options.columnId, todayText()};
        const FileResult booked = writeBookFile(buildCurrentCodeBook(info, whole), *options.book);
        if (!booked.ok) return reportBookFailure(booked, err);
    }
    if (!design.designed) {
        err << "tessarin-cli: no layout fits: " << noLayoutReasonText(design) << '\n';
        if (options.dxf) err << "tessarin-cli: no drawing written to " << *options.dxf << '\n';
        return kExitNoLayout;
    }
    if (whole.stirrups && !whole.stirrups->designed) {
        err << "tessarin-cli: no stirrup fits: " << stirrupFailureText(*whole.stirrups) << '\n';
        return kExitNoLayout;
    }
    return kExitDone;
}

}  // namespace tessarin
