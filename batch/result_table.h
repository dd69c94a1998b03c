#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "batch/batch_case.h"
#include "batch/envelope.h"
#include "engine/column_calculator.h"

namespace tessarin {

struct SectionCheckResult;

// A design result in the results table, named after the engine's field.
struct DesignValue {
    const char* name;
    double ColumnCalculator::*field;
    bool cornerBarsOnly;  // scheme 2 reports no corner bar; neither does its row
};
inline constexpr std::array<DesignValue, 21> kDesignValues = {{
    {"e0x", &ColumnCalculator::e0x, false},       {"eax", &ColumnCalculator::eax, false},
    {"eix", &ColumnCalculator::eix, false},       {"zetaX1", &ColumnCalculator::zetaX1, false},
    {"zetaX2", &ColumnCalculator::zetaX2, false}, {"etaX", &ColumnCalculator::etaX, false},
    {"e0y", &ColumnCalculator::e0y, false},       {"eay", &ColumnCalculator::eay, false},
    {"eiy", &ColumnCalculator::eiy, false},       {"zetaY1", &ColumnCalculator::zetaY1, false},
    {"zetaY2", &ColumnCalculator::zetaY2, false}, {"etaY", &ColumnCalculator::etaY, false},
    {"Nux", &ColumnCalculator::Nux, false},       {"Nuy", &ColumnCalculator::Nuy, false},
    {"Asex", &ColumnCalculator::Asex, false},     {"Asey", &ColumnCalculator::Asey, false},
    {"Asc", &ColumnCalculator::Asc, true},        {"Aswx", &ColumnCalculator::Aswx, false},
    {"Aswy", &ColumnCalculator::Aswy, false},     {"Asx", &ColumnCalculator::Asx, false},
    {"Asy", &ColumnCalculator::Asy, false},
}};

// One input row as the results table shows it.
struct CaseRow {
    long long line = 0;  // the physical line the row starts on
    const std::vector<std::string>* fields = nullptr;
    const ColumnMap* columns = nullptr;
    const ColumnCalculator* design = nullptr;   // nullptr when the row was rejected
    const SectionCheckResult* check = nullptr;  // nullptr without the check or when rejected
    const std::string* status = nullptr;        // ok, warning: ..., rejected: ...
};

// The results CSV as one list of columns, each with its name and how it shows a case row and an
// envelope row: line, the inputs as given, the design values, passes and convergence, status, the
// governing lines of the envelope and, with the section check, its columns.
class ResultTable {
  public:
    explicit ResultTable(bool withSectionCheck);

    // Each appends one CSV line with its LF.
    void appendHeader(std::string& line) const;
    void appendCase(const CaseRow& row, std::string& line) const;
    void appendEnvelope(const Envelope& envelope, std::string& line) const;

    std::size_t columnCount() const { return columns_.size(); }
    const std::string& columnName(std::size_t i) const { return columns_[i].name; }

  private:
    struct Column;
    using CaseCell = void (*)(const Column&, const CaseRow&, std::string&);
    using EnvelopeCell = void (*)(const Column&, const Envelope&, std::string&);
    struct Column {
        std::string name;
        CaseCell caseCell;
        EnvelopeCell envelopeCell;
        std::size_t source = 0;   // the input column, design value or envelope value shown
        long long envelope = -1;  // a design value's place among the envelope values, or -1
    };

    std::vector<Column> columns_;
};

}  // namespace tessarin
