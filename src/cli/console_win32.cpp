// The command line's system on Windows: the console's control events and
// screen buffer, and the ANSI code page of 8-bit flat files.
#include <windows.h>

#include <atomic>

#include "cli/console.h"
#include "streams/wide_names.h"

namespace pellimar::cli {
namespace {

std::atomic<bool> cancelSignalled{false};

// How long the system waits for a handler of the console's closing before
// it ends the process all the same.
constexpr DWORD kCloseGrace = 5000;

// Called on a thread the system starts for the event. The run stops at its
// next step, as after SIGINT on POSIX. Closing the console window does the
// same, as a closed terminal does on POSIX: the system ends the process once
// the handler returns, so the handler waits while the run throws its new
// file away and the program ends.
BOOL WINAPI OnConsoleControl(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    cancelSignalled = true;
    if (event == CTRL_CLOSE_EVENT)
        Sleep(kCloseGrace);
    return TRUE;
}

HANDLE StandardError()
{
    return GetStdHandle(STD_ERROR_HANDLE);
}

}  // namespace

void InstallCancelHandler()
{
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

bool CancelSignalled()
{
    return cancelSignalled;
}

bool StandardErrorIsTerminal()
{
    DWORD mode = 0;
    return GetConsoleMode(StandardError(), &mode) != 0;
}

std::optional<int> TerminalColumns()
{
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(StandardError(), &info))
        return std::nullopt;
    return info.srWindow.Right - info.srWindow.Left + 1;
}

void FollowTerminalResizes() {}

// The console tells no one when its window is resized, so the width is asked
// again at every drawing (at most ten a second).
bool TerminalResized()
{
    return true;
}

void WriteToStandardError(std::string_view text)
{
    DWORD written = 0;
    WriteFile(StandardError(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::optional<std::string> FlatFileText(const std::string& argument)
{
    const UINT codePage = GetACP();
    const std::wstring wide = WideOfName(argument);
    if (codePage == CP_UTF8 || wide.empty())
        return argument;
    const int length = static_cast<int>(wide.size());
    BOOL lacking = FALSE;
    const int size =
        WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr, 0, nullptr, &lacking);
    if (size <= 0 || lacking)
        return std::nullopt;
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), length, text.data(), size, nullptr, nullptr);
    return text;
}

std::string EncodingNote()
{
    return "\nFile names are taken as typed, in any script. Patterns, level names and the\n"
           "starting page are converted to the system's ANSI code page (" +
           std::to_string(GetACP()) +
           " here), the\n"
           "encoding of 8-bit flat files; a character it lacks is a usage error.\n";
}

}  // namespace pellimar::cli
