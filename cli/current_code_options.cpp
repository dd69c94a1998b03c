#include "cli/current_code_options.h"

#include <optional>

#include "report/bar_preference_fields.h"
#include "report/current_code_labels.h"
#include "report/number_text.h"

namespace tessarin {

namespace {

// Number flags and where they go; an optional target is set only when the flag is given.
struct NumberTarget {
    const char* flag;
    double* value;
    std::optional<double>* optionalValue;
};

}  // namespace

std::string readCurrentCodeFlags(const std::map<std::string, std::string>& given,
                                 CurrentCodeCliOptions& options) {
    CurrentCodeColumn& column = options.input.column;
    LoadCombination& load = options.input.combinations.front();
    const NumberTarget numbers[] = {
        {"--l0", &column.l0, nullptr},       {"--b", &column.b, nullptr},
        {"--h", &column.h, nullptr},         {"--M0x", &load.M2x, nullptr},
        {"--M0y", &load.M2y, nullptr},       {"--N", &load.N, nullptr},
        {"--m1m2-x", &load.m1m2X, nullptr},  {"--m1m2-y", &load.m1m2Y, nullptr},
        {"--lc-x", nullptr, &column.lcX},    {"--lc-y", nullptr, &column.lcY},
        {"--cover", nullptr, &column.cover}, {"--stirrup", &column.stirrup, nullptr},
        {"--hn", nullptr, &column.hn},       {"--V-x", &load.Vx, nullptr},
        {"--V-y", &load.Vy, nullptr},
    };
    for (const NumberTarget& target : numbers) {
        const auto found = given.find(target.flag);
        if (found == given.end()) continue;
        const auto value = parseNumber(found->second);
        if (!value) {
            return std::string(target.flag) + ": \"" + found->second + "\" is not a number";
        }
        if (target.value != nullptr) *target.value = *value;
        if (target.optionalValue != nullptr) *target.optionalValue = *value;
    }

    const auto text = [&given](const char* flag) -> const std::string* {
        const auto found = given.find(flag);
        return found == given.end() ? nullptr : &found->second;
    };
    if (const std::string* t = text("--concrete")) {
        const auto grade = concreteFromLabel2010(*t);
        if (!grade) {
            return "--concrete: \"" + *t +
                   "\" is not a current-code concrete grade; use C20 to C80 in steps of 5";
        }
        column.concreteGrade = *grade;
    }
    if (const std::string* t = text("--steel")) {
        const auto steel = steelFromLabel2010(*t);
        if (!steel) {
            return "--steel: \"" + *t +
                   "\" is not a current-code steel grade; use one of HPB300, HRB335, HRB400, "
                   "HRB500";
        }
        column.steel = *steel;
    }
    if (const std::string* t = text("--seismic")) {
        const auto grade = seismicGradeFromText(*t);
        if (!grade)
            return "--seismic: \"" + *t + "\" is not a seismic grade; use none, 1, 2, 3 or 4";
        column.seismic = *grade;
    }
    if (const std::string* t = text("--structure")) {
        const auto type = structureFromText(*t);
        if (!type) {
            return "--structure: \"" + *t +
                   "\" is not a structure type; use frame, dual or frame-supported";
        }
        column.structure = *type;
    }
    if (const std::string* t = text("--position")) {
        const auto position = positionFromText(*t);
        if (!position) {
            return "--position: \"" + *t +
                   "\" is not a column position; use middle, edge or corner" +
                   (*t == "frame-supporting"
                        ? " (a frame-supporting column is --structure frame-supported)"
                        : "");
        }
        column.position = *position;
    }
    if (const std::string* t = text("--stirrup-steel")) {
        const auto steel = steelFromLabel2010(*t);
        if (!steel) {
            return "--stirrup-steel: \"" + *t +
                   "\" is not a current-code steel grade; use one of HPB300, HRB335, HRB400, "
                   "HRB500";
        }
        column.stirrupSteel = *steel;
    }
    if (const std::string* t = text("--seismic-combination")) {
        if (*t == "yes") {
            load.kind = CombinationKind::Seismic;
        } else if (*t == "no") {
            load.kind = CombinationKind::NonSeismic;
        } else {
            return "--seismic-combination: \"" + *t + "\" is not yes or no";
        }
    }
    for (const BarPreferenceField& field : kBarPreferenceFields) {
        const std::string* t = text(field.flag);
        if (t == nullptr) continue;
        const std::string why = readBarPreference(field, *t, column.barPreferences);
        if (!why.empty()) return std::string(field.flag) + ": " + why;
    }
    options.json = given.count("--json") > 0;
    return {};
}

const char* flagForCurrentCodeField(CurrentCodeField field) {
    switch (field) {
        case CurrentCodeField::L0:
            return "--l0";
        case CurrentCodeField::B:
            return "--b";
        case CurrentCodeField::H:
            return "--h";
        case CurrentCodeField::LcX:
            return "--lc-x";
        case CurrentCodeField::LcY:
            return "--lc-y";
        case CurrentCodeField::Hn:
            return "--hn";
        case CurrentCodeField::Structure:
            return "--structure";
        case CurrentCodeField::Concrete:
            return "--concrete";
        case CurrentCodeField::Cover:
            return "--cover";
        case CurrentCodeField::Stirrup:
            return "--stirrup";
        case CurrentCodeField::N:
            return "--N";
        case CurrentCodeField::M2x:
            return "--M0x";
        case CurrentCodeField::M1m2X:
            return "--m1m2-x";
        case CurrentCodeField::M2y:
            return "--M0y";
        case CurrentCodeField::M1m2Y:
            return "--m1m2-y";
        case CurrentCodeField::Vx:
            return "--V-x";
        case CurrentCodeField::Vy:
            return "--V-y";
        case CurrentCodeField::Kind:
            return "--seismic-combination";
        case CurrentCodeField::StirrupSteel:
            return "--stirrup-steel";
        case CurrentCodeField::BarPreferences:
            return "--bars";
        case CurrentCodeField::Combinations:
            break;
    }
    return "the input";
}

}  // namespace tessarin
