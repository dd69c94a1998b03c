#include "cli/batch_design.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <system_error>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "cli/csv_reader.h"
#include "cli/standard_streams.h"
#include "engine/column_calculator.h"
#include "engine/section/section_check.h"
#include "report/number_text.h"
#include "report/report_text.h"
#include "report/section_check_text.h"
#include "run/calculate_command.h"
#include "run/design_column.h"
#include "run/validate_input.h"

namespace tessarin {

namespace {

enum Column : std::size_t {
    kId,
    kL0,
    kB,
    kH,
    kM0x,
    kM0y,
    kN,
    kAx,
    kAy,
    kConcrete,
    kSteel,
    kScheme,
    kDiameter,
    kRatioX,
    kRatioY,
    kColumnCount
};
constexpr std::array<const char*, kColumnCount> kColumnNames = {
    "id", "l0",       "b",     "h",      "M0x",      "M0y",     "N",      "ax",
    "ay", "concrete", "steel", "scheme", "diameter", "ratio_x", "ratio_y"};
constexpr std::size_t kRequiredColumns = kScheme;  // id to steel

// The numbers of a case in the order the dialog exchanges them does not matter here: the first
// field that is no number rejects the row, in column order.
constexpr std::array<std::pair<Column, double DesignInput::*>, 8> kNumberColumns = {
    {{kL0, &DesignInput::l0},
     {kB, &DesignInput::b},
     {kH, &DesignInput::h},
     {kM0x, &DesignInput::M0x},
     {kM0y, &DesignInput::M0y},
     {kN, &DesignInput::N},
     {kAx, &DesignInput::ax},
     {kAy, &DesignInput::ay}}};

// The results per row, named after the engine's fields.
constexpr std::array<const char*, 21> kResultNames = {
    "e0x",  "eax", "eix", "zetaX1", "zetaX2", "etaX", "e0y",  "eay",  "eiy", "zetaY1", "zetaY2",
    "etaY", "Nux", "Nuy", "Asex",   "Asey",   "Asc",  "Aswx", "Aswy", "Asx", "Asy"};
constexpr std::array<double ColumnCalculator::*, 21> kResultFields = {
    &ColumnCalculator::e0x,    &ColumnCalculator::eax,    &ColumnCalculator::eix,
    &ColumnCalculator::zetaX1, &ColumnCalculator::zetaX2, &ColumnCalculator::etaX,
    &ColumnCalculator::e0y,    &ColumnCalculator::eay,    &ColumnCalculator::eiy,
    &ColumnCalculator::zetaY1, &ColumnCalculator::zetaY2, &ColumnCalculator::etaY,
    &ColumnCalculator::Nux,    &ColumnCalculator::Nuy,    &ColumnCalculator::Asex,
    &ColumnCalculator::Asey,   &ColumnCalculator::Asc,    &ColumnCalculator::Aswx,
    &ColumnCalculator::Aswy,   &ColumnCalculator::Asx,    &ColumnCalculator::Asy};
constexpr std::size_t kAscResult = 16;

// The envelope: the largest of these over a column's combinations, with the governing line.
constexpr std::array<const char*, 6> kEnvelopeNames = {"Asex", "Asey", "Asx",
                                                       "Asy",  "Aswx", "Aswy"};
constexpr std::array<double ColumnCalculator::*, 6> kEnvelopeFields = {
    &ColumnCalculator::Asex, &ColumnCalculator::Asey, &ColumnCalculator::Asx,
    &ColumnCalculator::Asy,  &ColumnCalculator::Aswx, &ColumnCalculator::Aswy};
constexpr std::array<std::size_t, 6> kEnvelopeResultIndex = {14, 15, 19, 20, 17, 18};

struct Envelope {
    std::string id;
    std::array<double, 6> largest{};
    std::array<long long, 6> line{};
    bool any = false;
    double utilisation = 0.0;  // the largest of the section check, with --check
    long long utilisationLine = 0;

    void addCheck(double value, long long rowLine) {
        if (std::isnan(value)) return;
        if (utilisationLine == 0 || value > utilisation) {
            utilisation = value;
            utilisationLine = rowLine;
        }
    }

    void add(const ColumnCalculator& c, long long rowLine) {
        for (std::size_t i = 0; i < kEnvelopeFields.size(); ++i) {
            const double value = c.*kEnvelopeFields[i];
            if (std::isnan(value)) continue;
            if (line[i] == 0 || value > largest[i]) {
                largest[i] = value;
                line[i] = rowLine;
            }
        }
        any = true;
    }
};

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

std::string systemReason() {
    return std::strerror(errno);
}

class Batch {
  public:
    Batch(const BatchOptions& options, std::ostream& out, std::ostream& err)
        : options_(options), out_(out), err_(err) {}

