// The levels a file's level records name, counted as the pass reads them,
// so that a run can tell the user which names the file uses.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/run_settings.h"

namespace pellimar {

// Level names longer than this are held only this far.
constexpr std::size_t kLongestCountedLevelName = 255;
// The most of its first heading kept to show beside a name.
constexpr std::size_t kLongestShownHeading = 100;

struct LevelSeen {
    std::string name;  // as the first level record of the name writes it
    std::int32_t count = 0;
    std::string firstHeading;  // its value, no more than kLongestShownHeading
    bool headingCut = false;
};

class LevelCensus {
public:
    // Names past this many are counted together, not one by one: a file of
    // any size holds little memory here.
    static constexpr std::size_t kMostNames = 1000;

    // One more level record, naming `name` (upper-cased, as levels are
    // compared), which is the name of the run's level `level` (0 for level
    // 1), or of none (-1). The entry of the name when this is its first
    // record, for the caller to fill in as the record writes it, with its
    // first heading; nothing otherwise.
    LevelSeen* Count(std::string_view name, int level);
    // A level record set level `index` (0 for level 1).
    void LevelSet(int index) { set_[static_cast<std::size_t>(index)] = true; }

    const std::vector<LevelSeen>& Levels() const { return seen_; }
    bool WasSet(int index) const { return set_[static_cast<std::size_t>(index)]; }
    // Level records of names past the first kMostNames.
    std::int64_t Unlisted() const { return unlisted_; }
    // How many level records name `name` (any letter case; quotes as the
    // records write them).
    std::int32_t CountOf(std::string_view name) const;

private:
    // Looked up by the name as read, with no string made for it: this runs
    // at every level record.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
    };

    std::vector<LevelSeen> seen_;
    std::unordered_map<std::string, std::size_t, NameHash, std::equal_to<>> index_;
    std::array<bool, kLevelCount> set_{};
    // For each of the run's levels, one more than the place of its name's
    // entry once a record has named it, 0 before: one name only is each
    // level's, and most level records name one, so most need no lookup.
    std::array<std::size_t, kLevelCount> entryOfLevel_{};
    std::int64_t unlisted_ = 0;
};

}  // namespace pellimar
