#include "batch/result_table.h"

#include <string_view>
#include <utility>

#include "batch/csv_reader.h"
#include "engine/design_codes.h"
#include "engine/section/section_check.h"
#include "report/section_check_text.h"
#include "text/number_text.h"

namespace tessarin {

namespace {

long long envelopePlace(std::string_view name) {
    for (std::size_t i = 0; i < kEnvelopeValues.size(); ++i) {
        if (name == kEnvelopeValues[i].name) return static_cast<long long>(i);
    }
    return -1;
}

}  // namespace

ResultTable::ResultTable(bool withSectionCheck) {
    using Case = const CaseRow&;
    using Env = const Envelope&;
    using Out = std::string&;
    const auto none = [](const Column&, Env, Out) {};
    columns_.push_back(
        {"line", [](const Column&, Case r, Out o) { o += std::to_string(r.line); }, none});
    for (std::size_t i = 0; i < kInputColumnCount; ++i) {
        columns_.push_back({kInputColumnNames[i],
                            [](const Column& c, Case r, Out o) {
                                const std::string* field =
                                    r.columns->field(*r.fields, static_cast<InputColumn>(c.source));
                                if (field != nullptr) appendCsvField(o, *field);
                            },
                            // An envelope row names its column and nothing else of the inputs.
                            [](const Column& c, Env e, Out o) {
                                if (static_cast<InputColumn>(c.source) == InputColumn::Id)
                                    appendCsvField(o, e.id);
                            },
                            i});
    }
    for (std::size_t i = 0; i < kDesignValues.size(); ++i) {
        columns_.push_back({kDesignValues[i].name,
                            [](const Column& c, Case r, Out o) {
                                const DesignValue& value = kDesignValues[c.source];
                                if (r.design == nullptr) return;
                                if (value.cornerBarsOnly &&
                                    r.design->step2.scheme != codeOf(Scheme::CornerBars)) {
                                    return;
                                }
                                o += formatShortest(value.of(*r.design));
                            },
                            [](const Column& c, Env e, Out o) {
                                if (c.envelope < 0) return;
                                const auto place = static_cast<std::size_t>(c.envelope);
                                if (e.line[place] != 0) o += formatShortest(e.largest[place]);
                            },
                            i, envelopePlace(kDesignValues[i].name)});
    }
    columns_.push_back({"passesX",
                        [](const Column&, Case r, Out o) {
                            if (r.design != nullptr) o += std::to_string(r.design->step1.passesX);
                        },
                        none});
    columns_.push_back({"passesY",
                        [](const Column&, Case r, Out o) {
                            if (r.design != nullptr) o += std::to_string(r.design->step1.passesY);
                        },
                        none});
    columns_.push_back({"convergedX",
                        [](const Column&, Case r, Out o) {
                            if (r.design != nullptr)
                                o += r.design->step1.convergedX ? "true" : "false";
                        },
                        none});
    columns_.push_back({"convergedY",
                        [](const Column&, Case r, Out o) {
                            if (r.design != nullptr)
                                o += r.design->step1.convergedY ? "true" : "false";
                        },
                        none});
    columns_.push_back({"status",
                        [](const Column&, Case r, Out o) { appendCsvField(o, *r.status); },
                        [](const Column&, Env e, Out o) {
                            o += e.any ? "envelope" : "envelope: no accepted combination";
                        }});
    for (std::size_t i = 0; i < kEnvelopeValues.size(); ++i) {
        columns_.push_back({std::string("governs") + kEnvelopeValues[i].name,
                            [](const Column&, Case, Out) {},
                            [](const Column& c, Env e, Out o) {
                                if (e.line[c.source] != 0) o += std::to_string(e.line[c.source]);
                            },
                            i});
    }
    if (!withSectionCheck) return;
    columns_.push_back({"utilisation",
                        [](const Column&, Case r, Out o) {
                            if (r.check != nullptr) o += formatShortest(r.check->utilisation);
                        },
                        [](const Column&, Env e, Out o) {
                            if (e.utilisationLine != 0) o += formatShortest(e.utilisation);
                        }});
    columns_.push_back({"N0",
                        [](const Column&, Case r, Out o) {
                            if (r.check != nullptr) o += formatShortest(r.check->squashLoad);
                        },
                        none});
    columns_.push_back({"rho",
                        [](const Column&, Case r, Out o) {
                            if (r.check != nullptr) o += formatShortest(r.check->totalSteelRatio);
                        },
                        none});
    columns_.push_back({"checkFlags",
                        [](const Column&, Case r, Out o) {
                            if (r.check != nullptr) o += sectionCheckFlags(*r.check);
                        },
                        none});
    columns_.push_back({"governsUtilisation", [](const Column&, Case, Out) {},
                        [](const Column&, Env e, Out o) {
                            if (e.utilisationLine != 0) o += std::to_string(e.utilisationLine);
                        }});
}

void ResultTable::appendHeader(std::string& line) const {
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (i > 0) line += ',';
        line += columns_[i].name;
    }
    line += '\n';
}

void ResultTable::appendCase(const CaseRow& row, std::string& line) const {
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (i > 0) line += ',';
        columns_[i].caseCell(columns_[i], row, line);
    }
    line += '\n';
}

void ResultTable::appendEnvelope(const Envelope& envelope, std::string& line) const {
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (i > 0) line += ',';
        columns_[i].envelopeCell(columns_[i], envelope, line);
    }
    line += '\n';
}

}  // namespace tessarin
