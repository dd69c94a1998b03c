#pragma once

#include <optional>
#include <string>

#include "engine/gb2010/column_with_stirrups.h"
#include "platform/file_result.h"
#include "report/gb2010_report.h"
#include "run/gb2010_input.h"

namespace tessarin {

// Everything the current-code design command needs from whoever runs it: the 2010 dialog,
// tessarin-cli or a test's recording fake. The command never knows which one it talks to.
class Gb2010Host {
  public:
    virtual ~Gb2010Host() = default;
    // The input as the engineer gave it; nullopt when a field held no number (the host has
    // said so and pointed at the field).
    virtual std::optional<Gb2010Input> readInput() = 0;
    // A check of the input failed: nothing is designed. The host shows the message and points
    // at the field (a flag, a dialog field, a cell of the combinations).
    virtual void refuse(const Gb2010Finding& finding) = 0;
    // Designs the checked input (the dialog on a worker thread it can cancel); nullopt when the
    // design was cancelled or failed, which the host has then told.
    virtual std::optional<ColumnWithStirrups> runDesign(const Gb2010Input& input) = 0;
    // The report file could not be written: the design is not shown.
    virtual void reportFailed(const FileResult& failure) = 0;
    // The design, its report written whole.
    virtual void showResult(const ColumnWithStirrups& whole) = 0;
};

enum class Gb2010Outcome {
    Shown,          // the report is written and the design shown (it may have found no layout)
    FieldRejected,  // a field held no number; nothing was checked
    InputRejected,  // a check failed; nothing was designed
    NotDesigned,    // the design was cancelled or failed; no report was written
    FileFailed,     // the report file could not be written; nothing was shown
};

// The current-code design command: read → check → design → write the report → show. The report
// is written before anything is shown, so that what the engineer sees is what the file holds.
// The CLI and the dialog write Result-GB2010.txt; a batch writes each column's report into its
// --reports folder, or none (nullopt) without one.
Gb2010Outcome runGb2010Command(Gb2010Host& host, const std::optional<std::string>& reportPath =
                                                     std::string(kGb2010ReportFileName));

}  // namespace tessarin
