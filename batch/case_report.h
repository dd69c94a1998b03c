#pragma once

#include <optional>
#include <string>

namespace tessarin {

// The file name of a case's report: the id with every byte outside A-Z a-z 0-9 _ - (and a dot
// anywhere but first) written as %XX, then "-<line>.txt". No id can name a path outside the
// report directory. An id whose part before a dot is a Windows device name (nul.a, COM1.x) has
// its first letter written as %XX too (%6Eul.a-2.txt), so that the name is a file everywhere.
std::string reportFileName(const std::string& id, long long line);

// The same name with another extension (".dxf", ".html"): the file of a column, named after its
// id and the line of its first row, so that no two ids share a file even where the file system
// does not tell upper from lower case.
std::string caseFileName(const std::string& id, long long line, const char* extension);

// Writes a case's report (its GBK bytes) as the file path, through the report file's writer; on
// failure the reason, naming the file ("cannot create DIR/KZ1-2.txt: Permission denied").
std::optional<std::string> writeCaseReport(const std::string& path, const std::string& bytes);

}  // namespace tessarin
