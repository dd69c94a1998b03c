#pragma once

#include <span>
#include <string>

#include "engine/section/section_check.h"

namespace tessarin {

// Where a finding of the section check is told: in place of the capacity (no moment can be
// carried), as a note on the layout, or as a detailing warning.
enum class FindingPlace { Capacity, Note, Warning };

// One finding of the section check: the result's flag, the limit it was tested against (shown
// after the text as a percentage where showLimit is set) and the text, and the name batch lists
// in its checkFlags column.
struct SectionCheckFinding {
    const char* name;
    FindingPlace place;
    bool SectionCheckResult::*flag;
    double SectionCheckResult::*limit;
    bool showLimit;
    const char* text;
};

// Every finding, in the order batch lists them.
[[nodiscard]] std::span<const SectionCheckFinding> sectionCheckFindings();

// The finding's line for this result: its text, then the limit as a percentage if shown.
[[nodiscard]] std::string findingText(const SectionCheckFinding& finding,
                                      const SectionCheckResult& result);

// The names of the findings the result has, joined by ';' (empty without any).
[[nodiscard]] std::string sectionCheckFlags(const SectionCheckResult& result);

// A ratio as the section check shows it: percent with two decimals ("0.50%").
[[nodiscard]] std::string ratioPercent(double ratio);

// The "截面验算" block for the text output: UTF-8 Chinese, every line ending in "\n".
[[nodiscard]] std::string formatSectionCheckSummary(const SectionCheckResult& result);

}  // namespace tessarin
