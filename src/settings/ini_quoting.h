// How names and values are written to and read from the INI file, so that a
// file written by hand reads as a profile-string reader reads it and every
// name and value this program writes comes back unchanged.
//
// Reading: a key is the text before the first "=" and its value the text
// after it, both without surrounding blanks; a value that stands in double
// quotes loses that one pair. Backslashes are ordinary characters.
//
// History entries become key names, and the window keeps neither "=", ";",
// "[", quotes nor surrounding blanks out of them. A name that a plain line
// would not carry (it holds "=" or a line break, begins with ";", "[" or a
// double quote, or has blanks at either end) is written in double quotes,
// in one of two forms:
//   "a=b"=               the name as it is, when it holds no double quote or
//                        line break and does not begin with "%";
//   "%say %22a=b%22"=    otherwise "%" and the name with "%", the double
//                        quote, CR and LF written as %25, %22, %0D and %0A.
// A quoted name is read in either form only when the line holds exactly what
// this writer writes for the name it stands for; every other line (such as
// «"C:\new"=», whose quotes no writer of ours would add) reads as a
// profile-string reader reads it, quotes and all. So a file's own lines keep
// their meaning, and only lines shaped like ours for an awkward name, which
// a profile-string reader could not read back as one name anyway, are read
// our way.
//
// A value is written in double quotes when it has blanks at either end or
// stands in quotes itself, and in the "%" form, quoted, when it holds a line
// break (or would need quotes and begins with "%"); the "%" form is again
// read so only when it is exactly what this writer writes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pellimar {

std::string EncodeIniKey(std::string_view key);
std::string EncodeIniValue(std::string_view value);

struct QuotedKey {
    std::string key;
    std::size_t end;  // offset just past the closing quote
};

// The name that the quoted text at the start of `text` (which begins with
// '"') stands for; empty unless that text is exactly what EncodeIniKey
// writes for it.
std::optional<QuotedKey> ReadQuotedKey(std::string_view text);

// A value as read from a line: blanks trimmed, then one pair of surrounding
// double quotes taken off (or a value in the "%" form decoded).
std::string DecodeIniValue(std::string_view rawValue);

bool IsIniBlank(char c);
std::string_view TrimIniBlanks(std::string_view text);

}  // namespace pellimar
