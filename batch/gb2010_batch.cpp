#include "batch/gb2010_batch.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <ostream>
#include <utility>
#include <vector>

#include "batch/batch_case.h"
#include "batch/batch_files.h"
#include "batch/batch_sink.h"
#include "batch/case_report.h"
#include "batch/csv_reader.h"
#include "batch/external_sort.h"
#include "batch/id_grouping.h"
#include "book/column_schedule.h"
#include "drawing/design_drawing.h"
#include "engine/gb2010/column_with_stirrups.h"
#include "engine/gb2010/gb2010_design.h"
#include "project/project_file.h"
#include "report/bar_preference_fields.h"
#include "report/gb2010_labels.h"
#include "report/gb2010_report.h"
#include "report/gb2010_stirrup_text.h"
#include "run/gb2010_command.h"
#include "run/gb2010_fields.h"
#include "run/gb2010_input.h"
#include "text/number_text.h"

namespace tessarin {

namespace {

using Status = BatchOutcome::Status;

using Entry = Gb2010FieldEntry;

constexpr std::size_t kIdColumn = 0;

std::size_t at(const Entry& entry) {
    return static_cast<std::size_t>(entry.csvPlace);
}

// The inputs in the order of the columns, and those the rows of an id share (the column's own,
// not a combination's).
const std::vector<const Entry*>& inputColumns() {
    static const std::vector<const Entry*> kColumns = gb2010FieldsBy(&Entry::csvPlace);
    return kColumns;
}

// Bytes a string holds beyond itself (short strings live inside it).
std::size_t heldBeyond(const std::string& text) {
    return text.capacity() > 15 ? text.capacity() + 1 : 0;
}

// One input row, held (or put aside) until the rows of its id are together: sorted by id, then
// by line.
struct CaseRecord {
    std::uint64_t hash = 0;
    std::string id;
    std::int64_t line = 0;
    std::string malformed;  // what the reader found wrong with the row; empty when nothing
    std::vector<std::string> fields;

    friend bool operator<(const CaseRecord& a, const CaseRecord& b) {
        if (a.hash != b.hash) return a.hash < b.hash;
        if (a.id != b.id) return a.id < b.id;
        return a.line < b.line;
    }
};

std::size_t spillFootprint(const CaseRecord& record) {
    std::size_t bytes = heldBeyond(record.id) + heldBeyond(record.malformed) +
                        record.fields.capacity() * sizeof(std::string);
    for (const std::string& field : record.fields) bytes += heldBeyond(field);
    return bytes;
}

void writeSpill(SpillFile& file, const CaseRecord& record) {
    file.writeU64(record.hash);
    file.writeString(record.id);
    file.writeI64(record.line);
    file.writeString(record.malformed);
    file.writeU64(record.fields.size());
    for (const std::string& field : record.fields) file.writeString(field);
}

bool readSpill(SpillFile& file, CaseRecord& record) {
    std::uint64_t count = 0;
    if (!file.readU64(record.hash) || !file.readString(record.id) || !file.readI64(record.line) ||
        !file.readString(record.malformed) || !file.readU64(count)) {
        return false;
    }
    record.fields.resize(count);
    for (std::string& field : record.fields) {
        if (!file.readString(field)) return false;
    }
    return true;
}

// The result lines of one column, put in the order of the ids' first rows before they are
// written.
struct ColumnBlock {
    std::int64_t firstLine = 0;
    std::string text;

