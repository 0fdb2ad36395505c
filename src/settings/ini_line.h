// What one line of an INI file is: a section header, a key entry, or
// neither (blank, comment).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pellimar {

// The name of the section that the line heads: "[name]", blanks trimmed.
std::optional<std::string> IniSectionName(std::string_view line);

struct IniEntry {
    std::string key;
    // Offset of the value's first byte, just past the "="; npos for a line
    // that has no "=" (a key with no value).
    std::size_t valueStart;
};

// The key entry of a line that is neither blank, nor a comment (";"), nor a
// section header.
std::optional<IniEntry> IniEntryOf(std::string_view line);

}  // namespace pellimar
