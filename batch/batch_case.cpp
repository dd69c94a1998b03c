#include "batch/batch_case.h"

#include <algorithm>
#include <utility>

#include "run/input_parsers.h"
#include "text/number_text.h"

namespace tessarin {

namespace {

constexpr std::size_t at(InputColumn column) {
    return static_cast<std::size_t>(column);
}

const char* nameOf(InputColumn column) {
    return kInputColumnNames[at(column)];
}

// The numbers of a case; the first field that is no number rejects the row, in column order.
constexpr std::array<std::pair<InputColumn, double DesignInput::*>, 8> kNumberColumns = {
    {{InputColumn::L0, &DesignInput::l0},
     {InputColumn::B, &DesignInput::b},
     {InputColumn::H, &DesignInput::h},
     {InputColumn::M0x, &DesignInput::M0x},
     {InputColumn::M0y, &DesignInput::M0y},
     {InputColumn::N, &DesignInput::N},
     {InputColumn::Ax, &DesignInput::ax},
     {InputColumn::Ay, &DesignInput::ay}}};

CaseReading rejected(std::string why) {
    return {std::nullopt, std::move(why)};
}

std::string trimmed(std::string name) {
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
    std::size_t start = 0;
    while (start < name.size() && (name[start] == ' ' || name[start] == '\t')) ++start;
    return name.substr(start);
}

}  // namespace

std::optional<std::string> mapHeader(const std::vector<std::string>& header,
                                     std::span<const char* const> names, std::size_t required,
                                     std::span<long long> positions) {
    std::fill(positions.begin(), positions.end(), -1);
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string name = trimmed(header[i]);
        for (std::size_t c = 0; c < names.size(); ++c) {
            if (name != names[c]) continue;
            if (positions[c] >= 0)
                return "the column \"" + name + "\" is named twice in the header";
            positions[c] = static_cast<long long>(i);
        }
    }
    std::string missing;
    for (std::size_t c = 0; c < required; ++c) {
        if (positions[c] >= 0) continue;
        if (!missing.empty()) missing += ", ";
        missing += names[c];
    }
    if (!missing.empty()) return "the header lacks the required column(s) " + missing;
    return std::nullopt;
}

std::optional<std::string> ColumnMap::read(const std::vector<std::string>& header) {
    headerSize_ = header.size();
    return mapHeader(header, names_, required_, position_);
}

const std::string* ColumnMap::field(const std::vector<std::string>& fields,
                                    std::size_t index) const {
    const long long position = position_[index];
    if (position < 0 || static_cast<std::size_t>(position) >= fields.size()) return nullptr;
    return &fields[static_cast<std::size_t>(position)];
}

CaseReading readCase(const ColumnMap& columns, const std::vector<std::string>& fields) {
    if (fields.size() != columns.headerSize()) {
        return rejected("the row has " + std::to_string(fields.size()) + " fields, the header " +
                        std::to_string(columns.headerSize()));
    }
    // With as many fields as the header, every required column is there.
    const auto required = [&](InputColumn column) -> const std::string& {
        return *columns.field(fields, column);
    };
    BatchCase value;
    DesignInput& input = value.input;
    for (const auto& [column, member] : kNumberColumns) {
        const auto number = parseNumber(required(column));
        if (!number) {
            return rejected(std::string(nameOf(column)) + ": \"" + required(column) +
                            "\" is not a number");
        }
        input.*member = *number;
    }
    const std::string& concrete = required(InputColumn::Concrete);
    const auto concreteIndex = parseConcreteGrade(concrete);
    if (!concreteIndex) {
        return rejected("concrete: \"" + concrete + "\" is not a concrete grade (C15 to C80)");
    }
    input.concreteIndex = *concreteIndex;
    const std::string& steel = required(InputColumn::Steel);
    const auto steelIndex = parseSteelGrade(steel);
    if (!steelIndex) {
        return rejected("steel: \"" + steel + "\" is not a steel grade (HPB235, HRB335, HRB400)");
    }
    input.steelIndex = *steelIndex;

    // Blank or absent arrangement columns take what OK at once in the scheme dialog gives.
    const auto optional = [&](InputColumn column) -> const std::string* {
        const std::string* text = columns.field(fields, column);
        return text != nullptr && !text->empty() ? text : nullptr;
    };
    SchemeChoice& choice = value.scheme;
    if (const std::string* text = optional(InputColumn::Scheme)) {
        const auto index = parseSchemeIndex(*text);
        if (!index) return rejected("scheme: \"" + *text + "\" is not a scheme (1 or 2)");
        choice.schemeIndex = *index;
    }
    if (const std::string* text = optional(InputColumn::Diameter)) {
        const auto diameter = parseBarDiameter(*text);
        if (!diameter) return rejected("diameter: \"" + *text + "\" is not a listed bar diameter");
        choice.diameter = *diameter;
    }
    for (const auto& [column, target] : {std::pair{InputColumn::RatioX, &choice.ratioX},
                                         std::pair{InputColumn::RatioY, &choice.ratioY}}) {
        const std::string* text = optional(column);
        if (text == nullptr) continue;
        const RatioReading ratio = parseWebRatio(*text);
        if (ratio.status != RatioReading::Status::Ok) {
            return rejected(std::string(nameOf(column)) + ": \"" + *text +
                            "\" is not a ratio between 0 and 1");
        }
        *target = ratio.value;
    }
    return {value, {}};
}

}  // namespace tessarin
