// Pellimar on Windows: the program with its window.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "settings/settings_paths.h"
#include "streams/wide_names.h"
#include "window_win32/command_line.h"
#include "window_win32/main_window_win32.h"
#include "window_win32/process_launcher_win32.h"
#include "window_win32/win32_dialogs.h"

namespace {

// The running program's full path, however long.
std::wstring ProgramPath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// The guide travels beside the program.
std::string UserGuidePath()
{
    std::wstring path = ProgramPath();
    path.resize(path.find_last_of(L"\\/") + 1);
    return pellimar::NameOfWide(path + L"user-guide.md");
}

int RunMessageLoop(pellimar::Win32MainWindow& window)
{
    MSG message;
    BOOL got = FALSE;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (got == -1)
            return 1;
        if (!window.PreTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int show)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    pellimar::Win32Dialogs dialogs;
    pellimar::ProcessLauncherWin32 launcher;
    pellimar::WindowServices services;
    services.dialogs = &dialogs;
    services.launcher = &launcher;
    services.settingsPaths = pellimar::LocateSettingsFiles();
    services.guidePath = UserGuidePath();
    services.startFiles = pellimar::FilesOfCommandLine(GetCommandLineW());

    pellimar::Win32MainWindowView view;
    pellimar::Win32MainWindow window(view, services);
    if (!window.Create(instance)) {
        MessageBoxW(nullptr, L"The window could not be created.", L"Error", MB_ICONERROR | MB_OK);
        return 1;
    }
    dialogs.SetOwner(window.Handle());
    ShowWindow(window.Handle(), show);
    UpdateWindow(window.Handle());
    return RunMessageLoop(window);
}
