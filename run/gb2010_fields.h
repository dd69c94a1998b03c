#pragma once

// Every input of the current-code design, once: its member, its command-line flag, its column in
// a cases file, its key in a project file, how the dialogs label it and with what unit, what a
// blank means, its range and the check's message, its list of choices. The command line, the
// batch, the dialogs, the project file and the input checks read this table; adding an input is
// adding an entry (and its member to Gb2010Column or LoadCombination).

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "report/gb2010_labels.h"
#include "run/gb2010_input.h"

namespace tessarin {

// How validateGb2010Input checks a number (a blank optional one is not checked):
// Positive: above zero ("…应为大于零的数(mm)") and at most high when high > 0;
// NonNegative: zero or more, at most high; Between: low to high, both included; Finite: any
// number;
// Rule: rule(column) holds (message: checkName).
enum class FieldCheck { None, Positive, NonNegative, Between, Finite, Rule };

struct Gb2010FieldEntry {
    Gb2010Field field;
    const char* key;     // the project file's key, its member's name where it can be
    const char* flag;    // the command line's flag: "--lc-x"
    const char* column;  // the cases file's column: "lc_x"
    const char* label;   // the 2010 dialog's label, unit included: "x向支撑点间长度 lcx(mm)"
    const char* name;    // how the project window names it: "x向支撑点间长度 lc"
    const char* unit;    // "mm", "kN", "kN.m"; "" for a ratio or a choice
    const char* hint;    // the 2010 dialog's text in a blank field; nullptr: a value is needed
    const char* projectHint = "";  // the project window's
    // Required in every cases row, project column (and as a number in the dialogs).
    bool required = false;

    // Where the value lives: exactly one of these.
    double Gb2010Column::*number = nullptr;
    std::optional<double> Gb2010Column::*optional = nullptr;
    double LoadCombination::*load = nullptr;
    const ChoiceList* choices = nullptr;
    int (*choiceOf)(const Gb2010Column&, const LoadCombination&) = nullptr;
    void (*setChoice)(Gb2010Column&, LoadCombination&, int) = nullptr;
    // For an optional number: the value a blank stands for.
    double (*blankValue)(const Gb2010Column&) = nullptr;

    // The check.
    FieldCheck check = FieldCheck::None;
    const char* checkName = "";  // "x方向构件支撑点之间的长度lc"; the whole message for Rule
    double low = 0.0;
    double high = 0.0;
    double least = 0.0;               // Positive: a smaller value is refused with leastNote
    const char* leastNote = nullptr;  // "轴力接近零的构件应按受弯构件设计"
    bool (*rule)(const Gb2010Column&) = nullptr;

    // The words of a choice's rejection: `--seismic: "x" is not a seismic grade; use none, 1, 2,
    // 3 or 4` on the command line, `seismic: "x" is not a seismic grade (none, 1, 2, 3 or 4)` in
    // a cases file, `"x" 不是可用的值（可用：none、1、2、3、4）` in a project file.
    const char* flagWhat = "a number";
    const char* flagUse = nullptr;  // "; use …" after it, when given
    const char* columnWhat = "a number";
    const char* projectNot = nullptr;  // after "不是可用的"
    // A word the command line is often given by mistake, and what it adds then.
    const char* mistake = nullptr;
    const char* mistakeNote = nullptr;

    // The --help text of a flag only the current-code design has; nullptr for a 2002 flag.
    const char* help = nullptr;
    // Where the field stands where a file or an older front end fixed the order: among the
    // cases file's columns (id is 0), in --help, in a project file and the project window;
    // -1 where it is not.
    int csvPlace = -1;
    int helpPlace = -1;
    int projectPlace = -1;
    // A project file holds the field only where it differs from the default (of a new column or
    // combination), so that a file written before the field was kept reads and saves as it was.
    bool projectWhenSet = false;

    [[nodiscard]] bool isChoice() const { return choices != nullptr; }
    [[nodiscard]] bool perCombination() const;  // a load combination's field
    [[nodiscard]] bool isOptional() const { return optional != nullptr; }
};

// The table in the order the checks run and the 2010 dialog shows the fields (the numbers, then
// the lists; the column, then a load combination).
[[nodiscard]] std::span<const Gb2010FieldEntry> gb2010Fields();
[[nodiscard]] const Gb2010FieldEntry* gb2010FieldEntry(Gb2010Field field);

// The entries that have a place (csvPlace, helpPlace or projectPlace), in that order.
using FieldPlace = int Gb2010FieldEntry::*;
[[nodiscard]] std::vector<const Gb2010FieldEntry*> gb2010FieldsBy(FieldPlace place);

// The number of a number field (the optional one: nullopt when blank).
[[nodiscard]] std::optional<double> fieldNumber(const Gb2010FieldEntry& entry,
                                                const Gb2010Column& column,
                                                const LoadCombination& load);
// Sets a number field (an optional one to nullopt when value is nullopt; a number field keeps
// its value then).
void setFieldNumber(const Gb2010FieldEntry& entry, Gb2010Column& column, LoadCombination& load,
                    std::optional<double> value);
[[nodiscard]] int fieldChoice(const Gb2010FieldEntry& entry, const Gb2010Column& column,
                              const LoadCombination& load);
void setFieldChoice(const Gb2010FieldEntry& entry, Gb2010Column& column, LoadCombination& load,
                    int value);

// Whether two columns (or combinations) hold the same value in the field; an optional number
// compares as the value its blank stands for.
[[nodiscard]] bool sameFieldValue(const Gb2010FieldEntry& entry, const Gb2010Column& a,
                                  const LoadCombination& loadA, const Gb2010Column& b,
                                  const LoadCombination& loadB);

// The field's rejection of the first value that fails its check, or nullopt.
[[nodiscard]] std::optional<std::string> checkField(const Gb2010FieldEntry& entry,
                                                    const Gb2010Column& column,
                                                    const LoadCombination& load);

}  // namespace tessarin
