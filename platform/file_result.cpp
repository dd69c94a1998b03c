#include "platform/file_result.h"

#include <cstring>

namespace tessarin {

FileResult FileResult::failure(std::string file, FileAction what, int errorNumber) {
    return refusal(std::move(file), what,
                   errorNumber != 0 ? std::strerror(errorNumber) : "unknown error");
}

FileResult FileResult::refusal(std::string file, FileAction what, std::string reason) {
    FileResult result;
    result.ok = false;
    result.fileName = std::move(file);
    result.action = what;
    result.reason = std::move(reason);
    return result;
}

}  // namespace tessarin
