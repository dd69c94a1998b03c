#include "batch/case_report.h"

#include "report/report_file.h"

namespace tessarin {

std::string reportFileName(const std::string& id, long long line) {
    return caseFileName(id, line, ".txt");
}

std::string caseFileName(const std::string& id, long long line, const char* extension) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string name;
    for (std::size_t i = 0; i < id.size(); ++i) {
        const auto c = static_cast<unsigned char>(id[i]);
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '_' || c == '-' || (c == '.' && i > 0);
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
