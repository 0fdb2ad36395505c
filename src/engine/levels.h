// Level names and the current level values that level records set.
#pragma once

#include <string>
#include <string_view>

#include "engine/run_settings.h"

namespace pellimar {

// Upper-cases each level-name text; a name with a blank is put between
// double quotes, as level-record codes write such names.
LevelList PrepareLevelNames(const LevelList& texts);

// Removes every code ("<" through the next ">") from the text, read from
// left to right; "<<", a "<" meant as text, is kept as it stands. A "<"
// with no ">" after it removes the rest of the text.
std::string StripCodes(std::string_view text);
void StripCodesInto(std::string& result, std::string_view text);

// The leading piece of text up to and including its first byte from set, or
// the whole text when none is in it.
std::string_view SplitPiece(std::string_view text, std::string_view set);

// The index of the first level named `name` (any letter case), or -1.
int FindLevel(const LevelLists& levels, std::string_view name);

// Sets the value of the level named `name` (any letter case) from a heading
// line and unsets every deeper level. Returns the level's index, or -1 when
// no level has that name (then nothing changes).
int SetLevelFromHeading(LevelLists& levels, std::string_view name, std::string_view line);

// Adds a further heading line to the value of level `index`, after a blank.
void AppendHeadingLine(LevelLists& levels, std::string_view line, int index);

}  // namespace pellimar
