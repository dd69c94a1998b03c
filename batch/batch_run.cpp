#include "batch/batch_run.h"

#include <ostream>
#include <utility>
#include <vector>

#include "batch/batch_case.h"
#include "batch/batch_sink.h"
#include "batch/case_report.h"
#include "batch/csv_reader.h"
#include "batch/envelope.h"
#include "batch/envelope_book.h"
#include "batch/id_grouping.h"
#include "batch/result_table.h"
#include "engine/section/section_check.h"
#include "report/report_text.h"
#include "run/calculate_command.h"
#include "run/design_column.h"
#include "run/validate_input.h"

namespace tessarin {

namespace {

// A message as one line of the status column: CR LF becomes a space.
std::string oneLine(const std::string& text) {
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            line += ' ';
            ++i;
        } else {
            line += text[i];
        }
    }
    return line;
}

using Status = BatchOutcome::Status;

class Batch {
  public:
    Batch(const BatchOptions& options, std::ostream& out, const BatchProgressListener& progress)
        : options_(options),
          out_(out),
          progress_(progress),
          table_(options.check),
          book_(options.memoryBudget) {}

    BatchOutcome run();

  private:
    BatchOutcome stop(Status status, std::string message) { return {status, std::move(message)}; }
    BatchOutcome cannotRead() { return cannotReadInput(options_, input_); }
    std::optional<BatchOutcome> columnOutput(const FileResult& result) {
        if (result.ok) return std::nullopt;
        return stop(Status::FileFailed, "cannot write " + result.fileName + ": " + result.reason);
    }
    std::optional<BatchOutcome> closeColumn(const std::string& id) {
        if (options_.columnOutputs == nullptr) return std::nullopt;
        return columnOutput(options_.columnOutputs->closed(id));
    }
    std::optional<BatchOutcome> readHeader(CsvReader& reader);
    std::optional<BatchOutcome> openOutputs();
    std::optional<BatchOutcome> decideGrouping(CsvReader& reader);
    std::optional<BatchOutcome> designRows(CsvReader& reader);
    std::optional<BatchOutcome> designRow(const std::vector<std::string>& fields, long long line,
                                          const std::string* malformed);
    std::optional<BatchOutcome> writeReport(const std::string& id, long long line);
    std::optional<BatchOutcome> closeCurrent();
    Envelope& envelopeOf(const std::string& id);
    void writeCase(const CaseRow& row);
    void writeEnvelope(const Envelope& envelope);
    std::optional<BatchOutcome> writeEnvelopes();

    const BatchOptions& options_;
    std::ostream& out_;
    const BatchProgressListener& progress_;
    BatchInput input_;
    ColumnMap columns_;
    ResultTable table_;
    BatchSink results_;
    std::ostream* sink_ = nullptr;
    std::string line_;            // the output row being built
    ColumnDesign design_;         // the design of the row being written
    SectionCheckResult checked_;  // the section check of the row being written, with --check
    bool grouped_ = false;
    // Grouped ids: the one open envelope, written when its id's rows end.
    Envelope current_;
    bool haveCurrent_ = false;
    // Ids that do not stand together: every envelope, written at the end.
    EnvelopeBook book_;
    long long rows_ = 0;
    long long rejected_ = 0;
};

std::optional<BatchOutcome> Batch::readHeader(CsvReader& reader) {
    return readCasesHeader(
        reader, options_, input_,
        [this](const std::vector<std::string>& header) { return columns_.read(header); });
}

// Refuses an output that is the input itself before anything is written, then readies them.
std::optional<BatchOutcome> Batch::openOutputs() {
    if (auto refused = BatchSink::refuse(options_, input_)) return refused;
    if (options_.reportDir) {
        if (auto failed = createOutputDirectory(*options_.reportDir, "report directory"))
            return failed;
        if (auto refused =
                refuseCaseFolder(*options_.reportDir, ".txt", "report directory", options_)) {
            return refused;
        }
    }
    if (auto failed = results_.open(options_, input_, out_)) return failed;
    sink_ = &results_.stream();
    return std::nullopt;
}

