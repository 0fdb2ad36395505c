// The notes and lists of the level names a file's level records use.
#include "run/level_notes.h"

#include <gtest/gtest.h>

#include "streams/text_util.h"

namespace pellimar {
namespace {

// Level records naming `names` in turn, each with the heading "h" + name.
LevelCensus Seen(const std::vector<std::string>& names)
{
    LevelCensus seen;
    for (const std::string& name : names) {
        if (LevelSeen* first = seen.Count(ToUpperAscii(name), -1)) {
            first->name = name;
            first->firstHeading = "h" + name;
        }
    }
    return seen;
}

RunSettings Levels(std::string pattern, LevelList texts)
{
    RunSettings settings;
    settings.refPattern = std::move(pattern);
    settings.levelTexts = std::move(texts);
    return settings;
}

TEST(LevelNotes, LevelsOfThePatternThatNoLevelRecordSet)
{
    LevelCensus seen = Seen({"Book", "Chapter", "\"Sub Heading\"", "Book"});
    seen.LevelSet(1);
    struct Case {
        RunSettings settings;
        std::string note;
    } const cases[] = {
        {Levels("1", {"Chaptr"}),
         "no level record names level 1 \"Chaptr\"; the level records name: Book (2), Chapter (1), "
         "\"Sub Heading\" (1)"},
        {Levels("2", {"Chaptr", "Chapter"}), ""},
        {Levels("3 / 2 / 1", {"a", "Chapter", "c"}),
         "no level record names level 1 \"a\" or level 3 \"c\"; the level records name: Book (2), Chapter (1), "
         "\"Sub Heading\" (1)"},
        {Levels("1, 3 4", {"a", "", "c", "d"}),
         "no level record names level 1 \"a\", level 3 \"c\" or level 4 \"d\"; the level records name: Book (2), "
         "Chapter (1), \"Sub Heading\" (1)"},
        {Levels("#", {"a"}), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.note, UnmatchedLevelsNote(c.settings, seen)) << c.settings.refPattern;
    EXPECT_EQ("no level record names level 1 \"a\"; there is no level record",
              UnmatchedLevelsNote(Levels("1", {"a"}), LevelCensus{}));
    RunSettings removing = Levels("1", {"a"});
    removing.earlierReferences = EarlierReferences::Remove;
    EXPECT_EQ("", UnmatchedLevelsNote(removing, seen));
}

TEST(LevelNotes, TwelveNamesAreListedAndTheRestCounted)
{
    std::vector<std::string> names;
    for (int i = 1; i <= 14; ++i)
        names.push_back("L" + std::to_string(i));
    const LevelCensus seen = Seen(names);
    const std::string brief = LevelNamesInBrief(seen);
    EXPECT_NE(std::string::npos, brief.find("L12 (1), ... and 2 more")) << brief;
    EXPECT_EQ(std::string::npos, brief.find("L13")) << brief;
    const std::vector<std::string> lines = LevelLines(seen);
    ASSERT_EQ(13u, lines.size());
    EXPECT_EQ("L1 (1): hL1", lines[0]);
    EXPECT_EQ("... and 2 more", lines[12]);
    EXPECT_EQ("", LevelNamesInBrief(LevelCensus{}));
}

TEST(LevelNotes, NamesWithABlankAreQuotedInListsAndBareForTheBoxes)
{
    EXPECT_EQ("Sub Heading", BareLevelName("\"Sub Heading\""));
    EXPECT_EQ("\"Sub Heading\"", ListedLevelName("\"Sub Heading\""));
    EXPECT_EQ("\"Sub Heading\"", ListedLevelName("Sub Heading"));
    EXPECT_EQ("Book", ListedLevelName("\"Book\""));
    EXPECT_EQ("\"", BareLevelName("\""));
}

TEST(LevelNotes, FirstNameOfTheLineNotLoadedWhereLevelRecordsUseIt)
{
    const LevelCensus seen = Seen({"book", "Book", "\"Sub Heading\"", "Chapter"});
    const RunSettings settings = Levels("1", {"Chapter"});
    EXPECT_EQ("a.def's first level name \"Book\" is not loaded; 2 level records of in.fff name it",
              SkippedFirstLevelNote("a.def", {"Book", "Book"}, "in.fff", settings, seen));
    EXPECT_EQ("a.def's first level name \"Sub Heading\" is not loaded; 1 level record of in.fff names it",
              SkippedFirstLevelNote("a.def", {"Sub Heading", "Sub Heading"}, "in.fff", settings, seen));
    EXPECT_EQ("", SkippedFirstLevelNote("a.def", {"Tome", "Tome"}, "in.fff", settings, seen));
    EXPECT_EQ("", SkippedFirstLevelNote("a.def", {"", ""}, "in.fff", settings, seen));
    EXPECT_EQ("", SkippedFirstLevelNote("a.def", {"Book", "Book"}, "in.fff", Levels("1", {"Chapter", "BOOK"}), seen));
}

}  // namespace
}  // namespace pellimar
