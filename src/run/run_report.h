// Every note that ends a run, a preview or a collection, worded once for
// both front ends: the window names its Preferences menu's items and writes
// whole sentences; the command line names its options, after "note: ". The
// front ends only lay the notes out: the window in its boxes, the command
// line on standard error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/conversion.h"
#include "engine/level_census.h"
#include "engine/noted_places.h"
#include "engine/run_settings.h"
#include "run/collection.h"
#include "run/preferences.h"

namespace pellimar {

enum class Voice { CommandLine, Window };

// What a run or a preview found besides the references it made.
struct RunFindings {
    Findings found;
    const LevelCensus* levelsSeen = nullptr;
};

// A RunResult's or a PreviewResult's findings; `result` must outlive them.
template <typename Result>
RunFindings FindingsOf(const Result& result)
{
    return {result.findings, &result.levelsSeen};
}

// How a single run is told of.
struct RunTelling {
    Voice voice = Voice::Window;
    // A preview or a dry run, which tells what a run would do.
    bool foretold = false;
    // A preview, which knows only the part of the input it read.
    bool partRead = false;
    // The whole input was read, so a level it never sets is known.
    bool wholeRead = true;
    // The input as the command line names it.
    std::string input;
    // The level names' file of the last load, and the first name of its
    // line, which was not loaded.
    std::string levelsFile;
    std::string skippedLevelName;
    // The flat file's text as the front end shows it.
    std::function<std::string(const std::string&)> shown;
};

enum class NoteKind {
    UnreadIdRecords,
    KeptEarlier,
    LookAlikes,
    HeadingsCut,
    ReferencesCut,
    LaterLine,
    UnmatchedLevels,
    SkippedLevel
};

struct RunNote {
    NoteKind kind;
    std::string text;
};

// The notes in the order they are told; none that has nothing to tell.
std::vector<RunNote> RunNotes(const RunFindings& found, const RunTelling& telling, const RunSettings& settings,
                              const Preferences& preferences);

// A list of the level names that stopped at its most: "3 more level records
// name levels past the first 1000 names".
std::string UnlistedLevelsNote(std::int64_t unlisted);

// A collection's outcomes added up: the counts, and the files each note
// names, "a.fff (3)" or "a.fff (3, first on line 4)".
struct CollectionTally {
    struct Named {
        std::string file;
        Tally tally;
    };
    std::int64_t converted = 0;
    std::int64_t failed = 0;
    std::int64_t notRun = 0;
    std::int64_t references = 0;
    std::int64_t earlierFound = 0;
    std::vector<Named> unreadIds;
    std::vector<Named> keptEarlier;
    std::vector<Named> laterLine;
    std::vector<Named> lookAlikes;
    std::vector<Named> headingsCut;
    std::vector<Named> referencesCut;
};

// The notes name the files by their inputs.
CollectionTally TallyOf(const std::vector<FileOutcome>& outcomes, const std::vector<CollectionFile>& files,
                        EarlierReferences earlier);

// The notes a single run gives after its summary, said once for the whole
// collection and naming the files concerned; `foretold` for a preview or a
// dry run.
std::vector<std::string> CollectionNotes(const CollectionTally& tally, Voice voice, bool foretold,
                                         const Preferences& preferences, std::size_t longest);

// Everything the command line says at a collection's end but the errors:
// the line of each file converted (empty for the others), the total, and
// the notes. A dry run foresees each output.
struct CollectionReport {
    CollectionTally tally;
    std::vector<std::string> fileLines;
    std::vector<std::string> totals;
    std::vector<std::string> notes;
};
CollectionReport ReportOfCollection(const std::vector<FileOutcome>& outcomes, const std::vector<CollectionFile>& files,
                                    bool dryRun, const RunSettings& settings, const Preferences& preferences);

}  // namespace pellimar
