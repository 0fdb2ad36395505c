// Reading level names from a level-names line.
#include "engine/level_names_line.h"

#include "engine/run_settings.h"
#include "streams/exceptions.h"
#include "streams/text_stream.h"
#include "streams/text_util.h"

namespace pellimar {
namespace {

// Lines are read whole but held only this far (1 MB): a flat file can hold
// lines of any length, and level names are short.
constexpr std::size_t kLongestLevelNamesLine = 1 << 20;

// Held whole, such a line would cost memory out of all proportion: names
// so long are no level names anyone typed.
std::string LevelNamesLineTooLong()
{
    return "its \"<LN:\" line is longer than 1 MB (" + std::to_string(kLongestLevelNamesLine) + " bytes), the most read";
}

std::string WithoutQuotes(std::string_view field)
{
    if (field.starts_with('"'))
        field.remove_prefix(1);
    if (field.ends_with('"'))
        field.remove_suffix(1);
    return std::string(field);
}

}  // namespace

bool IsLevelNamesLine(std::string_view line)
{
    return line.size() >= 4 && EqualsIgnoreAsciiCase(line.substr(0, 4), "<LN:");
}

std::vector<std::string> ParseLevelNamesLine(std::string_view line)
{
    std::vector<std::string> names;
    const std::size_t first = line.find(',');
    if (first == std::string_view::npos)
        return names;
    std::string_view rest = line.substr(first + 1);
    // A "," is always looked for before a ">", so text after the closing ">"
    // that holds a "," runs the last field on up to that ",".
    for (;;) {
        std::size_t end = rest.find(',');
        if (end == std::string_view::npos)
            end = rest.find('>');
        if (end == std::string_view::npos)
            break;
        if (names.size() < static_cast<std::size_t>(kLevelCount))
            names.push_back(WithoutQuotes(rest.substr(0, end)));
        rest.remove_prefix(end + 1);
    }
    return names;
}

std::string SkippedLevelName(std::string_view line)
{
    const std::size_t first = line.find(',');
    if (first == std::string_view::npos || first < 4)
        return {};
    return WithoutQuotes(line.substr(4, first - 4));
}

std::vector<std::string> ReadLevelNamesFile(const std::string& path, std::size_t blockSize)
{
    return ReadLevelNamesLine(path, blockSize).names;
}

LevelNamesLine ReadLevelNamesLine(const std::string& path, std::size_t blockSize)
{
    TS_TextStream stream(path, fmOpenRead, blockSize);
    while (!stream.Eof()) {
        const std::int64_t before = stream.Position();
        std::string line;
        try {
            line = stream.ReadLine(kLongestLevelNamesLine + 1);
        } catch (const EReadError&) {
            // An unreadable line counts as empty; when reading cannot move on
            // at all, there is nothing more to find.
            if (stream.Position() == before)
                break;
        }
        if (IsLevelNamesLine(line) && line.size() > kLongestLevelNamesLine)
            throw Exception("Level names not read from " + path, {path, LevelNamesLineTooLong()});
        if (IsLevelNamesLine(line))
            return {SkippedLevelName(line), ParseLevelNamesLine(line)};
    }
    return {};
}

}  // namespace pellimar
