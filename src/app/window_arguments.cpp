// The window's command line: --help, --version, and the files to open.
#include "app/window_arguments.h"

namespace pellimar {
namespace {

const char* const kHelpText = R"(Usage: pellimar [FILE...]
Opens the window of Folio Flat File Pellimar, which copies a Folio flat file
and gives every record a reference built from a pattern over its level
headings and page number.

With one FILE, the window starts with FILE as its input file and an output
file named after it (book.fff gives book-ref.fff); fill in the patterns and
press Begin. With several, they are chosen for File > Convert Several
Files..., which converts them into one folder once the level names and
patterns are filled in; nothing is converted before.

  -h, --help     show this help and exit
      --version  show the version and exit

The window also takes Qt's own options, such as -platform offscreen.
The user guide is under Help > Using Pellimar; the command line's program is
pellimar-cli (pellimar-cli --help).
)";

const char* const kVersionText = "pellimar " PELLIMAR_VERSION R"(
Copyright (c) 2026 The Pellimar developers
License MIT: <https://opensource.org/licenses/MIT>.
This is free software: you are free to change and redistribute it.
There is NO WARRANTY, to the extent permitted by law.
)";

bool IsOption(const std::string& argument)
{
    return argument.size() > 1 && argument[0] == '-';
}

}  // namespace

WindowArguments ReadWindowArguments(const std::vector<std::string>& arguments)
{
    WindowArguments read;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (optionsEnded || !IsOption(argument))
            read.files.push_back(argument);
        else if (argument == "--")
            optionsEnded = true;
        else if (argument == "-h" || argument == "--help")
            return {kHelpText, {}, {}};
        else if (argument == "--version")
            return {kVersionText, {}, {}};
        else
            read.unknownOptions.push_back(argument);
    }
    return read;
}

std::string UnknownOptionText(const std::string& option)
{
    return "pellimar: unknown option: " + option + "\nTry 'pellimar --help' for more information.\n";
}

}  // namespace pellimar
