#include "report/book/book_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace tessarin {

namespace {

FileResult failure(const std::string& path, const char* action, const std::string& reason) {
    FileResult result;
    result.ok = false;
    result.fileName = path;
    result.action = action;
    result.reason = reason;
    return result;
}

std::string temporaryName(const std::filesystem::path& target) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    const std::string suffix = std::to_string(random() % 100000000ULL);
    return (target.parent_path() / ("." + target.filename().string() + ".tmp" + suffix)).string();
}

FileResult refuseTarget(const std::string& path) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    if (path.empty()) return failure(path, "write", std::strerror(ENOENT));
    if (target.filename().empty()) return failure(path, "write", std::strerror(EISDIR));
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    if (fs::is_directory(status)) return failure(path, "write", std::strerror(EISDIR));
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        return failure(path, "write", "not a regular file");
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
    if (!fs::exists(status)) return failure(path, "create", std::strerror(ENOENT));
    if (!fs::is_directory(status)) return failure(path, "create", std::strerror(ENOTDIR));
#if !defined(_WIN32)
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        return FileResult::failure(path, "create", errno);
    }
#endif
    return FileResult::success();
}

FileResult writeWholeFile(const std::string& path, std::string_view bytes) {
    namespace fs = std::filesystem;
    const fs::path target(path);
    FileResult refused = refuseTarget(path);
    if (!refused.ok) return refused;
    std::error_code ec;

    const std::string temporary = temporaryName(target);
#if defined(_WIN32)
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
#else
    std::FILE* file = std::fopen(temporary.c_str(), "wbx");  // never an existing file
#endif
    if (file == nullptr) return FileResult::failure(path, "create", errno);
    const bool written =
        std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
    int error = errno;
#if !defined(_WIN32)
    // The content is on the disk before the name points at it.
    const bool synced = written && ::fsync(fileno(file)) == 0;
    if (written && !synced) error = errno;
#else
    const bool synced = written;
#endif
    const bool closed = std::fclose(file) == 0;
    if (synced && !closed) error = errno;
    if (!synced || !closed) {
        std::remove(temporary.c_str());
        return FileResult::failure(path, "write", error);
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        std::remove(temporary.c_str());
        return failure(path, "write", ec.message());
    }
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
    if (endsWith(".html") || endsWith(".htm")) return BookFormat::html;
    if (endsWith(".pdf")) return BookFormat::pdf;
    return BookFormat::unknown;
}

}  // namespace tessarin