    friend bool operator<(const ColumnBlock& a, const ColumnBlock& b) {
        return a.firstLine < b.firstLine;
    }
};

std::size_t spillFootprint(const ColumnBlock& block) {
    return heldBeyond(block.text);
}

void writeSpill(SpillFile& file, const ColumnBlock& block) {
    file.writeI64(block.firstLine);
    file.writeString(block.text);
}

bool readSpill(SpillFile& file, ColumnBlock& block) {
    return file.readI64(block.firstLine) && file.readString(block.text);
}

// The results columns: the line, the id and the kind of row, the inputs as given, the demand of
// the combination, its check against the chosen layout, the layout, the status.
// axialRatio is the seismic axial compression ratio N / (fc A) with its limit (GB 50011 6.3.6,
// empty without one); axialCapacity 0.9 phi (fc A + fy' As') in kN and axialUtilisation N over it
// (6.2.15).
// gammaRE is the bending factor of 11.1.6 (1 for a combination that is not seismic);
// shearUtilisation sqrt((Vx/Vux)^2 + (Vy/Vuy)^2) (6.3.17) with the chosen stirrup.
constexpr std::array<const char*, 14> kDemandColumns = {
    "CmX",        "etaNsX",          "Mx",          "CmY",           "etaNsY",           "My",
    "axialRatio", "axialRatioLimit", "utilisation", "axialCapacity", "axialUtilisation", "Nu",
    "gammaRE",    "shearUtilisation"};
// webDiameter is empty when the b and h faces' web bars differ; webDiameterB and webDiameterH
// are those of each face (empty on a face without web bars).
constexpr std::array<const char*, 21> kLayoutColumns = {"layout",
                                                        "cornerDiameter",
                                                        "webDiameter",
                                                        "webBarsAlongB",
                                                        "webBarsAlongH",
                                                        "webDiameterB",
                                                        "webDiameterH",
                                                        "bars",
                                                        "As",
                                                        "rho",
                                                        "governingLine",
                                                        "stirrups",
                                                        "stirrupType",
                                                        "stirrupDiameter",
                                                        "stirrupSpacing",
                                                        "denseSpacing",
                                                        "denseLength",
                                                        "legsX",
                                                        "legsY",
                                                        "volumetricRatio",
                                                        "requiredVolumetricRatio"};
// The stirrup columns of a layout row.
constexpr std::size_t kStirrupColumns = 10;
// After the status, a layout row's row of the column schedule (柱表) in the list notation, grade
// letters in plain text (book/column_schedule.h); a combination row leaves them empty.
constexpr std::array<const char*, 7> kScheduleColumns = {
    "scheduleSection",     "scheduleAllBars",     "scheduleCornerBars", "scheduleMiddleBarsB",
    "scheduleMiddleBarsH", "scheduleStirrupType", "scheduleStirrups"};

// Ends a row with its schedule cells (none for nullptr).
void endRow(std::string& text, const ScheduleRow* row) {
    if (row == nullptr) {
        text.append(kScheduleColumns.size(), ',');
    } else {
        const std::vector<std::string> cells = scheduleCells(*row, false);
        for (std::size_t i = 1; i <= kScheduleColumns.size(); ++i) {
            text += ',';
            appendCsvField(text, cells[i]);
        }
    }
    text += '\n';
}

// Whether a row repeats the column of its id's first row: a blank length or cover is its
// default, the same column as the default written out. The first field that differs, or nullptr.
const Entry* differingField(const Gb2010Column& a, const Gb2010Column& b) {
    const LoadCombination load;
    for (const Entry* entry : inputColumns()) {
        if (entry->perCombination()) continue;
        if (!sameFieldValue(*entry, a, load, b, load)) return entry;
    }
    return nullptr;
}

std::string fieldText(const ColumnMap& columns, const std::vector<std::string>& fields,
                      const Entry& entry) {
    const std::string* text = columns.field(fields, at(entry));
    return text != nullptr ? *text : std::string();
}

// The columns a cases file may have: the inputs of the field table, then the bar preferences'
// (report/bar_preference_fields.h), each optional.
std::span<const char* const> caseColumnNames() {
    static const std::vector<const char*> kNames = [] {
        std::vector<const char*> names(gb2010InputNames().begin(), gb2010InputNames().end());
        for (const BarPreferenceField& field : kBarPreferenceFields) names.push_back(field.column);
        return names;
    }();
    return kNames;
}

ColumnMap gb2010ColumnMap() {
    return ColumnMap(caseColumnNames(), gb2010RequiredInputs());
}

// A row read as a combination of its column; the rejection, e.g. M0y: "1 20" is not a number.
struct RowReading {
    Gb2010Column column;
    LoadCombination load;
};

std::string notA(const Entry& entry, const std::string& text) {
    return std::string(entry.column) + ": \"" + text + "\" is not " + entry.columnWhat;
}

// The order a row is read in: the required numbers, the required words, the other numbers, the
// optional (blank: default) numbers, the other words; each group in column order. The first field
// that cannot be read rejects the row.
int readingGroup(const Entry& entry) {
    if (entry.isChoice()) return entry.required ? 1 : 4;
    if (entry.required) return 0;
    return entry.isOptional() ? 3 : 2;
}

std::optional<std::string> readRow(const ColumnMap& columns, const std::vector<std::string>& fields,
                                   RowReading& row) {
    if (fields.size() != columns.headerSize()) {
        return "the row has " + std::to_string(fields.size()) + " fields, the header " +
               std::to_string(columns.headerSize());
    }
    for (int group = 0; group <= 4; ++group) {
        for (const Entry* entry : inputColumns()) {
            if (readingGroup(*entry) != group) continue;
            // A required column is in every header; a blank field of another takes the flag's
            // default.
            const std::string* text = entry->required ? columns.field(fields, at(*entry))
                                                      : columns.given(fields, at(*entry));
            if (text == nullptr) continue;
            if (entry->isChoice()) {
                const auto value = entry->choices->fromWord(*text);
                if (!value) return notA(*entry, *text);
                setFieldChoice(*entry, row.column, row.load, *value);
            } else {
                const auto value = parseNumber(*text);
                if (!value) return notA(*entry, *text);
                setFieldNumber(*entry, row.column, row.load, *value);
            }
        }
    }
    for (std::size_t k = 0; k < kBarPreferenceFields.size(); ++k) {
        const std::string* text = columns.given(fields, gb2010InputNames().size() + k);
        if (text == nullptr) continue;
        const std::string why =
            readBarPreference(kBarPreferenceFields[k], *text, row.column.barPreferences);
        if (!why.empty()) return std::string(kBarPreferenceFields[k].column) + ": " + why;
    }
    return std::nullopt;
}

// A combination's own finding without the "第1组荷载组合：" it starts with: the row is named by its
// line.
std::string withoutPrefix(std::string message) {
    const std::string prefix = combinationPrefix(0);
    if (message.compare(0, prefix.size(), prefix) == 0) message.erase(0, prefix.size());
    return message;
}

// A figure, or an empty cell for one that is not finite (the JSON writes null there).
void appendNumber(std::string& line, double value) {
    line += ',';
    if (std::isfinite(value)) line += formatShortest(value);
}

void appendEmpty(std::string& line, std::size_t count) {
    line.append(count, ',');
}

class Gb2010Batch {
  public:
    Gb2010Batch(const BatchOptions& options, const Gb2010BatchFiles& files, std::ostream& out,
                const BatchProgressListener& progress)
        : options_(options),
          files_(files),
          out_(out),
          progress_(progress),
          cases_(options.memoryBudget / 2),
          blocks_(options.memoryBudget / 2) {}

