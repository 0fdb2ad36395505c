// The history files of the two pattern boxes: one entry per line, top entry
// first.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellimar {

// A line ends at CR, LF or CR LF; a last line without a line end is still an
// entry, an empty line is an empty entry, and the text ends at the first NUL.
std::vector<std::string> ParsePatternHistory(std::string_view bytes);

// CR LF after every entry, the last one included; no entries, no bytes.
std::string FormatPatternHistory(const std::vector<std::string>& entries);

// Empty when the file is missing or cannot be read. Of a file larger than
// kMaxSettingsFileBytes, the entries of its first part are read.
std::optional<std::vector<std::string>> LoadPatternHistory(const std::string& path);

// Creates or replaces the file in one step. Raises EFCreateError "Cannot
// create file <path>" and leaves an old file as it was when that fails.
void SavePatternHistory(const std::string& path, const std::vector<std::string>& entries);

}  // namespace pellimar