    int run();

  private:
    bool readHeader(CsvReader& reader);
    bool idsAreGrouped();
    void designRow(const std::vector<std::string>& fields, long long line);
    void writeResultRow(const std::vector<std::string>& fields, long long line, bool designed,
                        const std::string& status);
    void appendCheckColumns(bool designed);
    void closeEnvelope(const std::string& id);
    void writeEnvelope(const Envelope& envelope);
    void addToEnvelope(const std::string& id, long long line);
    bool writeReport(const std::string& id, long long line);
    void showProgress(const CsvReader& reader, bool last);
    int fileError(const std::string& text) {
        err_ << "tessarin-cli: " << text << '\n';
        return 3;
    }

    const BatchOptions& options_;
    std::ostream& out_;
    std::ostream& err_;
    std::ostream* sink_ = nullptr;
    std::array<long long, kColumnCount> columnOf_{};  // field position, -1 when absent
    std::size_t headerSize_ = 0;
    ColumnDesign design_;          // the design of the row being written
    ColumnCalculator calculator_;  // its record, read by the result columns
    std::string line_;             // the output row being built
    SectionCheckResult checked_;   // the section check of the row being written, with --check
    bool grouped_ = false;
    std::string currentId_;
    bool haveCurrent_ = false;
    std::unordered_map<std::string, Envelope> open_;  // held envelopes (all of them when ungrouped)
    std::vector<std::string> order_;                  // ids in first-appearance order, ungrouped
    long long rows_ = 0;
    long long rejected_ = 0;
    bool reportFailed_ = false;
    std::string reportError_;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point lastProgress_ = started_;
    bool progressShown_ = false;
    long long totalBytes_ = 0;
};

bool Batch::readHeader(CsvReader& reader) {
    std::vector<std::string> header;
    const auto status = reader.next(header);
    if (status == CsvReader::Status::Error) {
        err_ << "tessarin-cli: " << options_.input << ": " << reader.error() << '\n';
        return false;
    }
    if (status == CsvReader::Status::End) {
        err_ << "tessarin-cli: " << options_.input << ": the file is empty; the first line must "
             << "name the columns\n";
        return false;
    }
    columnOf_.fill(-1);
    headerSize_ = header.size();
    for (std::size_t i = 0; i < header.size(); ++i) {
        std::string name = header[i];
        while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
        while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) name.erase(0, 1);
        for (std::size_t c = 0; c < kColumnCount; ++c) {
            if (name != kColumnNames[c]) continue;
            if (columnOf_[c] >= 0) {
                err_ << "tessarin-cli: " << options_.input << ": the column \"" << name
                     << "\" is named twice in the header\n";
                return false;
            }
            columnOf_[c] = static_cast<long long>(i);
        }
    }
    std::string missing;
    for (std::size_t c = 0; c < kRequiredColumns; ++c) {
        if (columnOf_[c] < 0) missing += std::string(missing.empty() ? "" : ", ") + kColumnNames[c];
    }
    if (!missing.empty()) {
        err_ << "tessarin-cli: " << options_.input << ": the header lacks the required column(s) "
             << missing << "\n";
        return false;
    }
    return true;
}

// Whether the rows of each id stand together. Then each envelope is written right after its
// column's last row and dropped; otherwise all envelopes are held and written at the end.
bool Batch::idsAreGrouped() {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(options_.input.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) return false;
    CsvReader reader(file.get());
    std::vector<std::string> fields;
    if (reader.next(fields) != CsvReader::Status::Record) return false;
    const auto idColumn = static_cast<std::size_t>(columnOf_[kId]);
    std::unordered_set<std::size_t> finished;  // hashes of ids whose group has ended
    std::string current;
    bool first = true;
    while (true) {
        const auto status = reader.next(fields);
        if (status == CsvReader::Status::End) return true;
        if (status == CsvReader::Status::Error) return false;
        const std::string id = idColumn < fields.size() ? fields[idColumn] : std::string();
        if (first || id != current) {
            if (!first) finished.insert(std::hash<std::string>{}(current));
            if (finished.count(std::hash<std::string>{}(id)) != 0) return false;
            current = id;
            first = false;
        }
    }
}

std::string reportDirectoryFile(const std::string& dir, const std::string& id, long long line) {
    return dir + "/" + reportFileName(id, line);
}

bool Batch::writeReport(const std::string& id, long long line) {
    const std::string path = reportDirectoryFile(*options_.reportDir, id, line);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                         &std::fclose);
    if (!file) {
        reportError_ = "cannot create " + path + ": " + systemReason();
        return false;
    }
    const std::string bytes = reportBytes(design_);
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        std::fflush(file.get()) != 0) {
        reportError_ = "cannot write " + path + ": " + systemReason();
        return false;
    }
    if (std::fclose(file.release()) != 0) {
        reportError_ = "cannot write " + path + ": " + systemReason();
        return false;
    }
    return true;
}

