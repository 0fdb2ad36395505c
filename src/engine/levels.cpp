// Level names and heading values.
#include "engine/levels.h"

#include "streams/byte_scan.h"
#include "streams/text_util.h"

namespace pellimar {

LevelList PrepareLevelNames(const LevelList& texts)
{
    LevelList names;
    for (int i = 0; i < kLevelCount; ++i) {
        const std::string upper = ToUpperAscii(texts[i]);
        names[i] = texts[i].find(' ') != std::string::npos ? '"' + upper + '"' : upper;
    }
    return names;
}

std::string StripCodes(std::string_view text)
{
    std::string result;
    StripCodesInto(result, text);
    return result;
}

// Read from left to right as the pass reads running text: "<<" is a "<"
// meant as text and stays as written, the escape included, since the value
// goes back into a flat file; any other "<" opens a code that runs to the
// next ">". The result takes the place of what `result` held, in its memory.
void StripCodesInto(std::string& result, std::string_view text)
{
    result.clear();
    const auto* at = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto* const end = at + text.size();
    while (at < end) {
        const std::uint8_t* open = FindByte(at, end, '<');
        if (open == end || (open + 1 < end && open[1] == '<')) {
            const std::uint8_t* kept = open == end ? end : open + 2;
            result.append(reinterpret_cast<const char*>(at), static_cast<std::size_t>(kept - at));
            at = kept;
            continue;
        }
        if (open != at)
            result.append(reinterpret_cast<const char*>(at), static_cast<std::size_t>(open - at));
        const std::uint8_t* close = FindByte(open + 1, end, '>');
        if (close == end)
            break;
        at = close + 1;
    }
}

std::string_view SplitPiece(std::string_view text, std::string_view set)
{
    const std::size_t found = text.find_first_of(set);
    return found == std::string_view::npos ? text : text.substr(0, found + 1);
}

int FindLevel(const LevelLists& levels, std::string_view name)
{
    // A run's names and the names read from codes are both upper-cased, so
    // the plain comparison nearly always finds the level, and at less cost.
    for (int index = 0; index < kLevelCount; ++index) {
        if (levels.names[index] == name)
            return index;
    }
    for (int index = 0; index < kLevelCount; ++index) {
        if (EqualsIgnoreAsciiCase(levels.names[index], name))
            return index;
    }
    return -1;
}

int SetLevelFromHeading(LevelLists& levels, std::string_view name, std::string_view line)
{
    const int index = FindLevel(levels, name);
    if (index == -1)
        return -1;
    StripCodesInto(levels.values[index], line);
    ++levels.version;
    for (int deeper = index + 1; deeper < kLevelCount; ++deeper) {
        if (!IsNotSet(levels.values[deeper]))
            levels.values[deeper] = std::string_view(kNotSet);
    }
    return index;
}

void AppendHeadingLine(LevelLists& levels, std::string_view line, int index)
{
    const std::string text = StripCodes(line);
    if (!text.empty() && index != -1) {
        levels.values[index] += ' ' + text;
        ++levels.version;
    }
}

}  // namespace pellimar
