#include <atomic>
#include <string>

#include "platform/file_system.h"

namespace tessarin {

std::string temporaryPathBeside(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    const PathParts parts = splitPath(target);
    std::string hidden = "." + parts.name + ".tmp" + std::to_string(processNumber()) + "-" +
                         std::to_string(counter.fetch_add(1));
    if (parts.folder.empty()) return hidden;
    const char last = parts.folder.back();
    return parts.folder + (last == '/' || last == '\\' ? "" : "/") + hidden;
}

}  // namespace tessarin
