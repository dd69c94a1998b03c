#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "batch/batch_case.h"
#include "batch/envelope.h"
#include "engine/column_design.h"

namespace tessarin {

struct SectionCheckResult;

template <double Step1Result::*field>
double fromStep1(const ColumnDesign& design) {
    return design.step1.*field;
}
template <double Step2Result::*field>
double fromStep2(const ColumnDesign& design) {
    return design.step2.*field;
}

// A design result in the results table, named after the engine's field.
struct DesignValue {
    const char* name;
    double (*of)(const ColumnDesign&);
    bool cornerBarsOnly;  // scheme 2 reports no corner bar; neither does its row
};
inline constexpr std::array<DesignValue, 21> kDesignValues = {{
    {"e0x", &fromStep1<&Step1Result::e0x>, false},
    {"eax", &fromStep1<&Step1Result::eax>, false},
    {"eix", &fromStep1<&Step1Result::eix>, false},
    {"zetaX1", &fromStep1<&Step1Result::zetaX1>, false},
    {"zetaX2", &fromStep1<&Step1Result::zetaX2>, false},
    {"etaX", &fromStep1<&Step1Result::etaX>, false},
    {"e0y", &fromStep1<&Step1Result::e0y>, false},
    {"eay", &fromStep1<&Step1Result::eay>, false},
    {"eiy", &fromStep1<&Step1Result::eiy>, false},
    {"zetaY1", &fromStep1<&Step1Result::zetaY1>, false},
    {"zetaY2", &fromStep1<&Step1Result::zetaY2>, false},
    {"etaY", &fromStep1<&Step1Result::etaY>, false},
    {"Nux", &fromStep1<&Step1Result::Nux>, false},
    {"Nuy", &fromStep1<&Step1Result::Nuy>, false},
    {"Asex", &fromStep1<&Step1Result::Asex>, false},
    {"Asey", &fromStep1<&Step1Result::Asey>, false},
    {"Asc", &fromStep2<&Step2Result::Asc>, true},
    {"Aswx", &fromStep2<&Step2Result::Aswx>, false},
    {"Aswy", &fromStep2<&Step2Result::Aswy>, false},
    {"Asx", &fromStep2<&Step2Result::Asx>, false},
    {"Asy", &fromStep2<&Step2Result::Asy>, false},
}};

// One input row as the results table shows it.
struct CaseRow {
    long long line = 0;  // the physical line the row starts on
    const std::vector<std::string>* fields = nullptr;
    const ColumnMap* columns = nullptr;
    const ColumnDesign* design = nullptr;       // nullptr when the row was rejected
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
