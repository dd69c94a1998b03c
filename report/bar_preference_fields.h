#pragma once

// The fields of the bar preferences (配筋参数) and their spellings, in one table that the command
// line, the batch's cases file and the project file all read: the flag, the batch column, the
// project file's key, the label the windows show, and one text form per field.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/gb2010/bar_preferences.h"

namespace tessarin {

enum class BarPreferenceKind {
    DiameterList,      // "12,14,16,20" (commas, Chinese commas or spaces between)
    Diameter,          // "14"
    Count,             // "2"
    Switch,            // "yes" or "no"
    OptionalDiameter,  // "20", or "none" for no preference
};

struct BarPreferenceField {
    const char* key;     // the project file's key ("diameters")
    const char* flag;    // the command line's flag ("--bars")
    const char* column;  // the cases file's column ("bars")
    const char* label;   // what the windows and messages call it ("可用直径")
    const char* help;    // the command line's help text
    BarPreferenceKind kind;
};

inline constexpr std::array<BarPreferenceField, 6> kBarPreferenceFields = {{
    {"diameters", "--bars", "bars", "可用直径",
     "with --code 2010: the longitudinal bar diameters a layout may use, mm, e.g. 16,18,20,22,25 "
     "(12,14,16,18,20,22,25,28,32,36,40)",
     BarPreferenceKind::DiameterList},
    {"smallestMiddleBar", "--min-middle-bar", "min_middle_bar", "最小中部筋直径",
     "with --code 2010: the smallest middle (web) bar, mm (12)", BarPreferenceKind::Diameter},
    {"maximumSizeStep", "--max-size-step", "max_size_step", "角筋与中部筋最大级差",
     "with --code 2010: how many sizes of the allowed list a middle bar may stand below the corner "
     "bar, 0 to 10 (2)",
     BarPreferenceKind::Count},
    {"middleBarsMayDiffer", "--middle-bars-may-differ", "middle_bars_may_differ",
     "b边与h边中部筋可不同",
     "with --code 2010: yes if the middle bars of the b and h faces may differ in diameter, no "
     "for one diameter on all faces (yes)",
     BarPreferenceKind::Switch},
    {"sameBarsOnSquare", "--square-same-bars", "square_same_bars", "方柱四边配筋相同",
     "with --code 2010: yes for the same middle bars on all four faces of a square column (yes)",
     BarPreferenceKind::Switch},
    {"preferredDiameter", "--preferred-bar", "preferred_bar", "优先直径",
     "with --code 2010: the diameter preferred among equally light layouts, mm, or none (none)",
     BarPreferenceKind::OptionalDiameter},
}};

// Reads a field's text into the preferences. Returns why the text cannot be used (in Chinese,
// without the field's name), or "" when it was taken. The preferences as a whole are checked by
// barPreferencesProblem once every field is read.
[[nodiscard]] std::string readBarPreference(const BarPreferenceField& field, std::string_view text,
                                            BarPreferences& preferences);

// A field's value in its text form, as readBarPreference reads it back.
[[nodiscard]] std::string barPreferenceText(const BarPreferenceField& field,
                                            const BarPreferences& preferences);

// Where each field's column stands in a cases file's header (blanks around a name ignored), -1
// where the file has none.
using BarPreferenceColumns = std::array<long long, kBarPreferenceFields.size()>;
void findBarPreferenceColumns(const std::vector<std::string>& header,
                              BarPreferenceColumns& positions);

// The rows of one column id must give the same preferences: the first field in which b differs
// from a (given on referenceLine), as "bars: \"16,20\" differs from \"16,20,25\" on line 2; ...",
// or nothing.
[[nodiscard]] std::optional<std::string> barPreferencesDiffer(const BarPreferences& a,
                                                              const BarPreferences& b,
                                                              long long referenceLine);

// The preferences in a few words for summaries:
// "12,14,16,18,20,22,25,28,32,36,40；中部筋≥12；级差≤2；b/h中部筋可不同；方柱四边相同".
[[nodiscard]] std::string barPreferencesSummary(const BarPreferences& preferences);

}  // namespace tessarin
