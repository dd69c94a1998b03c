#pragma once

#include <string>
#include <vector>

#include "engine/gb2010/gb2010_types.h"

namespace tessarin {

// The code edition a project is designed to. Only the current code (GB 50010-2010 with its 2015
// revision, GB 50011-2010 with its 2016 revision) designs a project; the 2002 method stays in its
// own dialog.
inline constexpr const char* kProjectCodeEdition = "GB 50010-2010";

// The data of a building's project that every column shares: the title block of its books and
// the seismic data a new column starts from.
struct ProjectInfo {
    std::string name;      // 工程名称
    std::string number;    // 子项/设计号
    std::string designer;  // 设计
    std::string checker;   // 校对
    std::string reviewer;  // 审核
    SeismicGrade seismic = SeismicGrade::None;
    StructureType structure = StructureType::Frame;
    // The bar preferences (配筋参数) of every column that does not give its own.
    BarPreferences barPreferences;
    friend bool operator==(const ProjectInfo&, const ProjectInfo&) = default;
};

// One column of the building: its mark (KZ1), its data and its load combinations. Its bar
// preferences are the project's unless it gives its own (column.barPreferences differs from the
// project's): a project file writes them with the column only then.
struct ProjectColumn {
    std::string mark;
    Gb2010Column column;
    std::vector<LoadCombination> combinations;
};

struct Project {
    ProjectInfo info;
    std::vector<ProjectColumn> columns;
};

// Equal in every field a project file holds (the table's entries with a projectPlace, and the
// bar preferences).
bool operator==(const Gb2010Column& a, const Gb2010Column& b);
bool operator==(const LoadCombination& a, const LoadCombination& b);
bool operator==(const ProjectColumn& a, const ProjectColumn& b);
bool operator==(const Project& a, const Project& b);

}  // namespace tessarin
