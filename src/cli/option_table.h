// Every option of pellimar-cli, defined once: its names, its value, its
// help and what it records of the arguments. The argument parser, --help
// and the manual page's option list are all made from this one table.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/run_settings.h"
#include "run/preferences.h"

namespace pellimar::cli {

// The arguments as given, before any check: what the options recorded.
struct RawArguments {
    std::optional<std::string> refPattern;
    std::string pagePattern;
    std::array<std::optional<std::string>, kLevelCount> levels;  // --level1..7
    std::optional<std::string> levelsFrom;
    std::optional<std::string> encoding;
    std::optional<std::string> startPage;
    Preferences preferences;  // those with an option, switched on by it
    bool removeReferences = false;
    bool preview = false;
    std::optional<std::string> previewCount;  // as given
    bool dryRun = false;
    bool listLevels = false;
    bool force = false;
    std::optional<std::string> outputDir;  // a collection's output folder
    std::optional<std::string> jobs;       // as given
    bool keepGoing = false;
    std::optional<std::string> filesFrom;  // a list of a collection's inputs, "-" for standard input
    bool nullSeparated = false;            // the list's names end at a NUL, not a line's end
    std::optional<bool> progress;  // unset: on when standard error is a terminal
    bool quiet = false;
    std::optional<std::string> report;  // the JSON report's file, "-" for standard output
    bool help = false;
    bool version = false;
    std::vector<std::string> files;

    bool operator==(const RawArguments&) const = default;
};

enum class OptionValue { None, Required, Optional };

// The headings under which --help and the manual page list the options.
enum class OptionGroup { Patterns, LevelNames, Switches, Output };

struct OptionDefinition {
    std::string longName;
    char shortName = 0;  // 0: none
    OptionValue value = OptionValue::None;
    std::string valueName;  // "TEXT", "FILE", ...
    OptionGroup group = OptionGroup::Output;
    // When set, the option is listed as the first of a range that ends with
    // this one ("--level1 NAME ... --level7 NAME"); the rest of the range is
    // listed under it and left out (`listed` false).
    std::string rangeEnd;
    bool listed = true;
    std::string help;    // for --help, as one paragraph
    std::string manual;  // for the manual page, in roff
    // Records the option in the raw arguments, with its value as given
    // (nothing for an option without one, and for --preview without a count).
    std::function<void(RawArguments&, const std::optional<std::string>& value)> record;
};

const std::vector<OptionDefinition>& OptionTable();

// The values the shell's completion offers for an option, where the set is
// known; empty for the others (a FILE value completes file names).
std::vector<std::string> KnownValues(const OptionDefinition& option);

// The heading of a group, as --help shows it ("Level names").
std::string GroupTitle(OptionGroup group);

}  // namespace pellimar::cli
