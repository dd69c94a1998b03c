#include "win/window_settings.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "win/wide_text.h"

namespace tessarin {

namespace {

// Left, top, right, bottom and the maximised flag, as one binary value.
using Bounds = std::array<std::int32_t, 5>;

bool readBytes(HKEY key, const wchar_t* name, DWORD type, std::vector<BYTE>& bytes) {
    DWORD found = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, &found, nullptr, &size) != ERROR_SUCCESS ||
        found != type) {
        return false;
    }
    bytes.assign(size, 0);
    if (size == 0) return true;
    if (RegQueryValueExW(key, name, nullptr, &found, bytes.data(), &size) != ERROR_SUCCESS) {
        return false;
    }
    bytes.resize(size);
    return true;
}

// The UTF-16 strings of a REG_SZ or REG_MULTI_SZ value, each up to its terminating zero.
std::vector<std::wstring> wideStrings(const std::vector<BYTE>& bytes) {
    std::vector<std::wstring> strings;
    std::wstring current;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto unit = static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == L'\0') {
            if (!current.empty()) strings.push_back(current);
            current.clear();
        } else {
            current.push_back(unit);
        }
    }
    if (!current.empty()) strings.push_back(current);
    return strings;
}

bool writeValue(HKEY key, const wchar_t* name, DWORD type, const void* data, std::size_t size) {
    return RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data),
                          static_cast<DWORD>(size)) == ERROR_SUCCESS;
}

}  // namespace

WindowSettings loadWindowSettings(const wchar_t* key) {
    WindowSettings settings;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return settings;
    }
    std::vector<BYTE> bytes;
    if (readBytes(opened, L"Placement", REG_BINARY, bytes) && bytes.size() == sizeof(Bounds)) {
        Bounds values{};
        std::memcpy(values.data(), bytes.data(), sizeof values);
        // A frame with no area, or one so small it could not be grabbed, is no frame.
        if (values[2] - values[0] >= 200 && values[3] - values[1] >= 150) {
            settings.bounds = RECT{values[0], values[1], values[2], values[3]};
            settings.maximized = values[4] != 0;
        }
    }
    if (readBytes(opened, L"LastProject", REG_SZ, bytes)) {
        const auto strings = wideStrings(bytes);
        if (!strings.empty()) settings.lastProject = narrow(strings.front());
    }
    if (readBytes(opened, L"RecentFiles", REG_MULTI_SZ, bytes)) {
        for (const std::wstring& file : wideStrings(bytes)) {
            settings.recentFiles.push_back(narrow(file));
        }
    }
    RegCloseKey(opened);
    return settings;
}

bool saveWindowSettings(const wchar_t* key, const WindowSettings& settings) {
    HKEY created = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                        nullptr, &created, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    bool ok = true;
    if (settings.bounds) {
        const RECT& box = *settings.bounds;
        const Bounds values{box.left, box.top, box.right, box.bottom, settings.maximized ? 1 : 0};
        ok = writeValue(created, L"Placement", REG_BINARY, values.data(), sizeof values) && ok;
    }
    const std::wstring last = widen(settings.lastProject);
    ok = writeValue(created, L"LastProject", REG_SZ, last.c_str(),
                    (last.size() + 1) * sizeof(wchar_t)) &&
         ok;
    std::wstring multi;
    for (const std::string& file : settings.recentFiles) {
        if (file.empty()) continue;
        multi += widen(file);
        multi.push_back(L'\0');
    }
    multi.push_back(L'\0');
    ok = writeValue(created, L"RecentFiles", REG_MULTI_SZ, multi.data(),
                    multi.size() * sizeof(wchar_t)) &&
         ok;
    RegCloseKey(created);
    return ok;
}

}  // namespace tessarin