void Batch::writeResultRow(const std::vector<std::string>& fields, long long line, bool designed,
                           const std::string& status) {
    line_.clear();
    line_ += std::to_string(line);
    for (std::size_t c = 0; c < kColumnCount; ++c) {
        line_ += ',';
        const long long at = columnOf_[c];
        if (at >= 0 && static_cast<std::size_t>(at) < fields.size()) {
            appendCsvField(line_, fields[static_cast<std::size_t>(at)]);
        }
    }
    for (std::size_t r = 0; r < kResultFields.size(); ++r) {
        line_ += ',';
        // Scheme 2 reports no corner bar; neither does this row.
        if (designed && !(r == kAscResult && calculator_.scheme != codeOf(Scheme::CornerBars))) {
            line_ += formatShortest(calculator_.*kResultFields[r]);
        }
    }
    line_ += ',';
    if (designed) line_ += std::to_string(calculator_.passesX);
    line_ += ',';
    if (designed) line_ += std::to_string(calculator_.passesY);
    line_ += ',';
    if (designed) line_ += calculator_.convergedX ? "true" : "false";
    line_ += ',';
    if (designed) line_ += calculator_.convergedY ? "true" : "false";
    line_ += ',';
    appendCsvField(line_, status);
    for (std::size_t i = 0; i < kEnvelopeNames.size(); ++i) line_ += ',';
    appendCheckColumns(designed);
    line_ += '\n';
    *sink_ << line_;
}

// utilisation, N0 (kN), rho (total steel ratio), checkFlags (names joined by ';').
void Batch::appendCheckColumns(bool designed) {
    if (!options_.check) return;
    if (!designed) {
        line_ += ",,,,,";
        return;
    }
    const SectionCheckResult& r = checked_;
    line_ += ',';
    line_ += formatShortest(r.utilisation);
    line_ += ',';
    line_ += formatShortest(r.squashLoad);
    line_ += ',';
    line_ += formatShortest(r.totalSteelRatio);
    line_ += ',';
    line_ += sectionCheckFlags(r);
    line_ += ',';  // governsUtilisation: envelope rows only
}

void Batch::writeEnvelope(const Envelope& envelope) {
    line_.clear();
    line_ += ',';  // no line of its own
    appendCsvField(line_, envelope.id);
    for (std::size_t c = 1; c < kColumnCount; ++c) line_ += ',';
    std::array<std::string, kResultFields.size()> results;
    if (envelope.any) {
        for (std::size_t i = 0; i < kEnvelopeNames.size(); ++i) {
            if (envelope.line[i] != 0) {
                results[kEnvelopeResultIndex[i]] = formatShortest(envelope.largest[i]);
            }
        }
    }
    for (const std::string& r : results) {
        line_ += ',';
        line_ += r;
    }
    line_ += ",,,,,";
    line_ += envelope.any ? "envelope" : "envelope: no accepted combination";
    for (std::size_t i = 0; i < kEnvelopeNames.size(); ++i) {
        line_ += ',';
        if (envelope.line[i] != 0) line_ += std::to_string(envelope.line[i]);
    }
    if (options_.check) {
        line_ += ',';
        if (envelope.utilisationLine != 0) line_ += formatShortest(envelope.utilisation);
        line_ += ",,,,";
        if (envelope.utilisationLine != 0) line_ += std::to_string(envelope.utilisationLine);
    }
    line_ += '\n';
    *sink_ << line_;
}

void Batch::addToEnvelope(const std::string& id, long long line) {
    auto [it, inserted] = open_.try_emplace(id);
    if (inserted) {
        it->second.id = id;
        if (!grouped_) order_.push_back(id);
    }
    if (line > 0) it->second.add(calculator_, line);
}

void Batch::closeEnvelope(const std::string& id) {
    const auto it = open_.find(id);
    if (it == open_.end()) return;
    writeEnvelope(it->second);
    open_.erase(it);
}

