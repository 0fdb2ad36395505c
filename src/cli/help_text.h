// What pellimar-cli says about itself: --help, --version, and the option
// list of its manual page, the options' parts made from the option table.
#pragma once

#include <string>

#include "cli/option_table.h"

namespace pellimar::cli {

std::string UsageText(const std::string& program);

// The version, the copyright and the licence, as GNU tools give them.
std::string VersionText(const std::string& program, const std::string& version);

// How an option is written in a list: "-r, --ref-pattern TEXT",
// "--preview[=N]", "--level1 NAME ... --level7 NAME".
std::string OptionHeading(const OptionDefinition& option);

// The OPTIONS section of the manual page, in roff.
std::string ManualOptions();

}  // namespace pellimar::cli