    BatchOutcome run();

  private:
    static BatchOutcome stop(Status status, std::string message) {
        return {status, std::move(message)};
    }
    BatchOutcome cannotRead() { return cannotReadInput(options_, input_); }
    std::optional<BatchOutcome> readHeader(CsvReader& reader);
    std::optional<BatchOutcome> openOutputs();
    std::optional<BatchOutcome> readRows(CsvReader& reader);
    std::optional<BatchOutcome> designColumns();
    std::optional<BatchOutcome> designColumn(std::vector<CaseRecord>& rows);
    std::optional<BatchOutcome> writeFiles(const std::string& id, long long firstLine,
                                           const ColumnWithStirrups& whole);
    std::optional<BatchOutcome> writeBlocks();

    void beginRow(std::string& line, long long lineNumber, const std::string& id,
                  const char* kind) const;
    void appendInputs(std::string& line, const std::vector<std::string>& fields) const;

    const BatchOptions& options_;
    const Gb2010BatchFiles& files_;
    std::ostream& out_;
    const BatchProgressListener& progress_;
    BatchInput input_;
    ColumnMap columns_ = gb2010ColumnMap();
    BatchSink results_;
    ExternalSorter<CaseRecord> cases_;
    ExternalSorter<ColumnBlock> blocks_;
    // A quoted field that never ends stops the reading; its row is reported last.
    std::optional<CaseRecord> broken_;
    long long rows_ = 0;
    long long designedRows_ = 0;
    bool rejected_ = false;
    bool withoutLayout_ = false;
};

std::optional<BatchOutcome> Gb2010Batch::readHeader(CsvReader& reader) {
    return readCasesHeader(
        reader, options_, input_,
        [this](const std::vector<std::string>& header) { return columns_.read(header); });
}

std::optional<BatchOutcome> Gb2010Batch::openOutputs() {
    if (auto refused = BatchSink::refuse(options_, input_)) return refused;
    struct Folder {
        const std::optional<std::string>* directory;
        const char* what;
        const char* extension;
    };
    const Folder folders[] = {{&files_.reportDir, "report directory", ".txt"},
                              {&files_.dxfDir, "drawing directory", ".dxf"}};
    for (const Folder& folder : folders) {
        if (!*folder.directory) continue;
        const std::string& directory = **folder.directory;
        if (auto failed = createOutputDirectory(directory, folder.what)) return failed;
        if (auto refused = refuseCaseFolder(directory, folder.extension, folder.what, options_)) {
            return refused;
        }
    }
    // The results are put in place whole once every column is designed: until then an earlier
    // results file keeps its content, so that a batch stopped or killed leaves it.
    return results_.open(options_, input_, out_);
}

std::optional<BatchOutcome> Gb2010Batch::readRows(CsvReader& reader) {
    std::vector<std::string> fields;
    while (true) {
        const auto status = reader.next(fields);
        if (status == CsvReader::Status::End) break;
        CaseRecord record;
        record.line = reader.recordLine();
        if (status == CsvReader::Status::Error) {
            if (reader.readFailed()) return cannotRead();
            // Nothing after a quoted field that never ends can be read reliably: report it, stop.
            record.malformed = reader.error();
            broken_ = std::move(record);
            break;
        }
        if (status == CsvReader::Status::Malformed) record.malformed = reader.error();
        const std::string* id = columns_.field(fields, kIdColumn);
        if (id != nullptr) record.id = *id;
        record.hash = idHash(record.id);
        record.fields = fields;
        ++rows_;
        if (!cases_.add(std::move(record))) return stop(Status::FileFailed, cases_.error());
    }
    if (reader.readFailed()) return cannotRead();
    return std::nullopt;
}

void Gb2010Batch::beginRow(std::string& line, long long lineNumber, const std::string& id,
                           const char* kind) const {
    line += std::to_string(lineNumber);
    line += ',';
    appendCsvField(line, id);
    line += ',';
    line += kind;
}

// The inputs as the row gives them, the id left out (it stands before); a layout row leaves them
// empty.
void Gb2010Batch::appendInputs(std::string& line, const std::vector<std::string>& fields) const {
    for (std::size_t c = 1; c < gb2010InputNames().size(); ++c) {
        line += ',';
        const std::string* field = columns_.field(fields, c);
        if (field != nullptr) appendCsvField(line, *field);
    }
}

// A file of a column that cannot be written stops the batch, naming the file and the reason.
BatchOutcome fileFailure(const FileResult& result) {
    const char* what = result.action == FileAction::Create ? "cannot create " : "cannot write ";
    return {Status::FileFailed, what + result.fileName + ": " + result.reason};
}

// One column of a batch as the current-code command's host: its rows' input, the design in this
// thread, and what the command told.
class BatchColumnHost final : public Gb2010Host {
  public:
    explicit BatchColumnHost(Gb2010Input input) : input_(std::move(input)) {}
    std::optional<Gb2010Input> readInput() override { return input_; }
    void refuse(const Gb2010Finding& finding) override { finding_ = finding.message; }
    std::optional<ColumnWithStirrups> runDesign(const Gb2010Input& input) override {
        return designColumnWithStirrups(input.column, input.combinations);
    }
    void reportFailed(const FileResult& failure) override { failure_ = failure; }
    void showResult(const ColumnWithStirrups& whole) override { shown_ = whole; }

