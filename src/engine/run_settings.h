// What a run takes from its caller once, at its start.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "streams/run_files.h"

namespace pellimar {

inline constexpr int kLevelCount = 7;
// The block of a run's input and output streams: large enough that each
// system call moves a good share of the file, small beside the memory a
// desktop has.
inline constexpr std::size_t kRunBlockSize = 256 * 1024;
using LevelList = std::array<std::string, kLevelCount>;

// What a run does with the references that an earlier run wrote into its
// input, right after record codes.
enum class EarlierReferences {
    Keep,     // left as they stand, the new reference written before them
    Replace,  // taken out; the new reference goes where they stood, when one is due
    Remove,   // taken out, and no reference written: no pattern or levels needed
};
// The longest earlier reference a run recognises. A real one is a pattern
// filled in with seven headings and a page, a few hundred bytes; the search
// never holds more than this. So that every reference a run writes can be
// recognised, none is written longer, and a heading's value keeps no more.
inline constexpr std::size_t kLongestEarlierReference = 64 * 1024;

struct RunSettings {
    std::string inputPath;
    std::string outputPath;
    // Read standard input or write standard output in place of the named
    // file (a command line's "-"); the path is then only a name for messages.
    bool standardInput = false;
    bool standardOutput = false;
    // A file under the output's name may be replaced: one the user agreed to
    // overwrite. Without it the output is put in place only while its name
    // is still free.
    bool replaceOutput = true;
    std::string refPattern;
    std::string pagePattern;
    LevelList levelTexts;  // the seven level-name boxes, as typed
    bool notSearched = false;
    bool removePageMarks = false;
    EarlierReferences earlierReferences = EarlierReferences::Keep;
    std::size_t longestEarlierReference = kLongestEarlierReference;
    std::size_t blockSize = kRunBlockSize;
    // A dry run: the pass goes to nowhere, and no output is made, opened or
    // touched; the run's counts are those a real one would give.
    bool dryRun = false;
    // The files of the whole of which the run is part (a collection), which
    // its output may not turn out to be; unset, the run's own input.
    std::shared_ptr<RunFiles> runFiles;
};

// The level names and current level values of a run. They outlive the run
// (the window owns them); each run refills them. A level deeper than the
// reference pattern shows stays unset whatever its headings: nothing reads
// its value.
struct LevelLists {
    LevelList names;
    LevelList values;
    // The changes of the values, so that what was made from them can tell it
    // is out of date: changes[n] counts those that may have touched levels 1
    // to n (changes[0], of no level, stays 0). Setting a level unsets every
    // deeper one, so its change counts for its own level and for all below
    // it, and what shows only the first levels is not remade for a deeper
    // heading.
    std::array<std::uint64_t, kLevelCount + 1> changes{};

    // Level `index` (0 for level 1) changed.
    void Changed(int index)
    {
        for (int level = index + 1; level <= kLevelCount; ++level)
            ++changes[level];
    }
    // The count for levels 1 to deepest + 1 (`deepest` an index, -1 for none).
    std::uint64_t ChangesThrough(int deepest) const { return changes[deepest + 1]; }
};

// The value of a level without a heading.
inline constexpr const char* kNotSet = "NotSet";

// Asked at every record: the length first, then the bytes, compared as
// views, whose lengths are known when compiled.
inline bool IsNotSet(const std::string& value)
{
    return std::string_view(value) == std::string_view(kNotSet);
}

}  // namespace pellimar
