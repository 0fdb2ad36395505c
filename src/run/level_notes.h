// What a run says of the levels its input's level records name, the same in
// the window and on the command line: levels of the pattern that no level
// record sets, the first name of a level-names line that was not loaded, and
// the list of the names with their counts.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/level_census.h"
#include "engine/run_settings.h"

namespace pellimar {

// The command line's option of level N is named this and N ("level1").
inline constexpr const char* kLevelOptionName = "level";

// At most this many names are listed; the rest are "... and N more".
constexpr std::size_t kMostLevelNamesListed = 12;

// The name as a level box takes it: without the double quotes a level
// record puts around a name with a blank.
std::string BareLevelName(const std::string& written);
// The name as a list shows it: in double quotes when it holds a blank.
std::string ListedLevelName(const std::string& written);

// "Book (11), Chapter (381), "Sub-Heading 1" (784), ... and 2 more"; empty
// when there is none.
std::string LevelNamesInBrief(const LevelCensus& seen);

// The levels the reference pattern uses, with a name given, that no level
// record set (0 for level 1); none for a run that writes no references.
std::vector<int> UnmatchedLevels(const RunSettings& settings, const LevelCensus& seen);
// "no level record names level 1 "Chaptr"; the level records name: Book
// (11), ..." for those levels. Empty when each was set.
std::string UnmatchedLevelsNote(const RunSettings& settings, const LevelCensus& seen);

// How many level records name the first name of a level-names line, which
// was not loaded: 0 when a level box holds it after all.
std::int32_t SkippedNameCount(const std::string& name, const RunSettings& settings, const LevelCensus& seen);

// "FolioHlp.DEF's first level name "Book" is not loaded; 11 level records
// of INPUT name it", where `input` is how the input is named. `skipped` is
// the name in the flat files' encoding, as level records are read; the note
// holds it as `shown`, in the encoding of the file names around it. Empty
// when no level record names it, or a level box holds it.
struct SkippedName {
    std::string name;
    std::string shown;
};
std::string SkippedFirstLevelNote(const std::string& levelsFile, const SkippedName& skipped, const std::string& input,
                                  const RunSettings& settings, const LevelCensus& seen);

// The flat file's text as a front end shows it.
using TextShown = std::function<std::string(const std::string&)>;
// How to use that name without losing a level given: the whole set of level
// names with it as level 1 and the others one level down, and the name that
// then no longer fits. On the command line as its options ("--level1 Book
// --level2 Section ... sets it ..."), in the window as its boxes.
std::string LevelOptionsAdvice(const std::string& name, const RunSettings& settings, const TextShown& shown);
std::string LevelBoxesAdvice(const std::string& name, const RunSettings& settings, const TextShown& shown);

// A list of the level names that stopped at its most: "3 more level records
// name levels past the first 1000 names".
std::string UnlistedLevelsNote(std::int64_t unlisted);

// One line a name, in order of first appearance: "Book (11): Folio Views
// Help Infobase", at most kMostLevelNamesListed, then "... and N more".
std::vector<std::string> LevelLines(const LevelCensus& seen);

}  // namespace pellimar