    const std::optional<FileResult>& failure() const { return failure_; }
    const std::optional<ColumnWithStirrups>& shown() const { return shown_; }
    const std::string& finding() const { return finding_; }

  private:
    Gb2010Input input_;
    std::string finding_;
    std::optional<FileResult> failure_;
    std::optional<ColumnWithStirrups> shown_;
};

std::optional<BatchOutcome> Gb2010Batch::writeFiles(const std::string& id, long long firstLine,
                                                    const ColumnWithStirrups& whole) {
    const Gb2010Design& design = whole.longitudinal;
    const auto failed = [](const FileResult& result) { return fileFailure(result); };
    // The column's report was written by the command (designColumn).
    // A drawing only of a chosen layout; the layout row says why there is none.
    if (files_.dxfDir && design.designed) {
        const std::string path = *files_.dxfDir + "/" + caseFileName(id, firstLine, ".dxf");
        if (auto refused = refuseInput(path, "drawing", options_, input_)) return refused;
        // A pipe or device planted in the folder is refused, a link replaced.
        const FileResult written = writeDesignDrawing(path, whole, id, StreamTarget::Refuse);
        if (!written.ok) return failed(written);
    }
    if (files_.outputs != nullptr) {
        const FileResult written = files_.outputs->designed(id, firstLine, whole);
        if (!written.ok) return failed(written);
    }
    return std::nullopt;
}

// One column: its rows in line order. Every row is read, checked against the first row's
// column and validated before anything is designed; one rejected row leaves the whole column
// undesigned.
std::optional<BatchOutcome> Gb2010Batch::designColumn(std::vector<CaseRecord>& rows) {
    const std::string& id = rows.front().id;
    const long long firstLine = rows.front().line;
    std::vector<RowReading> readings(rows.size());
    std::vector<std::string> rejections(rows.size());
    std::optional<std::size_t> firstRejected;
    std::optional<std::size_t> reference;  // the first row that reads: its column is the column's
    std::optional<std::string> columnFinding;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CaseRecord& row = rows[i];
        std::optional<std::string> why;
        if (!row.malformed.empty()) {
            why = row.malformed;
        } else {
            why = readRow(columns_, row.fields, readings[i]);
        }
        if (!why && reference) {
            if (const Entry* differs =
                    differingField(readings[*reference].column, readings[i].column)) {
                why = std::string(differs->column) + ": \"" +
                      fieldText(columns_, row.fields, *differs) + "\" differs from \"" +
                      fieldText(columns_, rows[*reference].fields, *differs) + "\" on line " +
                      std::to_string(rows[*reference].line) +
                      "; the rows of an id share one section, its lengths and materials";
            }
            if (!why) {
                why =
                    barPreferencesDiffer(readings[*reference].column.barPreferences,
                                         readings[i].column.barPreferences, rows[*reference].line);
            }
        }
        if (!why) {
            if (!reference) reference = i;
            const Gb2010Input single{readings[i].column, {readings[i].load}};
            if (auto finding = validateGb2010Input(single)) {
                if (finding->combination >= 0) {
                    why = withoutPrefix(std::move(finding->message));
                } else if (!columnFinding) {
                    columnFinding = std::move(finding->message);
                }
            }
        }
        if (why) {
            rejections[i] = std::move(*why);
            if (!firstRejected) firstRejected = i;
        }
    }

