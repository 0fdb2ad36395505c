// Line splitting shared by the INI file and the pattern histories.
#include "settings/text_lines.h"

namespace pellimar {

std::vector<TextLine> SplitLines(std::string_view text)
{
    std::vector<TextLine> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back({std::string(text.substr(start)), {}});
            break;
        }
        const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        const std::size_t endingSize = crlf ? 2 : 1;
        lines.push_back({std::string(text.substr(start, end - start)),
                         std::string(text.substr(end, endingSize))});
        start = end + endingSize;
    }
    return lines;
}

std::string JoinLines(const std::vector<TextLine>& lines)
{
    std::string text;
    for (const TextLine& line : lines) {
        text += line.text;
        text += line.ending;
    }
    return text;
}

}  // namespace pellimar
