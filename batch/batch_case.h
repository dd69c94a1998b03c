#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "run/design_input.h"
#include "run/reinforcement_scheme.h"

namespace tessarin {

// The input columns of a cases file, in the order the results repeat them.
enum class InputColumn : std::size_t {
    Id,
    L0,
    B,
    H,
    M0x,
    M0y,
    N,
    Ax,
    Ay,
    Concrete,
    Steel,
    Scheme,  // this one and those after it may be left out
    Diameter,
    RatioX,
    RatioY,
};
inline constexpr std::size_t kInputColumnCount = 15;
inline constexpr std::size_t kRequiredInputColumns = 11;  // id to steel
inline constexpr std::array<const char*, kInputColumnCount> kInputColumnNames = {
    "id", "l0",       "b",     "h",      "M0x",      "M0y",     "N",      "ax",
    "ay", "concrete", "steel", "scheme", "diameter", "ratio_x", "ratio_y"};

// Where each named column stands in a header line: names in any order, blanks around them
// ignored, unknown names passed over; -1 for a column the header lacks. The first `required`
// names must be there. On a header that cannot be used, the reason ("the header lacks the
// required column(s) ay").
std::optional<std::string> mapHeader(const std::vector<std::string>& header,
                                     std::span<const char* const> names, std::size_t required,
                                     std::span<long long> positions);

// Where each named column stands in the rows of a file, from its header line: the columns of a
// 2002 cases file (InputColumn), or the names given (the current-code cases file).
class ColumnMap {
  public:
    ColumnMap() : ColumnMap(kInputColumnNames, kRequiredInputColumns) {}
    ColumnMap(std::span<const char* const> names, std::size_t required)
        : names_(names), required_(required), position_(names.size(), -1) {}

    // Reads the header (names in any order, blanks around them ignored, unknown names passed
    // over). On a header that cannot be used, the reason, e.g. the header lacks the required
    // column(s) ay.
    std::optional<std::string> read(const std::vector<std::string>& header);

    // The field of a row in the column of that index among the names; nullptr when the file has
    // no such column or the row is too short.
    const std::string* field(const std::vector<std::string>& fields, std::size_t index) const;
    const std::string* field(const std::vector<std::string>& fields, InputColumn column) const {
        return field(fields, static_cast<std::size_t>(column));
    }
    // A field that is there and not blank.
    const std::string* given(const std::vector<std::string>& fields, std::size_t index) const {
        const std::string* text = field(fields, index);
        return text != nullptr && !text->empty() ? text : nullptr;
    }
    std::size_t headerSize() const { return headerSize_; }

  private:
    std::span<const char* const> names_;
    std::size_t required_ = 0;
    std::vector<long long> position_;  // -1 when absent
    std::size_t headerSize_ = 0;
};

// One row as a design case: the main dialog's input and the scheme dialog's choice.
struct BatchCase {
    DesignInput input;
    SchemeChoice scheme;  // blank columns: OK at once in the scheme dialog (1, 22, 0, 0)
};

// A row read as a case, or why it is rejected ("M0y: \"1 20\" is not a number"). The numbers,
// grades, scheme, diameter and ratios are read exactly as the command-line flags read them.
struct CaseReading {
    std::optional<BatchCase> value;
    std::string rejection;
};
CaseReading readCase(const ColumnMap& columns, const std::vector<std::string>& fields);

}  // namespace tessarin