    std::string text;
    const bool accepted = !firstRejected && !columnFinding;
    if (!accepted) {
        rejected_ = true;
        const std::string notDesigned =
            columnFinding ? std::string("not designed: the column is rejected (see its layout row)")
                          : "not designed: line " + std::to_string(rows[*firstRejected].line) +
                                " of this id is rejected; one layout must carry every "
                                "combination";
        for (std::size_t i = 0; i < rows.size(); ++i) {
            beginRow(text, rows[i].line, id, "combination");
            appendInputs(text, rows[i].fields);
            appendEmpty(text, kDemandColumns.size() + kLayoutColumns.size());
            text += ',';
            appendCsvField(text,
                           rejections[i].empty() ? notDesigned : "rejected: " + rejections[i]);
            endRow(text, nullptr);
        }
        beginRow(text, firstLine, id, "layout");
        appendEmpty(text,
                    gb2010InputNames().size() - 1 + kDemandColumns.size() + kLayoutColumns.size());
        const std::string finding = columnFinding
                                        ? *columnFinding
                                        : "line " + std::to_string(rows[*firstRejected].line) +
                                              ": " + rejections[*firstRejected];
        const Gb2010Column* column = reference ? &readings[*reference].column : nullptr;
        const ScheduleRow scheduled = rejectedScheduleRow(id, column, finding);
        text += ',';
        appendCsvField(text, "rejected: " + finding);
        endRow(text, &scheduled);
        designedRows_ += static_cast<long long>(rows.size());
        if (!blocks_.add({firstLine, std::move(text)})) {
            return stop(Status::FileFailed, blocks_.error());
        }
        if (files_.outputs != nullptr) {
            const FileResult told = files_.outputs->rejected(id, firstLine, column, finding);
            if (!told.ok) {
                return stop(Status::FileFailed,
                            "cannot write " + told.fileName + ": " + told.reason);
            }
        }
        return std::nullopt;
    }

