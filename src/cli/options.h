// The command-line front end's options: parsed from the arguments as given,
// then checked into the settings of a run.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/run_settings.h"

namespace pellimar::cli {

struct Options {
    RunSettings run;
    std::array<std::optional<std::string>, kLevelCount> levels;  // --level1..7 as given
    std::optional<std::string> levelsFrom;
    std::string startPage = "1";
    bool leftJustOnly = false;
    bool useHR = false;
    bool idRecords = false;
    bool force = false;
    std::optional<std::size_t> preview;  // --preview: how many references to show
    std::optional<bool> progress;  // unset: on when stderr is a terminal
    bool quiet = false;
    bool help = false;
    bool version = false;
};

struct ParseResult {
    Options options;
    std::string error;  // a usage error, empty when the arguments made sense
};

ParseResult ParseArguments(const std::vector<std::string>& arguments);

std::string UsageText(const std::string& program);

// The version, the copyright and the licence, as GNU tools give them.
std::string VersionText(const std::string& program, const std::string& version);

}  // namespace pellimar::cli
