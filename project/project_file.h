#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_result.h"
#include "project/project.h"

namespace tessarin {

// The project file (.tsn): UTF-8 JSON, described for other programs in docs/project_file.md.
inline constexpr int kProjectSchema = 2;
inline constexpr const char* kProjectExtension = ".tsn";
// A project file larger than this is not read (a building of 10 000 columns is a few MB).
inline constexpr std::size_t kProjectFileLimit = std::size_t{64} << 20;

// The words the file, the command line and the cases files use: "none", "1" ... "4"; "frame",
// "dual", "frame-supported"; "middle", "corner".
[[nodiscard]] const char* seismicGradeWord(SeismicGrade grade);
[[nodiscard]] const char* structureWord(StructureType structure);
[[nodiscard]] const char* positionWord(ColumnPosition position);
// A combination's kind: "seismic", "non-seismic"; "" for an unspecified one (the word is left
// out). The reverse takes only the two words.
[[nodiscard]] const char* combinationKindWord(CombinationKind kind);
[[nodiscard]] std::optional<CombinationKind> combinationKindFromWord(std::string_view word);

// The file's text: always the same bytes for the same project, so that a file read and written
// again is unchanged byte for byte.
[[nodiscard]] std::string projectJson(const Project& project);

// A project read, or why not: the message names the file, the line and the field, in Chinese
// (e.g. "KZ.tsn：第 12 行：columns[0].b：应为数值").
struct ProjectReading {
    std::optional<Project> project;
    std::string error;
};
[[nodiscard]] ProjectReading readProjectText(std::string_view text, const std::string& fileName);

// Reads the file at path (a link is followed when reading). Nothing is ever written to it here.
[[nodiscard]] ProjectReading loadProjectFile(const std::string& path);

// Writes the project whole: a temporary file beside the target renamed over it, so the file on
// disk is the old project or the new one at every instant. A symbolic link at path is refused,
// never written through, as is anything that is not a regular file.
[[nodiscard]] FileResult saveProjectFile(const std::string& path, const Project& project);

// "无法保存工程文件 a.tsn：reason", for a failed save.
[[nodiscard]] std::string saveFailureText(const FileResult& result);

}  // namespace tessarin