    // The column through the current-code command, as tessarin-cli and the dialog run it: the
    // column's input checked as a whole (each row was checked alone above), designed, and its
    // report written (with --reports) before the column is shown in the results.
    std::vector<LoadCombination> loads;
    loads.reserve(rows.size());
    for (const RowReading& reading : readings) loads.push_back(reading.load);
    std::optional<std::string> reportPath;
    if (files_.reportDir) {
        reportPath = *files_.reportDir + "/" + caseFileName(id, firstLine, ".txt");
        if (auto refused = refuseInput(*reportPath, "report", options_, input_)) return refused;
    }
    BatchColumnHost host(Gb2010Input{readings.front().column, std::move(loads)});
    switch (runGb2010Command(host, reportPath)) {
        case Gb2010Outcome::Shown:
            break;
        case Gb2010Outcome::FileFailed:
            return fileFailure(*host.failure());
        case Gb2010Outcome::FieldRejected:
        case Gb2010Outcome::InputRejected:
        case Gb2010Outcome::NotDesigned:
            // Every row passed the same checks alone; a column refused as a whole would be a
            // fault of the program, said rather than passed over.
            return stop(Status::Unusable, "line " + std::to_string(firstLine) + ": column " + id +
                                              " was refused as a whole: " + host.finding());
    }
    const ColumnWithStirrups& whole = *host.shown();
    const Gb2010Design& design = whole.longitudinal;
    const StirrupDesign* stirrups = whole.stirrups ? &*whole.stirrups : nullptr;
    const bool stirred = stirrups != nullptr && stirrups->designed;
    if (!design.designed || !stirred) withoutLayout_ = true;

    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CombinationCheck& check = design.combinations[i];
        const CombinationDemand& demand = check.demand;
        beginRow(text, rows[i].line, id, "combination");
        appendInputs(text, rows[i].fields);
        for (const double value :
             {demand.x.Cm, demand.x.etaNs, demand.Mx, demand.y.Cm, demand.y.etaNs, demand.My}) {
            appendNumber(text, value);
        }
        appendNumber(text, demand.axialRatio);
        if (design.limits.axialRatio.value > 0.0) {
            appendNumber(text, design.limits.axialRatio.value);
        } else {
            appendEmpty(text, 1);
        }
        if (design.designed) {
            for (const double value :
                 {check.utilisation, check.axialCapacity, check.axialUtilisation, check.Nu}) {
                appendNumber(text, value);
            }
        } else {
            appendEmpty(text, 4);
        }
        appendNumber(text, check.gammaRE);
        if (stirred && i < stirrups->combinations.size()) {
            appendNumber(text, stirrups->combinations[i].check.utilisation);
        } else {
            appendEmpty(text, 1);
        }
        appendEmpty(text, kLayoutColumns.size());
        text += !design.designed ? ",no layout" : stirred ? ",ok" : ",no stirrup";
        endRow(text, nullptr);
    }
    const ScheduleRow scheduled = scheduleRow(id, whole);
    beginRow(text, firstLine, id, "layout");
    appendEmpty(text, gb2010InputNames().size() - 1 + kDemandColumns.size());
    if (design.designed) {
        const BarLayout& layout = *design.layout;
        const LayoutChoice& choice = layout.choice;
        text += ',';
        appendCsvField(text, layoutNotation(choice, design.column.steel));
        const auto integer = [&text](bool given, int value) {
            text += ',';
            if (given) text += std::to_string(value);
        };
        integer(true, choice.cornerDiameter);
        integer(!choice.webDiametersDiffer(),
                choice.webBarsAlongB > 0 ? choice.webDiameterB : choice.webDiameterH);
        integer(true, choice.webBarsAlongB);
        integer(true, choice.webBarsAlongH);
        integer(choice.webBarsAlongB > 0, choice.webDiameterB);
        integer(choice.webBarsAlongH > 0, choice.webDiameterH);
        integer(true, choice.barCount());
        appendNumber(text, layout.steelArea);
        appendNumber(text, layout.ratio);
        text += ',';
        text += std::to_string(rows[static_cast<std::size_t>(design.governing)].line);
        if (stirred) {
            const StirrupChoice& c = stirrups->choice;
            text += ',';
            appendCsvField(text, stirrupNotation(stirrups->column.stirrupSteel, c));
            text += ',';
            appendCsvField(text, stirrupType(c));
            text += ',' + std::to_string(c.diameter);
            for (const double value : {c.spacing, c.denseSpacing, c.denseLength}) {
                appendNumber(text, value);
            }
            text += ',' + std::to_string(c.legsX) + ',' + std::to_string(c.legsY);
            appendNumber(text, c.volumetricRatio);
            appendNumber(text, stirrups->limits.requiredVolumetricRatio);
            text += ",designed";
            endRow(text, &scheduled);
        } else {
            appendEmpty(text, kStirrupColumns);
            text += ',';
            appendCsvField(
                text, "no stirrup: " +
                          (stirrups != nullptr ? stirrupFailureText(*stirrups) : std::string()));
            endRow(text, &scheduled);
        }
    } else {
        appendEmpty(text, kLayoutColumns.size());
        text += ',';
        appendCsvField(text, "no layout: " + noLayoutReasonText(design));
        endRow(text, &scheduled);
    }
    designedRows_ += static_cast<long long>(rows.size());
    if (!blocks_.add({firstLine, std::move(text)}))
        return stop(Status::FileFailed, blocks_.error());
    return writeFiles(id, firstLine, whole);
}