// Whether the rows of each id stand together. Then each envelope is written right after its
// column's last row and dropped; otherwise all envelopes are written at the end. A file whose
// quoted field never ends counts as not grouped.
std::optional<BatchOutcome> Batch::decideGrouping(CsvReader& reader) {
    IdGrouping grouping(options_.memoryBudget);
    std::vector<std::string> fields;
    bool broken = false;
    while (true) {
        const auto status = reader.next(fields);
        if (status == CsvReader::Status::End) break;
        if (status == CsvReader::Status::Error) {
            broken = true;
            break;
        }
        const std::string* id = columns_.field(fields, InputColumn::Id);
        if (!grouping.add(id != nullptr ? *id : std::string())) {
            return stop(Status::FileFailed, grouping.error());
        }
    }
    if (reader.readFailed()) return cannotRead();
    if (broken) {
        grouped_ = false;
        return std::nullopt;
    }
    const auto grouped = grouping.grouped();
    if (!grouped) return stop(Status::FileFailed, grouping.error());
    grouped_ = *grouped;
    return std::nullopt;
}

void Batch::writeCase(const CaseRow& row) {
    line_.clear();
    table_.appendCase(row, line_);
    *sink_ << line_;
}

void Batch::writeEnvelope(const Envelope& envelope) {
    line_.clear();
    table_.appendEnvelope(envelope, line_);
    *sink_ << line_;
}

// Grouped ids: the envelope of the id whose rows have ended, and its column's outputs.
std::optional<BatchOutcome> Batch::closeCurrent() {
    writeEnvelope(current_);
    return closeColumn(current_.id);
}

Envelope& Batch::envelopeOf(const std::string& id) {
    if (!grouped_) return book_.open(id);
    if (!haveCurrent_ || current_.id != id) {
        current_ = Envelope();
        current_.id = id;
        haveCurrent_ = true;
    }
    return current_;
}

std::optional<BatchOutcome> Batch::writeReport(const std::string& id, long long line) {
    const std::string path = *options_.reportDir + "/" + reportFileName(id, line);
    if (auto refused = refuseInput(path, "report", options_, input_)) return refused;
    if (auto error = writeCaseReport(path, reportBytes(design_))) {
        return stop(Status::FileFailed, std::move(*error));
    }
    return std::nullopt;
}

std::optional<BatchOutcome> Batch::designRow(const std::vector<std::string>& fields, long long line,
                                             const std::string* malformed) {
    ++rows_;
    const std::string* idField = columns_.field(fields, InputColumn::Id);
    const std::string id = idField != nullptr ? *idField : std::string();
    if (grouped_ && haveCurrent_ && current_.id != id) {
        if (auto failed = closeCurrent()) return failed;
    }
    Envelope& envelope = envelopeOf(id);
    CaseRow row;
    row.line = line;
    row.fields = &fields;
    row.columns = &columns_;

    const auto reject = [&](const std::string& why) {
        ++rejected_;
        const std::string status = "rejected: " + why;
        row.status = &status;
        writeCase(row);
        return std::nullopt;
    };
    if (malformed != nullptr) return reject(*malformed);
    const CaseReading reading = readCase(columns_, fields);
    if (!reading.value) return reject(reading.rejection);
    // Module questions are answered No and become warnings; the first error rejects the row.
    std::vector<std::string> warnings;
    for (const InputFinding& finding : validateInput(reading.value->input)) {
        if (!finding.isQuestion()) return reject(oneLine(finding.message.text));
        warnings.push_back(oneLine(finding.message.text));
    }
    ReinforcementScheme scheme;
    applySchemeChoice(scheme, reading.value->scheme);
    design_ = designColumn(reading.value->input, scheme);
    if (!design_.step1.converged()) {
        warnings.push_back(
            oneLine(convergenceWarning(design_.step1.convergedX, design_.step1.convergedY).text));
    }
    if (options_.reportDir) {
        if (auto failed = writeReport(id, line)) return failed;
    }
    std::string status = "ok";
    if (!warnings.empty()) {
        status = "warning: ";
        for (std::size_t i = 0; i < warnings.size(); ++i) {
            if (i > 0) status += "; ";
            status += warnings[i];
        }
    }
    row.design = &design_;
    row.status = &status;
    if (options_.check) {
        checked_ = SectionCheck(design_).run(SectionCheck::Contour::Skipped);
        row.check = &checked_;
    }
    writeCase(row);
    envelope.add(design_, line);
    if (options_.check) envelope.addUtilisation(checked_.utilisation, line);
    if (options_.columnOutputs != nullptr) {
        return columnOutput(options_.columnOutputs->designed(id, line, design_, scheme,
                                                             options_.check ? &checked_ : nullptr));
    }
    return std::nullopt;
}

