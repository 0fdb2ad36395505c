// The program is named by its full path, so no search along PATH finds
// another program of the same name; the argument is quoted so that it
// arrives as one, blanks and all.
#include "window_win32/process_launcher_win32.h"

#include <windows.h>

#include "streams/wide_names.h"
#include "window_win32/command_line.h"

namespace pellimar {

void ProcessLauncherWin32::Start(const std::string& program, const std::string& argument)
{
    const std::wstring application = WideOfName(program);
    // CreateProcessW may write into the command line it is given.
    std::wstring commandLine = CommandLineOf({application, WideOfName(argument)});
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process) == FALSE)
        return;  // a program that cannot be started is not reported
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace pellimar
