// The second step from the command line to a run: the raw arguments checked
// and resolved into everything the run needs, before it starts. Nothing is
// changed afterwards.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/option_table.h"
#include "engine/run_settings.h"
#include "run/preferences.h"

namespace pellimar::cli {

struct Configuration {
    // Patterns and level names in the encoding of 8-bit flat files, the
    // level names of --levels-from overridden by each --levelN.
    RunSettings run;
    std::int32_t startPage = 1;
    Preferences preferences;
    bool force = false;
    bool quiet = false;
    // A collection converts every file its checks let through, rather than
    // none when they refuse one.
    bool keepGoing = false;
    // Where the run's report goes as JSON ("-": standard output, the lines
    // meant for it then going to standard error); none when not asked.
    std::optional<std::string> report;
    std::optional<std::size_t> preview;  // how many references to show
    // Everything checked and the pass run, nothing written: each output told
    // as what the run would make of it (run.dryRun is set as well).
    bool dryRun = false;
    // Only the level names of the input's level records are listed.
    bool listLevels = false;
    // The file of --levels-from, and the first name of its "<LN:" line,
    // which names no level.
    std::string levelsFile;
    std::string skippedLevelName;
    // A collection: each input converted into this folder under its own
    // file name, `jobs` at a time; the run's own paths are then unused.
    std::optional<std::string> outputDir;
    std::vector<std::string> inputs;
    std::size_t jobs = 1;
    std::optional<bool> progress;        // unset: on when standard error is a terminal
};

struct Configured {
    Configuration configuration;
    std::string usageError;  // empty when the arguments made sense
};

// Reads the --levels-from file, raising "Cannot open file %s" when it cannot
// be read and an error naming it when it names no levels; every other fault
// is a usage error.
Configured Configure(const RawArguments& raw);

}  // namespace pellimar::cli
