// Quoting of command-line arguments for Windows, and reading them.
#include "window_win32/command_line.h"

#include <windows.h>

#include <shellapi.h>

#include "streams/file_names.h"
#include "streams/wide_names.h"

namespace pellimar {

std::wstring QuotedArgument(const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return argument;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: there each is doubled,
        // and the quote itself escaped.
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    // Before the closing quote as well.
    quoted.append(2 * backslashes, L'\\');
    quoted += L'"';
    return quoted;
}

std::wstring CommandLineOf(const std::vector<std::wstring>& arguments)
{
    std::wstring line;
    for (const std::wstring& argument : arguments) {
        if (!line.empty())
            line += L' ';
        line += QuotedArgument(argument);
    }
    return line;
}

std::vector<std::string> FilesOfCommandLine(const wchar_t* commandLine)
{
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(commandLine, &count);
    std::vector<std::string> files;
    for (int i = 1; arguments != nullptr && i < count; ++i)
        files.push_back(FullName(NameOfWide(arguments[i])));
    LocalFree(arguments);
    return files;
}

}  // namespace pellimar
