// The command line's system on Windows: the console's control events and
// screen buffer, and the ANSI code page of 8-bit flat files.
#include <windows.h>

#include <atomic>
#include <string_view>
#include <vector>

#include "cli/console.h"
#include "run/utf8.h"
#include "streams/wide_names.h"

namespace pellimar::cli {
namespace {

std::atomic<bool> cancelSignalled{false};
// The thread that runs the pass.
std::atomic<HANDLE> runThread{nullptr};

// How long the system waits for a handler of the console's closing before
// it ends the process all the same.
constexpr DWORD kCloseGrace = 5000;

// Called on a thread the system starts for the event. The run stops at its
// next step, as after SIGINT on POSIX; a read or write of the run that waits
// (on a console or an idle pipe) is cut short, or the run would wait on for
// data that may never come. Closing the console window does the same, as a
// closed terminal does on POSIX: the system ends the process once the handler
// returns, so the handler waits while the run throws its new file away and
// the program ends.
BOOL WINAPI OnConsoleControl(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    cancelSignalled = true;
    if (const HANDLE thread = runThread)
        CancelSynchronousIo(thread);
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
    HANDLE thread = nullptr;
    if (DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &thread, 0, FALSE,
                        DUPLICATE_SAME_ACCESS))
        runThread = thread;
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

// The arguments arrive in UTF-16 and go to the ANSI code page; "bytes"
// leaves them as UTF-8 for scripts that hold the file's bytes that way.
static bool passBytes = false;

std::string ChooseFlatFileEncoding(const std::optional<std::string>& name)
{
    passBytes = name == "bytes";
    if (name && !passBytes)
        return "--encoding takes only 'bytes' on Windows, where the ANSI code page is used, not '" + *name + "'";
    return {};
}

namespace {

bool CodePageHolds(UINT codePage, std::wstring_view wide)
{
    BOOL lacking = FALSE;
    const int size = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, &lacking);
    return size > 0 && !lacking;
}

// The first character, a surrogate pair taken whole, that the code page
// lacks, for the user to be told which one it is.
std::string FirstLacking(UINT codePage, std::wstring_view wide)
{
    for (std::size_t at = 0; at < wide.size();) {
        const bool pair = at + 1 < wide.size() && IS_HIGH_SURROGATE(wide[at]) && IS_LOW_SURROGATE(wide[at + 1]);
        const std::wstring_view character = wide.substr(at, pair ? 2 : 1);
        if (!CodePageHolds(codePage, character))
            return NameOfWide(character);
        at += character.size();
    }
    return {};
}

}  // namespace

FlatFileText ToFlatFileText(const std::string& argument)
{
    if (passBytes)
        return FlatFileText::Converted(argument);
    const UINT codePage = GetACP();
    const std::wstring wide = WideOfName(argument);
    if (codePage == CP_UTF8 || wide.empty())
        return FlatFileText::Converted(argument);
    if (!CodePageHolds(codePage, wide)) {
        std::string lacking = FirstLacking(codePage, wide);
        const std::vector<char32_t> codePoints = DecodeUtf8(lacking);
        return FlatFileText::Refused(FlatFileText::Refusal::Lacking, std::move(lacking),
                                     codePoints.empty() ? 0 : codePoints.front());
    }
    const int length = static_cast<int>(wide.size());
    const int size = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr, 0, nullptr,
                                         nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), length, text.data(), size, nullptr, nullptr);
    return FlatFileText::Converted(std::move(text));
}

// The arguments arrive in UTF-16, which holds any text.
std::string LocaleEncodingName()
{
    return "UTF-16";
}

std::string EncodingNote()
{
    return "\nFile names are taken as typed, in any script. Patterns, level names and the\n"
           "starting page are converted to the system's ANSI code page (" +
           std::to_string(GetACP()) +
           " here), the\n"
           "encoding of 8-bit flat files; a character it lacks is a usage error.\n";
}

std::string EncodingOptionHelp()
{
    return "only \"bytes\" is taken on Windows: patterns and level names are then taken as given, in UTF-8, "
           "instead of being converted to the ANSI code page";
}

std::string Utf8OfFlatFileText(const std::string& flatFileText)
{
    const UINT codePage = GetACP();
    if (codePage == CP_UTF8 || flatFileText.empty())
        return flatFileText;
    const int length = static_cast<int>(flatFileText.size());
    const int size = MultiByteToWideChar(codePage, 0, flatFileText.data(), length, nullptr, 0);
    if (size <= 0)
        return flatFileText;
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, flatFileText.data(), length, wide.data(), size);
    return NameOfWide(wide);
}

// With "bytes" the text is taken as UTF-8, as the arguments were.
std::optional<std::string> FlatFileTextInUtf8(const std::string& flatFileText)
{
    if (passBytes)
        return IsUtf8(flatFileText) ? std::optional(flatFileText) : std::nullopt;
    return Utf8OfFlatFileText(flatFileText);
}

std::string ForStandardOutput(const std::string& flatFileText)
{
    DWORD mode = 0;
    if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) == 0)
        return flatFileText;
    return Utf8OfFlatFileText(flatFileText);
}

// Windows gives standard output no name of its own ("CONOUT$" is the
// console, wherever standard output goes).
bool NamesStandardOutput(const std::string&)
{
    return false;
}

}  // namespace pellimar::cli
