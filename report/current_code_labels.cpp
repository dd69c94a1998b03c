#include "report/current_code_labels.h"

#include <array>
#include <charconv>

#include "engine/current_code/current_code_rules.h"

namespace tessarin {

namespace {

template <typename T>
struct Word {
    std::string_view text;
    T value;
};

template <typename T, std::size_t N>
std::optional<T> fromWord(std::string_view text, const std::array<Word<T>, N>& words) {
    for (const Word<T>& word : words) {
        if (text == word.text) return word.value;
    }
    return std::nullopt;
}

}  // namespace

std::optional<SeismicGrade> seismicGradeFromText(std::string_view text) {
    static constexpr std::array<Word<SeismicGrade>, 5> kWords = {{{"none", SeismicGrade::None},
                                                                  {"1", SeismicGrade::One},
                                                                  {"2", SeismicGrade::Two},
                                                                  {"3", SeismicGrade::Three},
                                                                  {"4", SeismicGrade::Four}}};
    return fromWord(text, kWords);
}

std::optional<StructureType> structureFromText(std::string_view text) {
    static constexpr std::array<Word<StructureType>, 3> kWords = {
        {{"frame", StructureType::Frame},
         {"dual", StructureType::Dual},
         {"frame-supported", StructureType::FrameSupported}}};
    return fromWord(text, kWords);
}

std::optional<ColumnPosition> positionFromText(std::string_view text) {
    // An edge column is in the class of the middle ones (GB 50011 table 6.3.7-1). A
    // frame-supporting column is no position but a structure of its own (StructureType), whose
    // axial-ratio limits are lower than a corner column's: the word is not taken here.
    static constexpr std::array<Word<ColumnPosition>, 3> kWords = {
        {{"middle", ColumnPosition::Middle},
         {"edge", ColumnPosition::Middle},
         {"corner", ColumnPosition::Corner}}};
    return fromWord(text, kWords);
}

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
        case SeismicGrade::One:
            return "一";
        case SeismicGrade::Two:
            return "二";
        case SeismicGrade::Three:
            return "三";
        case SeismicGrade::Four:
            return "四";
        case SeismicGrade::None:
            break;
    }
    return "";
}

}  // namespace tessarin
