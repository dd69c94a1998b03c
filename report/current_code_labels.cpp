#include "report/current_code_labels.h"

#include <array>
#include <charconv>

#include "engine/current_code/current_code_rules.h"

namespace tessarin {

std::optional<SteelGrade2010> steelFromLabel2010(std::string_view label) {
    constexpr std::array<SteelGrade2010, 4> kSteels = {
        SteelGrade2010::HPB300, SteelGrade2010::HRB335, SteelGrade2010::HRB400,
        SteelGrade2010::HRB500};
    for (std::size_t i = 0; i < kSteels.size(); ++i) {
        if (label == kSteelLabels2010[i]) return kSteels[i];
    }
    return std::nullopt;
}

const char* steelLabel2010(SteelGrade2010 steel) {
    return kSteelLabels2010[static_cast<std::size_t>(static_cast<int>(steel))];
}

std::optional<int> concreteFromLabel2010(std::string_view label) {
    if (label.size() != 3 || label[0] != 'C') return std::nullopt;
    int grade = 0;
    const auto [end, error] = std::from_chars(label.data() + 1, label.data() + label.size(), grade);
    if (error != std::errc() || end != label.data() + label.size()) return std::nullopt;
    if (!isConcreteGrade2010(grade)) return std::nullopt;
    return grade;
}

const char* seismicGradeLabel(SeismicGrade grade) {
    switch (grade) {
        case SeismicGrade::one:
            return "一";
        case SeismicGrade::two:
            return "二";
        case SeismicGrade::three:
            return "三";
        case SeismicGrade::four:
            return "四";
        case SeismicGrade::none:
            break;
    }
    return "";
}

}  // namespace tessarin
