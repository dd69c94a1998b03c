#include "engine/file_result.h"

#include <cstring>

namespace tessarin {

FileResult FileResult::failure(std::string file, std::string what, int errorNumber) {
    FileResult result;
    result.ok = false;
    result.fileName = std::move(file);
    result.action = std::move(what);
    result.reason = errorNumber != 0 ? std::strerror(errorNumber) : "unknown error";
    return result;
}

}  // namespace tessarin
