#include "cli/batch_outputs.h"

#include <utility>

#include "batch/case_report.h"
#include "cli/book_output.h"
#include "engine/section/section_check.h"
#include "report/book/current_code_book.h"
#include "report/book/design_book.h"

namespace tessarin {

BatchBooks::BatchBooks(std::string directory, std::string project)
    : books_(
          std::move(project), todayText(),
          [directory = std::move(directory)](const std::string& id, long long firstLine) {
              return directory + "/" + caseFileName(id, firstLine, ".html");
          },
          [](const Book& book, const std::string& path) { return writeBookFile(book, path); }) {}

FileResult BatchBooks::designed(const std::string& id, long long line, const ColumnDesign& design,
                                const ReinforcementScheme& scheme,
                                const SectionCheckResult* check) {
    BookCase bookCase{design, scheme.diameter, scheme.ratioX, scheme.ratioY, line, std::nullopt};
    // The batch checks without the contour; the book draws it.
    if (check != nullptr)
        bookCase.check = SectionCheck(design).run(SectionCheck::Contour::computed);
    books_.add(id, std::move(bookCase));
    return FileResult::success();
}

FileResult BatchBooks::closed(const std::string& id) {
    return books_.close(id);
}

CurrentCodeBooks::CurrentCodeBooks(std::string directory, std::string project)
    : directory_(std::move(directory)), project_(std::move(project)), date_(todayText()) {}

FileResult CurrentCodeBooks::designed(const std::string& id, long long firstLine,
                                      const ColumnWithStirrups& column) {
    const std::string path = directory_ + "/" + caseFileName(id, firstLine, ".html");
    return writeBookFile(buildCurrentCodeBook(BookInfo{project_, id, date_}, column), path);
}

}  // namespace tessarin
