#include "report/gb2010_labels.h"

#include <array>

namespace tessarin {

namespace {

template <typename T>
constexpr int v(T value) {
    return static_cast<int>(value);
}

constexpr std::array<Choice, 13> kConcretes = {{{20, "C20", "C20"},
                                                {25, "C25", "C25"},
                                                {30, "C30", "C30"},
                                                {35, "C35", "C35"},
                                                {40, "C40", "C40"},
                                                {45, "C45", "C45"},
                                                {50, "C50", "C50"},
                                                {55, "C55", "C55"},
                                                {60, "C60", "C60"},
                                                {65, "C65", "C65"},
                                                {70, "C70", "C70"},
                                                {75, "C75", "C75"},
                                                {80, "C80", "C80"}}};

constexpr std::array<Choice, 4> kSteels = {{{v(SteelGrade2010::HPB300), "HPB300", "HPB300"},
                                            {v(SteelGrade2010::HRB335), "HRB335", "HRB335"},
                                            {v(SteelGrade2010::HRB400), "HRB400", "HRB400"},
                                            {v(SteelGrade2010::HRB500), "HRB500", "HRB500"}}};

constexpr std::array<Choice, 5> kSeismicGrades = {{{v(SeismicGrade::None), "非抗震", "none"},
                                                   {v(SeismicGrade::One), "一级", "1"},
                                                   {v(SeismicGrade::Two), "二级", "2"},
                                                   {v(SeismicGrade::Three), "三级", "3"},
                                                   {v(SeismicGrade::Four), "四级", "4"}}};

constexpr std::array<Choice, 3> kStructures = {
    {{v(StructureType::Frame), "框架结构", "frame"},
     {v(StructureType::Dual), "框架-抗震墙等双重体系", "dual"},
     {v(StructureType::FrameSupported), "部分框支抗震墙结构的框支柱", "frame-supported"}}};

// An edge column is in the class of the middle ones (GB 50011 table 6.3.7-1). A frame-supporting
// column is no position but a structure of its own (StructureType), whose axial-ratio limits are
// lower than a corner column's: no word of it here.
constexpr std::array<Choice, 3> kPositions = {{{v(ColumnPosition::Middle), "中柱、边柱", "middle"},
                                               {v(ColumnPosition::Middle), nullptr, "edge"},
                                               {v(ColumnPosition::Corner), "角柱", "corner"}}};

// A blank kind is unspecified; the command line says yes or no.
constexpr std::array<Choice, 3> kKinds = {
    {{v(CombinationKind::Unspecified), "未指明", nullptr},
     {v(CombinationKind::Seismic), "地震组合", "seismic", "yes"},
     {v(CombinationKind::NonSeismic), "非地震组合", "non-seismic", "no"}}};

}  // namespace

const Choice* ChoiceList::find(int value) const {
    for (const Choice& choice : items) {
        if (choice.value == value && choice.label != nullptr) return &choice;
    }
    return nullptr;
}

const char* ChoiceList::label(int value) const {
    const Choice* choice = find(value);
    return choice != nullptr ? choice->label : "";
}

const char* ChoiceList::word(int value) const {
    const Choice* choice = find(value);
    return choice != nullptr && choice->word != nullptr ? choice->word : "";
}

std::optional<int> ChoiceList::fromWord(std::string_view text) const {
    for (const Choice& choice : items) {
        if (choice.word != nullptr && text == choice.word) return choice.value;
    }
    return std::nullopt;
}

std::optional<int> ChoiceList::fromFlagWord(std::string_view text) const {
    for (const Choice& choice : items) {
        const char* word = choice.flagWord != nullptr ? choice.flagWord : choice.word;
        if (word != nullptr && text == word) return choice.value;
    }
    return std::nullopt;
}

std::vector<const Choice*> ChoiceList::shown() const {
    std::vector<const Choice*> result;
    for (const Choice& choice : items) {
        if (choice.label != nullptr) result.push_back(&choice);
    }
    return result;
}

const ChoiceList& concreteGrades2010() {
    static const ChoiceList kList{kConcretes};
    return kList;
}

const ChoiceList& steelGrades2010() {
    static const ChoiceList kList{kSteels};
    return kList;
}

const ChoiceList& seismicGrades() {
    static const ChoiceList kList{kSeismicGrades};
    return kList;
}

const ChoiceList& structureTypes() {
    static const ChoiceList kList{kStructures};
    return kList;
}

const ChoiceList& columnPositions() {
    static const ChoiceList kList{kPositions};
    return kList;
}

const ChoiceList& combinationKinds() {
    static const ChoiceList kList{kKinds};
    return kList;
}

std::optional<SeismicGrade> seismicGradeFromText(std::string_view text) {
    const auto value = seismicGrades().fromWord(text);
    if (!value) return std::nullopt;
    return static_cast<SeismicGrade>(*value);
}

std::optional<StructureType> structureFromText(std::string_view text) {
    const auto value = structureTypes().fromWord(text);
    if (!value) return std::nullopt;
    return static_cast<StructureType>(*value);
}

std::optional<ColumnPosition> positionFromText(std::string_view text) {
    const auto value = columnPositions().fromWord(text);
    if (!value) return std::nullopt;
    return static_cast<ColumnPosition>(*value);
}

std::optional<SteelGrade2010> steelFromLabel2010(std::string_view label) {
    const auto value = steelGrades2010().fromWord(label);
    if (!value) return std::nullopt;
    return static_cast<SteelGrade2010>(*value);
}

const char* steelLabel2010(SteelGrade2010 steel) {
    return steelGrades2010().label(static_cast<int>(steel));
}

std::optional<int> concreteFromLabel2010(std::string_view label) {
    return concreteGrades2010().fromWord(label);
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
