#include "cli/batch_outputs.h"

#include <utility>

#include "batch/case_report.h"
#include "book/book_file.h"
#include "book/design_book.h"
#include "book/gb2010_book.h"
#include "cli/book_output.h"
#include "engine/section/section_check.h"

namespace tessarin {

namespace {

// Why path must not be written beside the batch: it is its input or its results.
std::string clashWithBatch(const std::string& path, const BatchOptions& options) {
    if (sameOutputFile(path, options.input)) return "the same file as the input " + options.input;
    if (options.output ? sameOutputFile(path, *options.output)
                       : options.streamFile && leadsTo(path, *options.streamFile)) {
        return "the same file as the results " + (options.output ? *options.output : "on stdout");
    }
    return {};
}

}  // namespace

FileResult writeBatchBook(const Book& book, const std::string& path, const BatchOptions& options) {
    const std::string clash = clashWithBatch(path, options);
    if (!clash.empty()) return FileResult::refusal(path, FileAction::Create, clash);
    return writeBookFile(book, path, StreamTarget::Refuse);
}

FileResult checkScheduleTarget(const std::string& path) {
    return scheduleFormatOf(path) == ScheduleFormat::Dxf ? checkWritablePath(path)
                                                         : checkBookTarget(path);
}

FileResult writeBatchSchedule(const ColumnSchedule& schedule, const std::string& path,
                              const BookInfo& info, const BatchOptions& options) {
    const std::string clash = clashWithBatch(path, options);
    if (!clash.empty()) return FileResult::refusal(path, FileAction::Create, clash);
    if (scheduleFormatOf(path) == ScheduleFormat::Dxf) {
        return writeScheduleDxf(path, schedule, scheduleTitle(info.project));
    }
    return writeBookFile(schedule.book(info), path);
}

BatchBooks::BatchBooks(std::string directory, std::string project, std::string suffix,
                       const BatchOptions& options)
    : books_(
          std::move(project), todayText(),
          [directory = std::move(directory), suffix = std::move(suffix)](const std::string& id,
                                                                         long long firstLine) {
              return directory + "/" + caseFileName(id, firstLine, suffix.c_str());
          },
          [&options](const Book& book, const std::string& path) {
              return writeBatchBook(book, path, options);
          }) {}

FileResult BatchBooks::designed(const std::string& id, long long line, const ColumnDesign& design,
                                const ReinforcementScheme& scheme,
                                const SectionCheckResult* check) {
    BookCase bookCase{design, scheme.diameter, scheme.ratioX, scheme.ratioY, line, std::nullopt};
    // The batch checks without the contour; the book draws it.
    if (check != nullptr)
        bookCase.check = SectionCheck(design).run(SectionCheck::Contour::Computed);
    books_.add(id, std::move(bookCase));
    return FileResult::success();
}

FileResult BatchBooks::closed(const std::string& id) {
    return books_.close(id);
}

Gb2010Books::Gb2010Books(std::string directory, std::string project, std::string suffix,
                         const BatchOptions& options)
    : Gb2010Books(std::move(directory), BookInfo{std::move(project), {}, {}}, std::move(suffix),
                  options) {}

Gb2010Books::Gb2010Books(std::string directory, BookInfo title, std::string suffix,
                         const BatchOptions& options)
    : directory_(std::move(directory)),
      title_(std::move(title)),
      suffix_(std::move(suffix)),
      options_(options) {
    title_.date = todayText();
}

FileResult Gb2010Books::designed(const std::string& id, long long firstLine,
                                 const ColumnWithStirrups& column) {
    const std::string path = directory_ + "/" + caseFileName(id, firstLine, suffix_.c_str());
    BookInfo info = title_;
    info.columnId = id;
    return writeBatchBook(buildGb2010Book(info, column), path, options_);
}

}  // namespace tessarin
