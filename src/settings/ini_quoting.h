// How names and values that would not survive a plain "key=value" line are
// written to and read from the INI file.
//
// History entries become key names, and the window does not keep "=", ";",
// "[" or surrounding blanks out of them. A plain line would split such an
// entry at its "=", hide it as a comment or section header, or lose its
// blanks, so those names (and values with surrounding blanks or line breaks)
// are written in double quotes with backslash escapes. Every ordinary name
// and value is written as it is.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pellimar {

std::string EncodeIniKey(std::string_view key);
std::string EncodeIniValue(std::string_view value);

struct QuotedText {
    std::string text;  // with the escapes resolved
    std::size_t end;   // offset just past the closing quote
};

// Reads a quoted text at the start of `text` (which begins with '"'); empty
// when the quote is never closed. A backslash escapes '\\', '"', 'r' (CR)
// and 'n' (LF); before any other character it stands for itself.
std::optional<QuotedText> ReadQuoted(std::string_view text);

// A value as read from a line: blanks trimmed, and a value that is one
// quoted text taken without its quotes.
std::string DecodeIniValue(std::string_view rawValue);

bool IsIniBlank(char c);
std::string_view TrimIniBlanks(std::string_view text);

}  // namespace pellimar