std::optional<BatchOutcome> Gb2010Batch::designColumns() {
    if (!cases_.finish()) return stop(Status::FileFailed, cases_.error());
    std::vector<CaseRecord> column;
    CaseRecord record;
    const auto flush = [&]() -> std::optional<BatchOutcome> {
        if (column.empty()) return std::nullopt;
        auto failed = designColumn(column);
        column.clear();
        if (progress_ && rows_ > 0) {
            const auto total = static_cast<double>(input_.size());
            const double share = static_cast<double>(designedRows_) / static_cast<double>(rows_);
            progress_({designedRows_, static_cast<long long>(share * total), input_.size()});
        }
        return failed;
    };
    while (cases_.next(record)) {
        if (!column.empty() &&
            (record.hash != column.front().hash || record.id != column.front().id)) {
            if (auto failed = flush()) return failed;
        }
        column.push_back(std::move(record));
    }
    if (cases_.failed()) return stop(Status::FileFailed, cases_.error());
    return flush();
}

std::optional<BatchOutcome> Gb2010Batch::writeBlocks() {
    std::ostream& sink = results_.stream();
    std::string line = "line,id,kind";
    for (std::size_t c = 1; c < gb2010InputNames().size(); ++c) {
        line += ',';
        // The input kind of a combination, beside the kind of row.
        line += c == at(*gb2010FieldEntry(Gb2010Field::Kind)) ? "combination_kind"
                                                              : gb2010InputNames()[c];
    }
    for (const char* name : kDemandColumns) (line += ',') += name;
    for (const char* name : kLayoutColumns) (line += ',') += name;
    line += ",status";
    for (const char* name : kScheduleColumns) (line += ',') += name;
    line += '\n';
    sink << line;
    if (!blocks_.finish()) return stop(Status::FileFailed, blocks_.error());
    ColumnBlock block;
    while (sink && blocks_.next(block)) sink << block.text;
    if (blocks_.failed()) return stop(Status::FileFailed, blocks_.error());
    if (broken_) {
        line.clear();
        beginRow(line, broken_->line, {}, "combination");
        appendEmpty(line,
                    gb2010InputNames().size() - 1 + kDemandColumns.size() + kLayoutColumns.size());
        line += ',';
        appendCsvField(line, "rejected: " + broken_->malformed);
        endRow(line, nullptr);
        sink << line;
    }
    return std::nullopt;
}

BatchOutcome Gb2010Batch::run() {
    const bool opened = options_.inputBytes ? input_.openBytes(options_.input, *options_.inputBytes)
                                            : input_.open(options_.input);
    if (!opened) return stop(Status::FileFailed, input_.error());
    CsvReader reader(input_.file());
    if (auto failed = readHeader(reader)) return std::move(*failed);
    if (auto failed = openOutputs()) return std::move(*failed);
    if (auto failed = readRows(reader)) return std::move(*failed);
    if (broken_) rejected_ = true;
    if (auto failed = designColumns()) return std::move(*failed);
    if (auto failed = writeBlocks()) return std::move(*failed);
    if (auto failed = results_.finish(options_)) return std::move(*failed);
    if (rejected_) return {Status::SomeRejected, {}};
    return {withoutLayout_ ? Status::SomeWithoutLayout : Status::AllAccepted, {}};
}

}  // namespace

BatchOutcome runGb2010Batch(const BatchOptions& options, const Gb2010BatchFiles& files,
                            std::ostream& out, const BatchProgressListener& progress) {
    Gb2010Batch batch(options, files, out, progress);
    return batch.run();
}

namespace {

std::optional<double> unlessEqual(double value, double blank) {
    if (value == blank && std::signbit(value) == std::signbit(blank)) return std::nullopt;
    return value;
}

}  // namespace

std::span<const char* const> gb2010InputNames() {
    static const std::vector<const char*> kNames = [] {
        std::vector<const char*> names = {"id"};
        for (const Entry* entry : inputColumns()) names.push_back(entry->column);
        return names;
    }();
    return kNames;
}

std::size_t gb2010RequiredInputs() {
    std::size_t required = 1;  // the id
    for (const Entry* entry : inputColumns()) required += entry->required ? 1 : 0;
    return required;
}

