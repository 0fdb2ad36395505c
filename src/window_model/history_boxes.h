// The window's eleven drop-down boxes with a history, and the rules of their
// lists: what adding the shown text and removing the shown entry do.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/run_settings.h"

namespace pellimar {

// In the window's order: the seven level boxes, the page and reference
// patterns, then the input and output files.
enum class HistoryBox {
    Level1,
    Level2,
    Level3,
    Level4,
    Level5,
    Level6,
    Level7,
    PagePattern,
    RefPattern,
    InputFile,
    OutputFile,
};

inline constexpr int kHistoryBoxCount = kLevelCount + 4;

constexpr HistoryBox LevelBox(int index)  // 0 for level 1
{
    return static_cast<HistoryBox>(index);
}

constexpr int BoxIndex(HistoryBox box)
{
    return static_cast<int>(box);
}

// The nine boxes whose histories are stored as INI key names, where "[" and
// "]" cannot be kept: every box but the two patterns.
constexpr bool FiltersBrackets(HistoryBox box)
{
    return box != HistoryBox::PagePattern && box != HistoryBox::RefPattern;
}

// Entries are compared without regard to case: the ASCII letters and those
// of the Latin-1 range, as the system's locale compares 8-bit text.
bool SameHistoryEntry(std::string_view a, std::string_view b);

// Adds `text` at the top unless it is empty or an entry already equals it
// (that entry keeps its place and its capitals). True when the list changed.
bool AddHistoryEntry(std::vector<std::string>& entries, const std::string& text);

// Removes the entry equal to `text`, if any. True when one was removed.
bool RemoveHistoryEntry(std::vector<std::string>& entries, std::string_view text);

}  // namespace pellimar