std::optional<BatchOutcome> Batch::designRows(CsvReader& reader) {
    std::vector<std::string> fields;
    while (true) {
        const auto status = reader.next(fields);
        if (status == CsvReader::Status::End) break;
        if (status == CsvReader::Status::Error) {
            if (reader.readFailed()) return cannotRead();
            // Nothing after a quoted field that never ends can be read reliably: report it, stop.
            ++rejected_;
            fields.clear();
            CaseRow row;
            row.line = reader.recordLine();
            row.fields = &fields;
            row.columns = &columns_;
            const std::string text = "rejected: " + reader.error();
            row.status = &text;
            writeCase(row);
            break;
        }
        const bool malformed = status == CsvReader::Status::Malformed;
        if (auto failed =
                designRow(fields, reader.recordLine(), malformed ? &reader.error() : nullptr)) {
            return failed;
        }
        if (!grouped_ && !book_.spillIfFull()) return stop(Status::FileFailed, book_.error());
        if (progress_) progress_({rows_, reader.bytesRead(), input_.size()});
        if (!*sink_) break;
    }
    if (reader.readFailed()) return cannotRead();
    return std::nullopt;
}

std::optional<BatchOutcome> Batch::writeEnvelopes() {
    if (grouped_) {
        if (haveCurrent_) return closeCurrent();
        return std::nullopt;
    }
    std::optional<BatchOutcome> outputFailed;
    const bool written = book_.forEach([this, &outputFailed](const Envelope& envelope) {
        writeEnvelope(envelope);
        outputFailed = closeColumn(envelope.id);
        return !outputFailed && static_cast<bool>(*sink_);
    });
    if (outputFailed) return outputFailed;
    if (!written) return stop(Status::FileFailed, book_.error());
    return std::nullopt;
}

BatchOutcome Batch::run() {
    if (!input_.open(options_.input)) return stop(Status::FileFailed, input_.error());
    {
        CsvReader reader(input_.file());
        if (auto failed = readHeader(reader)) return std::move(*failed);
        if (auto failed = openOutputs()) return std::move(*failed);
        if (auto failed = decideGrouping(reader)) return std::move(*failed);
    }
    if (!input_.rewind()) return cannotRead();
    CsvReader reader(input_.file());
    std::vector<std::string> header;
    reader.next(header);

    line_.clear();
    table_.appendHeader(line_);
    *sink_ << line_;
    if (auto failed = designRows(reader)) return std::move(*failed);
    if (auto failed = writeEnvelopes()) return std::move(*failed);

    if (auto failed = results_.finish(options_)) return std::move(*failed);
    return {rejected_ > 0 ? Status::SomeRejected : Status::AllAccepted, {}};
}

}  // namespace

BatchOutcome runBatch(const BatchOptions& options, std::ostream& out,
                      const BatchProgressListener& progress) {
    Batch batch(options, out, progress);
    return batch.run();
}

}  // namespace tessarin
