#include "project/project.h"

#include "run/gb2010_fields.h"

namespace tessarin {

namespace {

// Equal as a project file holds them: every field with a place in it (a blank optional number
// equals only a blank one).
bool sameSaved(const Gb2010Column& a, const LoadCombination& loadA, const Gb2010Column& b,
               const LoadCombination& loadB, bool combination) {
    for (const Gb2010FieldEntry* entry : gb2010FieldsBy(&Gb2010FieldEntry::projectPlace)) {
        if (entry->perCombination() != combination) continue;
        if (entry->isChoice()) {
            if (fieldChoice(*entry, a, loadA) != fieldChoice(*entry, b, loadB)) return false;
        } else if (fieldNumber(*entry, a, loadA) != fieldNumber(*entry, b, loadB)) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool operator==(const Gb2010Column& a, const Gb2010Column& b) {
    const LoadCombination load;
    return sameSaved(a, load, b, load, false) && a.barPreferences == b.barPreferences;
}

bool operator==(const LoadCombination& a, const LoadCombination& b) {
    const Gb2010Column column;
    return sameSaved(column, a, column, b, true);
}

bool operator==(const ProjectColumn& a, const ProjectColumn& b) {
    return a.mark == b.mark && a.column == b.column && a.combinations == b.combinations;
}

bool operator==(const Project& a, const Project& b) {
    return a.info == b.info && a.columns == b.columns;
}

}  // namespace tessarin
