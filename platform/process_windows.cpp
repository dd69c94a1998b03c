// The running program and its helper programs on Windows.
#include <windows.h>

#include <ctime>

#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/wide_text.h"

namespace tessarin {

std::string executableFolder() {
    std::wstring name(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0 || length >= name.size()) return {};
    name.resize(length);
    return splitPath(utf8Text(name)).folder;
}

bool isExecutable(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(widePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The PDF writer is a Qt program of the Linux desktop build; the Windows zip has none.
bool canRunPrograms() {
    return false;
}

FilterOutcome runFilter(const std::string& program, const std::string& /*input*/,
                        std::string& /*output*/, std::string& reason,
                        const FilterLimits& /*limits*/) {
    reason = "cannot run " + program + " on this system";
    return FilterOutcome::CannotRun;
}

std::string currentFolder() {
    const DWORD length = GetCurrentDirectoryW(0, nullptr);
    if (length == 0) return {};
    std::wstring folder(length, L'\0');
    const DWORD written = GetCurrentDirectoryW(length, folder.data());
    if (written == 0 || written >= length) return {};
    folder.resize(written);
    return utf8Text(folder);
}

bool isAbsolutePath(const std::string& path) {
    if (path.size() >= 2 && (path[0] == '\\' || path[0] == '/') &&
        (path[1] == '\\' || path[1] == '/')) {
        return true;
    }
    return path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

std::tm localTime(std::time_t moment) {
    std::tm local{};
    localtime_s(&local, &moment);
    return local;
}

}  // namespace tessarin