std::string projectCasesCsv(const Project& project) {
    std::string text;
    const std::span<const char* const> names = gb2010InputNames();
    for (std::size_t c = 0; c < names.size(); ++c) {
        if (c > 0) text += ',';
        text += names[c];
    }
    // Then the bar preferences, each written where the column's differs from the default.
    for (const BarPreferenceField& field : kBarPreferenceFields) (text += ',') += field.column;
    text += '\n';
    const Gb2010Column defaults;
    const LoadCombination blank;
    for (const ProjectColumn& column : project.columns) {
        const Gb2010Column& c = column.column;
        for (const LoadCombination& load : column.combinations) {
            std::string line;
            appendCsvField(line, column.mark);
            // A required field is written out; another is left blank where it equals what a
            // blank field gives, as a cases file leaves it.
            for (const Entry* entry : inputColumns()) {
                if (entry->isChoice()) {
                    line += ',';
                    const int value = fieldChoice(*entry, c, load);
                    if (entry->required || value != fieldChoice(*entry, defaults, blank)) {
                        line += entry->choices->word(value);
                    }
                    continue;
                }
                const std::optional<double> value = fieldNumber(*entry, c, load);
                if (entry->required) {
                    appendNumber(line, *value);
                    continue;
                }
                line += ',';
                if (!value) continue;
                if (!entry->isOptional() &&
                    !unlessEqual(*value, *fieldNumber(*entry, defaults, blank))) {
                    continue;
                }
                line += formatShortest(*value);
            }
            for (const BarPreferenceField& field : kBarPreferenceFields) {
                line += ',';
                const std::string value = barPreferenceText(field, c.barPreferences);
                if (value != barPreferenceText(field, defaults.barPreferences)) {
                    appendCsvField(line, value);
                }
            }
            line += '\n';
            text += line;
        }
    }
    return text;
}

BatchOutcome runProjectBatch(const Project& project, const std::string& name, BatchOptions options,
                             const Gb2010BatchFiles& files, std::ostream& out,
                             const BatchProgressListener& progress) {
    options.input = name;
    options.inputBytes = projectCasesCsv(project);
    return runGb2010Batch(options, files, out, progress);
}

CasesProject readCasesProject(const std::string& path) {
    CasesProject result;
    using CasesStatus = CasesProject::Status;
    const auto fail = [&result](std::string message, CasesStatus status = CasesStatus::Rejected) {
        result.status = status;
        result.error = std::move(message);
        return result;
    };
    BatchOptions options;
    options.input = path;
    BatchInput input;
    if (!input.open(path)) return fail(input.error(), CasesStatus::FileFailed);
    CsvReader reader(input.file());
    ColumnMap columns = gb2010ColumnMap();
    std::vector<std::string> fields;
    const auto first = reader.next(fields);
    if (reader.readFailed())
        return fail(cannotReadInput(options, input).message, CasesStatus::FileFailed);
    if (first == CsvReader::Status::End) {
        return fail(path + ": the file is empty", CasesStatus::Unusable);
    }
    if (first != CsvReader::Status::Record) {
        return fail(path + ": line 1: " + reader.error(), CasesStatus::Unusable);
    }
    if (auto unusable = columns.read(fields)) {
        return fail(path + ": " + *unusable, CasesStatus::Unusable);
    }
    Project project;
    // The first row of each id, by position in project.columns, for the shared fields.
    std::vector<std::pair<long long, std::vector<std::string>>> firstRows;
    while (true) {
        const auto status = reader.next(fields);
        if (status == CsvReader::Status::End) break;
        const std::string at = path + ": line " + std::to_string(reader.recordLine()) + ": ";
        if (status != CsvReader::Status::Record) {
            if (reader.readFailed()) {
                return fail(cannotReadInput(options, input).message, CasesStatus::FileFailed);
            }
            return fail(at + reader.error());
        }
        RowReading row;
        if (auto why = readRow(columns, fields, row)) return fail(at + *why);
        const std::string id = *columns.field(fields, kIdColumn);
        if (id.empty()) return fail(at + "id: a column needs an id (its mark, e.g. KZ1)");
        std::size_t index = 0;
        while (index < project.columns.size() && project.columns[index].mark != id) ++index;
        if (index == project.columns.size()) {
            project.columns.push_back({id, row.column, {}});
            firstRows.emplace_back(reader.recordLine(), fields);
        } else {
            const Gb2010Column& reference = project.columns[index].column;
            if (const Entry* differs = differingField(reference, row.column)) {
                return fail(at + differs->column + ": \"" + fieldText(columns, fields, *differs) +
                            "\" differs from \"" +
                            fieldText(columns, firstRows[index].second, *differs) + "\" on line " +
                            std::to_string(firstRows[index].first) +
                            "; the rows of an id share one section, its lengths and materials");
            }
            if (auto differ = barPreferencesDiffer(
                    reference.barPreferences, row.column.barPreferences, firstRows[index].first)) {
                return fail(at + *differ);
            }
        }
        project.columns[index].combinations.push_back(row.load);
    }
    if (reader.readFailed()) {
        return fail(cannotReadInput(options, input).message, CasesStatus::FileFailed);
    }
    result.project = std::move(project);
    return result;
}

}  // namespace tessarin
