#include "batch/schedule_outputs.h"

#include <algorithm>
#include <cctype>

namespace tessarin {

FileResult ScheduleOutputs::designed(const std::string& id, long long firstLine,
                                     const ColumnWithStirrups& column) {
    schedule_.add(firstLine, id, column);
    return next_ != nullptr ? next_->designed(id, firstLine, column) : FileResult::success();
}

FileResult ScheduleOutputs::rejected(const std::string& id, long long firstLine,
                                     const Gb2010Column* column, const std::string& finding) {
    schedule_.addRejected(firstLine, id, column, finding);
    return next_ != nullptr ? next_->rejected(id, firstLine, column, finding)
                            : FileResult::success();
}

ScheduleFormat scheduleFormatOf(std::string_view path) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of("/\\");
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return ScheduleFormat::Unknown;
    }
    std::string suffix(path.substr(dot));
    std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (suffix == ".dxf") return ScheduleFormat::Dxf;
    if (suffix == ".html" || suffix == ".htm" || suffix == ".pdf" || suffix == ".docx") {
        return ScheduleFormat::Book;
    }
    return ScheduleFormat::Unknown;
}

}  // namespace tessarin
