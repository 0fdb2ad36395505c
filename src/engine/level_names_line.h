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

// The level names of the first qualifying line of a file (none when no line
// qualifies). Raises "Cannot open file %s" when the file cannot be opened.
std::vector<std::string> ReadLevelNamesFile(const std::string& path, std::size_t blockSize = kDefaultBlockSize);

}  // namespace pellimar
