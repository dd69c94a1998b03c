// tessarin.exe: the desktop program on Windows. Without arguments the main dialog of the 2002
// method as a native Win32 dialog; `tessarin.exe FILE.tsn` (a double-click on a project) the
// project window on that project, `tessarin.exe --project` (the start-menu entry "Tessarin 柱设计")
// the project window on the last project.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "win/main_dialog.h"
#include "win/project_window.h"
#include "win/wide_text.h"

namespace {

int runProjectWindow(const std::wstring& argument, int show) {
    tessarin::ProjectWindow window(true, true);
    if (!window.create(show)) {
        MessageBoxW(nullptr, L"无法创建工程窗口,程序无法启动。", L"Tessarin 柱设计",
                    MB_OK | MB_ICONSTOP);
        return 1;
    }
    if (argument == L"--project") {
        window.openLastProject();
    } else {
        window.openFile(tessarin::narrow(argument));
    }
    return window.run();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES |
                                                       ICC_TAB_CLASSES | ICC_PROGRESS_CLASS |
                                                       ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments != nullptr && count > 1) {
        const std::wstring argument = arguments[1];
        LocalFree(arguments);
        return runProjectWindow(argument, show);
    }
    if (arguments != nullptr) LocalFree(arguments);
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
