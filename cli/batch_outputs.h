#pragma once

#include <string>

#include "batch/batch_run.h"
#include "batch/gb2010_batch.h"
#include "batch/schedule_outputs.h"
#include "book/column_books.h"
#include "book/design_book.h"

namespace tessarin {

// --books DIR of the 2002 batch: one calculation book per column id, named as the reports are
// (DIR/<id>-<first line> with the suffix of its format: .html, .pdf or .docx), with every
// accepted combination of the id in file order. Every book replaces a link of its name rather
// than following it, refuses a pipe or device planted in the folder, and is never the batch's
// input or results (options).
class BatchBooks final : public ColumnOutputs {
  public:
    BatchBooks(std::string directory, std::string project, std::string suffix,
               const BatchOptions& options);

    FileResult designed(const std::string& id, long long line, const ColumnDesign& design,
                        const ReinforcementScheme& scheme,
                        const SectionCheckResult* check) override;
    FileResult closed(const std::string& id) override;

  private:
    ColumnBooks books_;
};

// Writes a batch's book to path, unless path is the batch's input or results.
FileResult writeBatchBook(const Book& book, const std::string& path, const BatchOptions& options);

// --books DIR of the current-code batch: one book per column id, its combinations designed
// together (DIR/<id>-<first line> with the suffix of its format). The title page takes the
// project's name; a project's books (--open) also its 子项/设计号 and the names of 设计, 校对 and
// 审核 (title: its columnId and date are set per book).
class Gb2010Books final : public Gb2010Outputs {
  public:
    Gb2010Books(std::string directory, std::string project, std::string suffix,
                const BatchOptions& options);
    Gb2010Books(std::string directory, BookInfo title, std::string suffix,
                const BatchOptions& options);

    FileResult designed(const std::string& id, long long firstLine,
                        const ColumnWithStirrups& column) override;

  private:
    std::string directory_;
    BookInfo title_;
    std::string suffix_;
    const BatchOptions& options_;
};

// --schedule FILE: whether the column schedule can go to path by its format, checked before the
// batch runs (the folder, the name, and for a PDF the writer program).
FileResult checkScheduleTarget(const std::string& path);

// Writes the schedule gathered by a batch to path after the run: a DXF sheet or, for .html, .pdf
// and .docx, a book (info on its title page); never the batch's input or results.
FileResult writeBatchSchedule(const ColumnSchedule& schedule, const std::string& path,
                              const BookInfo& info, const BatchOptions& options);

}  // namespace tessarin
