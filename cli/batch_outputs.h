#pragma once

#include <string>

#include "batch/batch_run.h"
#include "batch/current_code_batch.h"
#include "report/book/column_books.h"

namespace tessarin {

// --books DIR of the 2002 batch: one HTML calculation book per column id, named as the reports
// are (DIR/<id>-<first line>.html), with every accepted combination of the id in file order.
class BatchBooks final : public ColumnOutputs {
  public:
    BatchBooks(std::string directory, std::string project);

    FileResult designed(const std::string& id, long long line, const ColumnDesign& design,
                        const ReinforcementScheme& scheme,
                        const SectionCheckResult* check) override;
    FileResult closed(const std::string& id) override;

  private:
    ColumnBooks books_;
};

// --books DIR of the current-code batch: one HTML book per column id, its combinations designed
// together (DIR/<id>-<first line>.html).
class CurrentCodeBooks final : public CurrentCodeOutputs {
  public:
    CurrentCodeBooks(std::string directory, std::string project);

    FileResult designed(const std::string& id, long long firstLine,
                        const ColumnWithStirrups& column) override;

  private:
    std::string directory_;
    std::string project_;
    std::string date_;
};

}  // namespace tessarin
