// A Windows command line that a program's start-up code splits back into
// exactly the arguments given, blanks, quotes and backslashes included.
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

}  // namespace pellimar
