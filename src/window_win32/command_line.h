// A Windows command line that a program's start-up code splits back into
// exactly the arguments given, blanks, quotes and backslashes included; and
// the files a program's own command line names.
#pragma once

#include <string>
#include <vector>

namespace pellimar {

// One argument quoted by the rules of the C runtime's splitting
// (CommandLineToArgvW): in double quotes when it holds a blank, a tab or a
// quote, or is empty; a quote and the backslashes before one escaped.
std::wstring QuotedArgument(const std::wstring& argument);

// The arguments, each quoted as needed, separated by one blank.
std::wstring CommandLineOf(const std::vector<std::wstring>& arguments);

// The arguments after the program's own name, split as the C runtime splits
// them, each the full path of a file from the working folder, in the bytes
// the program holds names in (wide_names.h).
std::vector<std::string> FilesOfCommandLine(const wchar_t* commandLine);

}  // namespace pellimar
