// tessarin.exe: the desktop program on Windows, the main dialog of the 2002 method as a native
// Win32 dialog.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include "win/main_dialog.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // The result box's class, RICHEDIT50W; without it the main dialog cannot be created and the
    // program says so.
    if (LoadLibraryW(L"msftedit.dll") == nullptr) {
        MessageBoxW(nullptr, L"无法加载 msftedit.dll(多格式文本控件),程序无法启动。",
                    tessarin::programName().c_str(), MB_OK | MB_ICONSTOP);
        return 1;
    }
    tessarin::MainDialog dialog;
    if (dialog.runModal(nullptr) == -1) {
        MessageBoxW(nullptr, L"无法创建主对话框,程序无法启动。", tessarin::programName().c_str(),
                    MB_OK | MB_ICONSTOP);
        return 1;
    }
    return 0;
}
