#include "report/bar_preference_fields.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace tessarin {

namespace {

// A whole number of at most 3 digits, nothing else.
bool readInteger(std::string_view text, int& value) {
    if (text.empty() || text.size() > 3) return false;
    int result = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        result = result * 10 + (c - '0');
    }
    value = result;
    return true;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string readDiameterList(std::string_view text, std::vector<int>& list) {
    // Chinese commas (U+FF0C) and spaces separate like commas.
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 3) == "\xEF\xBC\x8C") {
            plain += ',';
            i += 2;
        } else {
            plain += text[i] == ' ' || text[i] == '\t' ? ',' : text[i];
        }
    }
    std::vector<int> result;
    std::size_t start = 0;
    while (start <= plain.size()) {
        const std::size_t end = std::min(plain.find(',', start), plain.size());
        const std::string_view item = std::string_view(plain).substr(start, end - start);
        if (!item.empty()) {
            int d = 0;
            if (!readInteger(item, d))
                return quoted(item) + " 不是钢筋直径（整数毫米，以逗号分隔）";
            result.push_back(d);
        }
        start = end + 1;
    }
    if (result.empty()) return "至少给出一种直径";
    std::sort(result.begin(), result.end());
    if (std::adjacent_find(result.begin(), result.end()) != result.end()) return "直径重复";
    list = std::move(result);
    return {};
}

std::string listText(const std::vector<int>& list) {
    std::string text;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (i > 0) text += ',';
        text += std::to_string(list[i]);
    }
    return text;
}

// The field's target: an int or a bool of the preferences.
int* intTarget(const BarPreferenceField& field, BarPreferences& p) {
    const std::string_view key = field.key;
    if (key == "smallestMiddleBar") return &p.smallestMiddleBar;
    if (key == "maximumSizeStep") return &p.maximumSizeStep;
    if (key == "preferredDiameter") return &p.preferredDiameter;
    return nullptr;
}

bool* switchTarget(const BarPreferenceField& field, BarPreferences& p) {
    const std::string_view key = field.key;
    if (key == "middleBarsMayDiffer") return &p.middleBarsMayDiffer;
    if (key == "sameBarsOnSquare") return &p.sameBarsOnSquare;
    return nullptr;
}

}  // namespace

std::string readBarPreference(const BarPreferenceField& field, std::string_view text,
                              BarPreferences& preferences) {
    text = trimmed(text);
    switch (field.kind) {
        case BarPreferenceKind::DiameterList:
            return readDiameterList(text, preferences.diameters);
        case BarPreferenceKind::Switch: {
            bool* target = switchTarget(field, preferences);
            if (text == "yes") {
                *target = true;
            } else if (text == "no") {
                *target = false;
            } else {
                return quoted(text) + " 应为 yes 或 no";
            }
            return {};
        }
        case BarPreferenceKind::OptionalDiameter:
            if (text == "none") {
                *intTarget(field, preferences) = 0;
                return {};
            }
            [[fallthrough]];
        case BarPreferenceKind::Diameter:
        case BarPreferenceKind::Count: {
            int value = 0;
            if (!readInteger(text, value) ||
                (field.kind != BarPreferenceKind::Count && value == 0)) {
                return quoted(text) + (field.kind == BarPreferenceKind::Count
                                           ? " 不是 0～10 的整数"
                                           : " 不是钢筋直径（整数毫米）");
            }
            *intTarget(field, preferences) = value;
            return {};
        }
    }
    return "无法识别";
}

std::string barPreferenceText(const BarPreferenceField& field, const BarPreferences& preferences) {
    BarPreferences copy = preferences;
    switch (field.kind) {
        case BarPreferenceKind::DiameterList:
            return listText(preferences.diameters);
        case BarPreferenceKind::Switch:
            return *switchTarget(field, copy) ? "yes" : "no";
        case BarPreferenceKind::OptionalDiameter:
            if (*intTarget(field, copy) == 0) return "none";
            [[fallthrough]];
        case BarPreferenceKind::Diameter:
        case BarPreferenceKind::Count:
            return std::to_string(*intTarget(field, copy));
    }
    return {};
}

void findBarPreferenceColumns(const std::vector<std::string>& header,
                              BarPreferenceColumns& positions) {
    positions.fill(-1);
    for (std::size_t k = 0; k < kBarPreferenceFields.size(); ++k) {
        for (std::size_t c = 0; c < header.size(); ++c) {
            if (trimmed(header[c]) == kBarPreferenceFields[k].column) {
                positions[k] = static_cast<long long>(c);
                break;
            }
        }
    }
}

std::optional<std::string> barPreferencesDiffer(const BarPreferences& a, const BarPreferences& b,
                                                long long referenceLine) {
    for (const BarPreferenceField& field : kBarPreferenceFields) {
        const std::string first = barPreferenceText(field, a);
        const std::string other = barPreferenceText(field, b);
        if (first == other) continue;
        std::string text = field.column;
        text += ": \"";
        text += other;
        text += "\" differs from \"";
        text += first;
        text += "\" on line ";
        text += std::to_string(referenceLine);
        text += "; the rows of an id share one column and its bar preferences";
        return text;
    }
    return std::nullopt;
}

std::string barPreferencesSummary(const BarPreferences& p) {
    std::string text = p.diameters.empty() ? std::string("无可用直径") : listText(p.diameters);
    text += "；中部筋≥" + std::to_string(p.smallestMiddleBar);
    text += "；级差≤" + std::to_string(p.maximumSizeStep);
    text += p.middleBarsMayDiffer ? "；b/h中部筋可不同" : "；b/h中部筋相同";
    if (p.sameBarsOnSquare) text += "；方柱四边相同";
    if (p.preferredDiameter != 0) text += "；优先 " + std::to_string(p.preferredDiameter);
    return text;
}

}  // namespace tessarin
