#include "report/book/book_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace tessarin {

namespace {

FileResult failure(const std::string& path, FileAction action, const std::string& reason) {
    return FileResult::refusal(path, action, reason);
}

FileResult refuseTarget(const std::string& path) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    if (path.empty()) return failure(path, FileAction::Write, std::strerror(ENOENT));
    if (target.filename().empty()) return failure(path, FileAction::Write, std::strerror(EISDIR));
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    if (fs::is_directory(status)) return failure(path, FileAction::Write, std::strerror(EISDIR));
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        return failure(path, FileAction::Write, "not a regular file");
    }
    return FileResult::success();
}

}  // namespace

FileResult checkWritablePath(const std::string& path) {
    namespace fs = std::filesystem;
    FileResult refused = refuseTarget(path);
    if (!refused.ok) return refused;
    fs::path folder = fs::path(path).parent_path();
    if (folder.empty()) folder = ".";
    std::error_code ec;
    const fs::file_status status = fs::status(folder, ec);
    if (!fs::exists(status)) return failure(path, FileAction::Create, std::strerror(ENOENT));
    if (!fs::is_directory(status)) return failure(path, FileAction::Create, std::strerror(ENOTDIR));
#if !defined(_WIN32)
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        return FileResult::failure(path, FileAction::Create, errno);
    }
#endif
    return FileResult::success();
}

BookFormat bookFormatOf(std::string_view path) {
    const auto endsWith = [path](std::string_view suffix) {
        if (path.size() < suffix.size()) return false;
        const std::string_view tail = path.substr(path.size() - suffix.size());
        for (std::size_t i = 0; i < suffix.size(); ++i) {
            char c = tail[i];
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            if (c != suffix[i]) return false;
        }
        return true;
    };
    if (endsWith(".html") || endsWith(".htm")) return BookFormat::Html;
    if (endsWith(".pdf")) return BookFormat::Pdf;
    return BookFormat::Unknown;
}

}  // namespace tessarin
