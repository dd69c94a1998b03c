#pragma once

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "engine/gb2010/gb2010_types.h"

namespace tessarin {

// One value of a list the engineer chooses from: the grades, structure types, positions and
// combination kinds of the current-code design, each with its Chinese name and its word.
struct Choice {
    int value;                       // the enumerator, or the concrete grade's number
    const char* label;               // as the lists and the reports show it; nullptr: a word only
    const char* word;                // as a cases file and a project file give it; nullptr: none
    const char* flagWord = nullptr;  // the command line's word where it differs from word
};

// A list in the order the dialogs show it. A value may have more than one word (an edge column
// is in the class of the middle ones), and only the entry with a label is shown.
struct ChoiceList {
    std::span<const Choice> items;

    [[nodiscard]] const Choice* find(int value) const;
    [[nodiscard]] const char* label(int value) const;  // "" for a value not listed
    [[nodiscard]] const char* word(int value) const;   // "" for a value without a word
    [[nodiscard]] std::optional<int> fromWord(std::string_view text) const;
    [[nodiscard]] std::optional<int> fromFlagWord(std::string_view text) const;
    // The shown entries (those with a label), in order: what a list box holds.
    [[nodiscard]] std::vector<const Choice*> shown() const;
};

// Concrete C20 to C80 in steps of 5 (4.1.4); steel HPB300 to HRB500 (4.2.3); seismic grade none,
// 一 to 四 (GB 50011-2010 6.1.2); structure (GB 50011-2010 uses 抗震墙 for the shear wall);
// position (table 6.3.7-1); the kind of a load combination.
[[nodiscard]] const ChoiceList& concreteGrades2010();
[[nodiscard]] const ChoiceList& steelGrades2010();
[[nodiscard]] const ChoiceList& seismicGrades();
[[nodiscard]] const ChoiceList& structureTypes();
[[nodiscard]] const ChoiceList& columnPositions();
[[nodiscard]] const ChoiceList& combinationKinds();

// "HPB300" ... "HRB500" to the steel; nullopt for another label.
[[nodiscard]] std::optional<SteelGrade2010> steelFromLabel2010(std::string_view label);
[[nodiscard]] const char* steelLabel2010(SteelGrade2010 steel);

// "C20" ... "C80" (steps of 5) to the grade number; nullopt for another label.
[[nodiscard]] std::optional<int> concreteFromLabel2010(std::string_view label);

// The words of the command line and the batch columns: "none", "1" ... "4"; "frame", "dual";
// "middle" (or "edge"), "corner". nullopt for another word.
[[nodiscard]] std::optional<SeismicGrade> seismicGradeFromText(std::string_view text);
[[nodiscard]] std::optional<StructureType> structureFromText(std::string_view text);
[[nodiscard]] std::optional<ColumnPosition> positionFromText(std::string_view text);

// The seismic grade as the codes name it: "一" ... "四"; "" without a grade.
[[nodiscard]] const char* seismicGradeLabel(SeismicGrade grade);

}  // namespace tessarin
