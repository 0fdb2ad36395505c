// The first step from the command line to a run: the arguments as given
// sorted into options and file names by the option table, nothing checked
// but their form.
#pragma once

#include <string>
#include <vector>

#include "cli/option_table.h"

namespace pellimar::cli {

struct ParsedArguments {
    RawArguments raw;
    std::string error;  // a usage error, empty when the arguments had a form
};

// The arguments after the program's name.
ParsedArguments ParseArguments(const std::vector<std::string>& arguments);

}  // namespace pellimar::cli