void Batch::designRow(const std::vector<std::string>& fields, long long line) {
    ++rows_;
    const auto field = [&fields, this](Column c) -> const std::string* {
        const long long at = columnOf_[c];
        if (at < 0 || static_cast<std::size_t>(at) >= fields.size()) return nullptr;
        return &fields[static_cast<std::size_t>(at)];
    };
    const std::string id = field(kId) != nullptr ? *field(kId) : std::string();
    if (grouped_ && haveCurrent_ && id != currentId_) closeEnvelope(currentId_);
    currentId_ = id;
    haveCurrent_ = true;

    const auto reject = [&](const std::string& why) {
        ++rejected_;
        writeResultRow(fields, line, false, "rejected: " + why);
        addToEnvelope(id, 0);
    };
    if (fields.size() != headerSize_) {
        reject("the row has " + std::to_string(fields.size()) + " fields, the header " +
               std::to_string(headerSize_));
        return;
    }
    DesignInput input;
    for (const auto& [column, member] : kNumberColumns) {
        const auto value = parseNumber(*field(column));
        if (!value) {
            reject(std::string(kColumnNames[column]) + ": \"" + *field(column) +
                   "\" is not a number");
            return;
        }
        input.*member = *value;
    }
    input.concreteIndex = labelIndex(*field(kConcrete), kConcreteLabels, kConcreteGradeCount);
    if (input.concreteIndex < 0) {
        reject("concrete: \"" + *field(kConcrete) + "\" is not a concrete grade (C15 to C80)");
        return;
    }
    input.steelIndex = labelIndex(*field(kSteel), kSteelLabels, kSteelGradeCount);
    if (input.steelIndex < 0) {
        reject("steel: \"" + *field(kSteel) + "\" is not a steel grade (HPB235, HRB335, HRB400)");
        return;
    }
    // The arrangement defaults to OK at once in the scheme dialog: scheme 1, 22 mm, ratios 0.
    SchemeChoice choice;
    if (const std::string* s = field(kScheme); s != nullptr && !s->empty()) {
        if (*s != "1" && *s != "2") {
            reject("scheme: \"" + *s + "\" is not a scheme (1 or 2)");
            return;
        }
        choice.schemeIndex = *s == "1" ? 0 : 1;
    }
    if (const std::string* s = field(kDiameter); s != nullptr && !s->empty()) {
        const auto value = parseNumber(*s);
        if (!isListedDiameter(value)) {
            reject("diameter: \"" + *s + "\" is not a listed bar diameter");
            return;
        }
        choice.diameter = *value;
    }
    for (const auto& [column, target] :
         {std::pair{kRatioX, &choice.ratioX}, std::pair{kRatioY, &choice.ratioY}}) {
        const std::string* s = field(column);
        if (s == nullptr || s->empty()) continue;
        const auto value = parseNumber(*s);
        if (!value || !(*value >= 0.0 && *value <= 1.0)) {
            reject(std::string(kColumnNames[column]) + ": \"" + *s +
                   "\" is not a ratio between 0 and 1");
            return;
        }
        *target = *value;
    }

    // Module questions are answered No and become warnings; the first error rejects the row.
    std::vector<std::string> warnings;
    for (const InputFinding& finding : validateInput(input)) {
        if (!finding.isQuestion()) {
            reject(oneLine(finding.message.text));
            return;
        }
        warnings.push_back(oneLine(finding.message.text));
    }
    ReinforcementScheme scheme;
    applySchemeChoice(scheme, choice);
    design_ = designColumn(input, scheme);
    // The result columns read the engine record's fields.
    calculator_.restore(design_);
    if (!design_.step1.converged()) {
        warnings.push_back(
            oneLine(convergenceWarning(design_.step1.convergedX, design_.step1.convergedY).text));
    }
    if (options_.reportDir && !writeReport(id, line)) {
        reportFailed_ = true;
        return;
    }
    std::string status = "ok";
    if (!warnings.empty()) {
        status = "warning: ";
        for (std::size_t i = 0; i < warnings.size(); ++i) {
            if (i > 0) status += "; ";
            status += warnings[i];
        }
    }
    if (options_.check) checked_ = SectionCheck(design_).run(SectionCheck::Contour::skipped);
    writeResultRow(fields, line, true, status);
    addToEnvelope(id, line);
    if (options_.check) open_[id].addCheck(checked_.utilisation, line);
}

