#include "batch/case_report.h"

#include "report/report_file.h"

namespace tessarin {

std::string reportFileName(const std::string& id, long long line) {
    return caseFileName(id, line, ".txt");
}

namespace {

// Whether the id's part before its first dot is a name Windows keeps for a device (CON, PRN,
// AUX, NUL, COM1-COM9, LPT1-LPT9, in any case): "nul.a-2.txt" would open the null device there,
// whatever follows the dot. ("nul-2.txt" is an ordinary name: the line follows the id.)
bool startsWithDeviceName(const std::string& id) {
    const std::string stem = id.substr(0, id.find('.'));
    if (stem.size() != 3 && stem.size() != 4) return false;
    std::string upper;
    for (const char c : stem)
        upper += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") return true;
    return upper.size() == 4 &&
           (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) &&
           upper[3] >= '1' && upper[3] <= '9';
}

}  // namespace

std::string caseFileName(const std::string& id, long long line, const char* extension) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string name;
    // A device name is escaped by its first letter, as an unsafe character would be.
    const bool device = id.find('.') != std::string::npos && startsWithDeviceName(id);
    for (std::size_t i = 0; i < id.size(); ++i) {
        const auto c = static_cast<unsigned char>(id[i]);
        const bool plain =
            ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
             c == '_' || c == '-' || (c == '.' && i > 0)) &&
            !(device && i == 0);
        if (plain) {
            name += static_cast<char>(c);
        } else {
            name += '%';
            name += kHex[c >> 4];
            name += kHex[c & 0xF];
        }
    }
    // Keep the name within what file systems allow (255 bytes), line number included.
    if (name.size() > 200) name.resize(200);
    return name + "-" + std::to_string(line) + extension;
}

std::optional<std::string> writeCaseReport(const std::string& path, const std::string& bytes) {
    // The same writer as the calculate command's report file: whole, through no link.
    ReportFile report(path);
    const FileResult written = report.replace(bytes);
    if (written.ok) return std::nullopt;
    const char* what = written.action == FileAction::Create ? "cannot create " : "cannot write ";
    return what + written.fileName + ": " + written.reason;
}

}  // namespace tessarin
