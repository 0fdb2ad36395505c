// Splits 8-bit text into lines that remember their own line end, so that text
// can be put back together byte for byte.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pellimar {

struct TextLine {
    std::string text;    // without its line end
    std::string ending;  // "\r\n", "\r", "\n", or empty for a last unterminated line
};

// A line ends at CR, at LF or at CR LF (one line end). A last line without a
// line end is still a line; text that ends with a line end has no empty line
// after it, and empty text has no lines at all.
std::vector<TextLine> SplitLines(std::string_view text);

std::string JoinLines(const std::vector<TextLine>& lines);

}  // namespace pellimar
