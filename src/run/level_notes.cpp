// The notes and lists of the level names a file's level records use.
#include "run/level_notes.h"

#include <algorithm>
#include <cctype>

#include "run/run_summary.h"
#include "streams/text_util.h"

namespace pellimar {
namespace {

// The names past those listed, and the level records of names never
// counted one by one.
std::string More(const LevelCensus& seen)
{
    const std::size_t listed = std::min(seen.Levels().size(), kMostLevelNamesListed);
    const std::size_t more = seen.Levels().size() - listed;
    if (more == 0 && seen.Unlisted() == 0)
        return {};
    std::string text = "... and " + std::to_string(more) + " more";
    if (seen.Unlisted() > 0)
        text += ", and " + Counted(seen.Unlisted(), "level record") + " of further names";
    return text;
}

bool LevelSetInBox(const RunSettings& settings, const std::string& name)
{
    return std::any_of(settings.levelTexts.begin(), settings.levelTexts.end(),
                       [&](const std::string& text) { return EqualsIgnoreAsciiCase(text, name); });
}

}  // namespace

std::string BareLevelName(const std::string& written)
{
    if (written.size() >= 2 && written.front() == '"' && written.back() == '"')
        return written.substr(1, written.size() - 2);
    return written;
}

std::string ListedLevelName(const std::string& written)
{
    const std::string bare = BareLevelName(written);
    return bare.find(' ') != std::string::npos ? '"' + bare + '"' : bare;
}

std::string LevelNamesInBrief(const LevelCensus& seen)
{
    std::string text;
    const std::size_t listed = std::min(seen.Levels().size(), kMostLevelNamesListed);
    for (std::size_t i = 0; i < listed; ++i) {
        const LevelSeen& level = seen.Levels()[i];
        text += (i > 0 ? ", " : "") + ListedLevelName(level.name) + " (" + std::to_string(level.count) + ")";
    }
    if (const std::string more = More(seen); !more.empty())
        text += (text.empty() ? "" : ", ") + more;
    return text;
}

std::vector<int> UnmatchedLevels(const RunSettings& settings, const LevelCensus& seen)
{
    std::vector<int> unmatched;
    if (settings.earlierReferences == EarlierReferences::Remove)
        return unmatched;
    for (int level = 0; level < kLevelCount; ++level) {
        const bool used = settings.refPattern.find(static_cast<char>('1' + level)) != std::string::npos;
        if (used && !settings.levelTexts[level].empty() && !seen.WasSet(level))
            unmatched.push_back(level);
    }
    return unmatched;
}

std::string UnmatchedLevelsNote(const RunSettings& settings, const LevelCensus& seen)
{
    const std::vector<int> unmatched = UnmatchedLevels(settings, seen);
    if (unmatched.empty())
        return {};
    std::string text = "no level record names ";
    for (std::size_t i = 0; i < unmatched.size(); ++i) {
        const int level = unmatched[i];
        text += std::string(i == 0 ? "" : i + 1 == unmatched.size() ? " or " : ", ") + "level " +
                std::to_string(level + 1) + " \"" + settings.levelTexts[level] + "\"";
    }
    const std::string names = LevelNamesInBrief(seen);
    return text + (names.empty() ? "; there is no level record" : "; the level records name: " + names);
}

std::int32_t SkippedNameCount(const std::string& name, const RunSettings& settings, const LevelCensus& seen)
{
    if (name.empty() || LevelSetInBox(settings, name))
        return 0;
    return seen.CountOf(name.find(' ') != std::string::npos ? '"' + name + '"' : name);
}

std::string SkippedFirstLevelNote(const std::string& levelsFile, const SkippedName& skipped, const std::string& input,
                                  const RunSettings& settings, const LevelCensus& seen)
{
    const std::int32_t count = SkippedNameCount(skipped.name, settings, seen);
    if (count == 0)
        return {};
    return levelsFile + "'s first level name \"" + skipped.shown + "\" is not loaded; " + Counted(count, "level record") +
           " of " + input + (count == 1 ? " names it" : " name it");
}

namespace {

// The level names with `first` as level 1 and the names given moved one
// level down, as far as the last one given; what no longer fits.
struct MovedDown {
    std::vector<std::string> names;
    std::string pushedOut;
};

MovedDown WithFirst(const std::string& first, const RunSettings& settings)
{
    MovedDown moved{{first}, settings.levelTexts[kLevelCount - 1]};
    for (int level = 0; level + 1 < kLevelCount; ++level)
        moved.names.push_back(settings.levelTexts[level]);
    while (moved.names.size() > 1 && moved.names.back().empty())
        moved.names.pop_back();
    return moved;
}

// A name as a shell takes it as one argument: letters of any script need
// no quotes.
std::string ShellWord(const std::string& text)
{
    const bool plain = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return std::isalnum(byte) != 0 || byte >= 0x80 || c == '-' || c == '_' || c == '.';
    });
    if (plain)
        return text;
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

std::string LevelOptionsAdvice(const std::string& name, const RunSettings& settings, const TextShown& shown)
{
    const MovedDown moved = WithFirst(name, settings);
    std::string advice;
    for (std::size_t i = 0; i < moved.names.size(); ++i)
        advice += std::string(i > 0 ? " --" : "--") + kLevelOptionName + std::to_string(i + 1) + " " +
                  ShellWord(shown(moved.names[i]));
    advice += moved.names.size() > 1 ? " sets it and moves the level names given one level down" : " sets it";
    if (!moved.pushedOut.empty())
        advice += "; \"" + shown(moved.pushedOut) + "\" no longer fits";
    return advice;
}

std::string LevelBoxesAdvice(const std::string& name, const RunSettings& settings, const TextShown& shown)
{
    const MovedDown moved = WithFirst(name, settings);
    if (moved.names.size() == 1)
        return "Type it into level box 1 to use it.";
    std::string names;
    for (std::size_t i = 0; i < moved.names.size(); ++i)
        names += (i > 0 ? ", " : "") + shown(moved.names[i]);
    std::string advice = "To use it, fill the level boxes 1 to " + std::to_string(moved.names.size()) + " with " +
                         names + ": the names loaded move one level down";
    if (!moved.pushedOut.empty())
        advice += ", and " + shown(moved.pushedOut) + " no longer fits";
    return advice + ".";
}

std::string UnlistedLevelsNote(std::int64_t unlisted)
{
    return Counted(unlisted, "more level record") + (unlisted == 1 ? " names a level" : " name levels") +
           " past the first " + std::to_string(LevelCensus::kMostNames) + " names";
}

std::vector<std::string> LevelLines(const LevelCensus& seen)
{
    std::vector<std::string> lines;
    const std::size_t listed = std::min(seen.Levels().size(), kMostLevelNamesListed);
    for (std::size_t i = 0; i < listed; ++i) {
        const LevelSeen& level = seen.Levels()[i];
        lines.push_back(ListedLevelName(level.name) + " (" + std::to_string(level.count) +
                        "): " + level.firstHeading + (level.headingCut ? "..." : ""));
    }
    if (const std::string more = More(seen); !more.empty())
        lines.push_back(more);
    return lines;
}

}  // namespace pellimar
