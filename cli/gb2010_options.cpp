#include "cli/gb2010_options.h"

#include <optional>
#include <vector>

#include "report/bar_preference_fields.h"
#include "run/gb2010_fields.h"
#include "text/number_text.h"

namespace tessarin {

std::string readGb2010Flags(const std::map<std::string, std::string>& given,
                            Gb2010CliOptions& options) {
    Gb2010Column& column = options.input.column;
    LoadCombination& load = options.input.combinations.front();
    // The numbers first, then the words, each in the order of a cases file's columns; the first
    // that cannot be read is the usage error.
    const std::vector<const Gb2010FieldEntry*> fields = gb2010FieldsBy(&Gb2010FieldEntry::csvPlace);
    for (const bool words : {false, true}) {
        for (const Gb2010FieldEntry* entry : fields) {
            if (entry->isChoice() != words) continue;
            const auto found = given.find(entry->flag);
            if (found == given.end()) continue;
            const std::string& text = found->second;
            const auto rejected = [&] {
                std::string message =
                    std::string(entry->flag) + ": \"" + text + "\" is not " + entry->flagWhat;
                if (entry->flagUse != nullptr) (message += "; use ") += entry->flagUse;
                if (entry->mistake != nullptr && text == entry->mistake) {
                    message += entry->mistakeNote;
                }
                return message;
            };
            if (words) {
                const auto value = entry->choices->fromFlagWord(text);
                if (!value) return rejected();
                setFieldChoice(*entry, column, load, *value);
            } else {
                const auto value = parseNumber(text);
                if (!value) return rejected();
                setFieldNumber(*entry, column, load, *value);
            }
        }
    }
    for (const BarPreferenceField& field : kBarPreferenceFields) {
        const auto found = given.find(field.flag);
        if (found == given.end()) continue;
        const std::string why = readBarPreference(field, found->second, column.barPreferences);
        if (!why.empty()) return std::string(field.flag) + ": " + why;
    }
    options.json = given.count("--json") > 0;
    return {};
}

const char* flagForGb2010Field(Gb2010Field field) {
    // The bar preferences are several flags; the first names them (report/bar_preference_fields.h).
    if (field == Gb2010Field::BarPreferences) return "--bars";
    const Gb2010FieldEntry* entry = gb2010FieldEntry(field);
    return entry != nullptr ? entry->flag : "the input";
}

std::vector<std::pair<const char*, const char*>> gb2010FlagHelps() {
    std::vector<std::pair<const char*, const char*>> helps;
    for (const Gb2010FieldEntry* entry : gb2010FieldsBy(&Gb2010FieldEntry::helpPlace)) {
        helps.emplace_back(entry->flag, entry->help);
    }
    return helps;
}

}  // namespace tessarin
