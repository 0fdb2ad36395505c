// The text of an INI file as lines, with the lookups and edits of the profile
// operations. Lines that an edit does not concern are kept byte for byte.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/text_lines.h"

namespace pellimar {

// Section and key names compare without regard to ASCII case. Where a name
// occurs more than once, the first occurrence counts.
class IniText {
public:
    explicit IniText(std::string_view bytes);

    std::string Bytes() const { return JoinLines(lines_); }

    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

    // Every key of the section in file order; duplicates included.
    std::vector<std::string> Keys(std::string_view section) const;

    // An existing key keeps its line, its spelling and the blanks around its
    // "="; a new key goes after the last line of its section that is not
    // blank; a missing section is appended at the end.
    void SetValue(std::string_view section, std::string_view key, std::string_view value);

    // Removes every section of that name with all its lines.
    void EraseSection(std::string_view section);

private:
    struct Range {
        std::size_t begin;  // first line after the header
        std::size_t end;    // the next header, or the end of the text
    };

    std::optional<Range> FindSection(std::string_view section) const;
    std::optional<std::size_t> FindKey(Range range, std::string_view key) const;
    void InsertLine(std::size_t index, std::string text);
    std::string NewLineEnding() const;

    std::vector<TextLine> lines_;
};

}  // namespace pellimar