void Batch::showProgress(const CsvReader& reader, bool last) {
    const auto now = std::chrono::steady_clock::now();
    const double elapsed = std::chrono::duration<double>(now - started_).count();
    if (last) {
        if (progressShown_) err_ << '\n';
        return;
    }
    if (elapsed < 1.0 || now - lastProgress_ < std::chrono::milliseconds(250)) return;
    lastProgress_ = now;
    progressShown_ = true;
    const double rate = static_cast<double>(rows_) / elapsed;
    const double bytesPerSecond = static_cast<double>(reader.bytesRead()) / elapsed;
    const double left = bytesPerSecond > 0
                            ? static_cast<double>(totalBytes_ - reader.bytesRead()) / bytesPerSecond
                            : 0.0;
    err_ << "\rtessarin-cli: " << rows_ << " rows, " << static_cast<long long>(rate)
         << " rows/s, about " << static_cast<long long>(std::ceil(left)) << " s left   "
         << std::flush;
}

int Batch::run() {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(options_.input.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) return fileError("cannot read " + options_.input + ": " + systemReason());
    if (std::fseek(file.get(), 0, SEEK_END) == 0) {
        totalBytes_ = std::ftell(file.get());
        std::rewind(file.get());
    }
    CsvReader reader(file.get());
    if (!readHeader(reader))
        return reader.readFailed()
                   ? fileError("cannot read " + options_.input + ": " + systemReason())
                   : 2;
    grouped_ = idsAreGrouped();

    if (options_.reportDir) {
        std::error_code error;
        std::filesystem::create_directories(*options_.reportDir, error);
        if (error) {
            return fileError("cannot create the report directory " + *options_.reportDir + ": " +
                             error.message());
        }
    }
    std::ofstream outFile;
    if (options_.output) {
        outFile.open(*options_.output, std::ios::binary | std::ios::trunc);
        if (!outFile) return fileError("cannot create " + *options_.output + ": " + systemReason());
        sink_ = &outFile;
    } else {
        sink_ = &out_;
    }

    // Header of the results.
    line_ = "line";
    for (const char* name : kColumnNames) line_ += std::string(",") + name;
    for (const char* name : kResultNames) line_ += std::string(",") + name;
    line_ += ",passesX,passesY,convergedX,convergedY,status";
    for (const char* name : kEnvelopeNames) line_ += std::string(",governs") + name;
    if (options_.check) line_ += ",utilisation,N0,rho,checkFlags,governsUtilisation";
    line_ += '\n';
    *sink_ << line_;

    const bool progress = standardErrorIsTerminal();
    std::vector<std::string> fields;
    while (true) {
        const auto status = reader.next(fields);
        if (status == CsvReader::Status::End) break;
        if (status == CsvReader::Status::Error) {
            if (reader.readFailed())
                return fileError("cannot read " + options_.input + ": " + systemReason());
            // Nothing after a broken quote can be read reliably: report it and stop.
            ++rejected_;
            fields.clear();
            writeResultRow(fields, reader.recordLine(), false, "rejected: " + reader.error());
            break;
        }
        designRow(fields, reader.recordLine());
        if (reportFailed_) return fileError(reportError_);
        if (progress) showProgress(reader, false);
        if (!*sink_) break;
    }
    if (reader.readFailed())
        return fileError("cannot read " + options_.input + ": " + systemReason());
    if (grouped_) {
        if (haveCurrent_) closeEnvelope(currentId_);
    } else {
        for (const std::string& id : order_) closeEnvelope(id);
    }
    if (progress) showProgress(reader, true);
    sink_->flush();
    if (!*sink_) {
        return fileError("cannot write " + (options_.output ? *options_.output : "stdout") + ": " +
                         systemReason());
    }
    if (options_.output) {
        outFile.close();
        if (!outFile) return fileError("cannot write " + *options_.output + ": " + systemReason());
    }
    return rejected_ > 0 ? 4 : 0;
}

}  // namespace

std::string reportFileName(const std::string& id, long long line) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string name;
    for (std::size_t i = 0; i < id.size(); ++i) {
        const auto c = static_cast<unsigned char>(id[i]);
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '_' || c == '-' || (c == '.' && i > 0);
        if (plain) {
            name += static_cast<char>(c);
        } else {
            name += '%';
            name += kHex[c >> 4];
            name += kHex[c & 0xF];
        }
    }
    // Keep the name within what file systems allow (255 bytes), line number included.
    if (name.size() > 200) name.resize(200);
    return name + "-" + std::to_string(line) + ".txt";
}

int runBatch(const BatchOptions& options, std::ostream& out, std::ostream& err) {
    Batch batch(options, out, err);
    return batch.run();
}

}  // namespace tessarin
