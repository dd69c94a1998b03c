#pragma once

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

#include "batch/batch_files.h"
#include "engine/column_design.h"
#include "platform/file_result.h"
#include "run/reinforcement_scheme.h"

namespace tessarin {

struct SectionCheckResult;

// What a front end writes per column beside the results (a calculation book, a drawing): told of
// every accepted combination in file order, and when a column's last combination has come: at
// once when the rows of an id stand together, otherwise at the end, in the order the ids first
// appeared. A failure stops the batch as a file failure.
class ColumnOutputs {
  public:
    virtual ~ColumnOutputs() = default;
    virtual FileResult designed(const std::string& id, long long line, const ColumnDesign& design,
                                const ReinforcementScheme& scheme,
                                const SectionCheckResult* check) = 0;
    virtual FileResult closed(const std::string& id) = 0;
};

// A whole building's columns from one CSV file: every row a design case (a load combination of
// the column named in its id), designed as the calculate command designs it, one result row per
// input row plus an envelope row per column.
struct BatchOptions {
    std::string input;  // the CSV file of cases
    // The cases themselves (a project's combinations as a cases file); input then names them.
    std::optional<std::string> inputBytes;
    std::optional<std::string> output;     // results CSV; the given stream when absent
    std::optional<std::string> reportDir;  // also write each accepted case's report here
    bool check = false;  // add the section check's utilisation, N0, ratio and flags per row
    // The file the given stream writes to, when it is a file (stdout redirected into one): a
    // batch refuses to write its results into its own input.
    std::optional<FileIdentity> streamFile;
    // What the ids and envelopes of a file may hold in memory before they are put aside in
    // temporary files; a batch holds little more than this and the current row.
    std::size_t memoryBudget = std::size_t{8} << 20;
    ColumnOutputs* columnOutputs = nullptr;  // not owned; none when null
};

// How far a batch has come, after each row.
struct BatchProgress {
    long long rows = 0;
    long long bytesRead = 0;
    long long totalBytes = 0;  // of the cases file
};
using BatchProgressListener = std::function<void(const BatchProgress&)>;

struct BatchOutcome {
    enum class Status {
        AllAccepted,        // every row designed
        SomeRejected,       // some rows rejected, the rest designed and written
        SomeWithoutLayout,  // current code: every row accepted, no layout fits some columns
        Unusable,           // a header that cannot be used, or an output that is the input itself
        FileFailed,         // a file could not be read or written
    };
    Status status = Status::AllAccepted;
    std::string message;  // for Unusable and FileFailed: what and why, naming the file(s)
};

// Runs the batch, writing the results to options.output or else to out.
BatchOutcome runBatch(const BatchOptions& options, std::ostream& out,
                      const BatchProgressListener& progress = {});

}  // namespace tessarin
