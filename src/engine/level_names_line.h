// The level-names code ("<LN:...>") of a flat file or definition file, from
// which the seven level names can be filled.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "streams/buffer_stream.h"

namespace pellimar {

// A line qualifies when its first four bytes are "<LN:" in any letter case.
bool IsLevelNamesLine(std::string_view line);

// The level names of a qualifying line: the fields after its first ",",
// separated by "," (the last ends at a ">"), each losing one leading and one
// trailing double quote; at most seven. A line without any "," gives none.
std::vector<std::string> ParseLevelNamesLine(std::string_view line);

// The first field of a qualifying line, which names no level box: the text
// between "<LN:" and the first ",", without its double quotes. Empty for a
// line without any ",".
std::string SkippedLevelName(std::string_view line);

struct LevelNamesLine {
    std::string skipped;             // the first field, not loaded
    std::vector<std::string> names;  // levels 1 to 7
};

// The level names of the first qualifying line of a file (none when no line
// qualifies). Raises "Cannot open file %s" when the file cannot be opened,
// and "Level names not read from %s" when that line is longer than 1 MB.
LevelNamesLine ReadLevelNamesLine(const std::string& path, std::size_t blockSize = kDefaultBlockSize);
std::vector<std::string> ReadLevelNamesFile(const std::string& path, std::size_t blockSize = kDefaultBlockSize);

}  // namespace pellimar
