// The notes and lists of the level names a file's level records use.
#include "run/level_notes.h"

#include <algorithm>

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

std::string UnmatchedLevelsNote(const RunSettings& settings, const LevelCensus& seen)
{
    if (settings.earlierReferences == EarlierReferences::Remove)
        return {};
    std::vector<int> unmatched;
    for (int level = 0; level < kLevelCount; ++level) {
        const bool used = settings.refPattern.find(static_cast<char>('1' + level)) != std::string::npos;
        if (used && !settings.levelTexts[level].empty() && !seen.WasSet(level))
            unmatched.push_back(level);
    }
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

std::string SkippedFirstLevelNote(const std::string& levelsFile, const SkippedName& skipped, const std::string& input,
                                  const RunSettings& settings, const LevelCensus& seen)
{
    const std::string& name = skipped.name;
    if (name.empty() || LevelSetInBox(settings, name))
        return {};
    const std::string key = name.find(' ') != std::string::npos ? '"' + name + '"' : name;
    const std::int32_t count = seen.CountOf(key);
    if (count == 0)
        return {};
    return levelsFile + "'s first level name \"" + skipped.shown + "\" is not loaded; " + Counted(count, "level record") +
           " of " + input + (count == 1 ? " names it" : " name it");
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
