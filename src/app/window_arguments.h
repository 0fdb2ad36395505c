// What the window's command line asks for: an answer on standard output
// (--help, --version) in place of the window, or the window with the files
// named. The toolkit takes its own options (-platform, -style and the like)
// out of the command line before the files are read from it.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pellimar {

struct WindowArguments {
    // The text that --help or --version asks for; the window is not opened.
    std::optional<std::string> answer;
    std::vector<std::string> files;
    // Options that are neither ours nor, once the toolkit has had the
    // command line, the toolkit's.
    std::vector<std::string> unknownOptions;
};

// The arguments after the program's name. "--" ends the options: every
// argument after it is a file, whatever it begins with.
WindowArguments ReadWindowArguments(const std::vector<std::string>& arguments);

// Said on standard error for an option nobody takes.
std::string UnknownOptionText(const std::string& option);

}  // namespace pellimar
