#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace tessarin {

// What the project window remembers per user, under HKEY_CURRENT_USER (never in the
// installation folder): where it stood, the last project and the recent files (UTF-8).
struct WindowSettings {
    std::optional<RECT> bounds;  // the normal (not maximised) frame, screen pixels
    bool maximized = false;
    std::string lastProject;
    std::vector<std::string> recentFiles;
};

// The key the project window keeps its settings under.
inline constexpr const wchar_t* kProjectWindowKey = L"Software\\Tessarin\\ProjectWindow";

// Reads what is there; a value that is missing or malformed is left at its default.
WindowSettings loadWindowSettings(const wchar_t* key);
// Writes them all; false when the key cannot be written (the window then forgets, nothing else).
bool saveWindowSettings(const wchar_t* key, const WindowSettings& settings);

}  // namespace tessarin
