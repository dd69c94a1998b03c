#pragma once

#include <array>
#include <cstddef>
#include <iosfwd>
#include <span>
#include <string>

#include "batch/batch_run.h"
#include "engine/gb2010/column_with_stirrups.h"
#include "engine/gb2010/gb2010_types.h"
#include "platform/file_result.h"
#include "project/project.h"

namespace tessarin {

// The input columns of a current-code cases file: "id", then each input of the field table
// (run/gb2010_fields.h) at its csvPlace. The required ones (id to steel) come first; ax, ay,
// scheme and the other columns of a 2002 cases file are passed over, so that one file serves
// both.
[[nodiscard]] std::span<const char* const> gb2010InputNames();
[[nodiscard]] std::size_t gb2010RequiredInputs();

// What a front end writes per column beside the results (a calculation book): told once for each
// column id whose combinations were all accepted, designed or not, with the line of its first
// combination. A failure stops the batch as a file failure.
class Gb2010Outputs {
  public:
    virtual ~Gb2010Outputs() = default;
    virtual FileResult designed(const std::string& id, long long firstLine,
                                const ColumnWithStirrups& column) = 0;
    // Told instead for each column id with a rejected row: the column of its first row that
    // reads (nullptr when none does) and what was rejected, as its layout row says.
    virtual FileResult rejected(const std::string& /*id*/, long long /*firstLine*/,
                                const Gb2010Column* /*column*/, const std::string& /*finding*/) {
        return FileResult::success();
    }
};

// Where the current-code batch writes a file per column id, beside the results; none when empty.
struct Gb2010BatchFiles {
    std::optional<std::string> reportDir;  // the report text of each column (GBK, CR LF)
    std::optional<std::string> dxfDir;     // the section drawing of each designed column
    Gb2010Outputs* outputs = nullptr;      // not owned
};

// The current-code batch: the rows of one column id are its load combinations and share its
// section, lengths and materials; one layout is chosen per id to carry them all. The results
// have one "combination" row per input row (its inputs as given, the demand and, for a designed
// column, the utilisation) and, after the rows of each id, one "layout" row (the bars, As, rho,
// the governing line). Columns come in the order their ids first appear. A column with a
// rejected row is not designed at all: one layout must carry every combination.
// options.reportDir and options.check are not used (see files).
BatchOutcome runGb2010Batch(const BatchOptions& options, const Gb2010BatchFiles& files,
                            std::ostream& out, const BatchProgressListener& progress = {});

// A project's columns as a current-code cases file: the header with every input column, then
// one row per combination, column after column (the mark is the id; a length or cover the
// column leaves to its default stays blank). Designed by runGb2010Batch it gives the
// project's results; "line" in them is the line of this text.
[[nodiscard]] std::string projectCasesCsv(const Project& project);

// A project's design as the current-code batch designs a cases file: the same result columns
// and values, the same files per column and the same outcome. name is the project file's name,
// for messages (and an output that is the project file itself is refused).
BatchOutcome runProjectBatch(const Project& project, const std::string& name, BatchOptions options,
                             const Gb2010BatchFiles& files, std::ostream& out,
                             const BatchProgressListener& progress = {});

// A cases file read as a project: the rows of each id become the combinations of one column,
// the columns in the order their ids first appear. A row that cannot be read, or whose section,
// lengths or materials differ from the first row of its id, stops the reading: the message names
// the line. A value that reads but is out of range is kept (the project shows it as an input
// error, as the batch rejects it).
struct CasesProject {
    enum class Status { Read, FileFailed, Unusable, Rejected };
    Status status = Status::Read;
    std::optional<Project> project;
    std::string error;  // what and where, naming the file
};
[[nodiscard]] CasesProject readCasesProject(const std::string& path);

}  // namespace tessarin
