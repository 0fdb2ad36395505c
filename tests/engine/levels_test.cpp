// Level names, heading capture and the helpers behind them.
#include "engine/levels.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/convert.h"
#include "engine/preview.h"

namespace pellimar {
namespace {

using testing::Convert;
using testing::TempDir;
using testing::WriteFileBytes;

TEST(PrepareLevelNames, UpperCasesAndQuotesNamesWithBlanks)
{
    const LevelList names = PrepareLevelNames({"Chapter", "Sub Section", "", "\xe9t\xe9", "a-b"});
    EXPECT_EQ("CHAPTER", names[0]);
    EXPECT_EQ("\"SUB SECTION\"", names[1]);
    EXPECT_EQ("", names[2]);
    EXPECT_EQ("\xe9T\xe9", names[3]);
    EXPECT_EQ("A-B", names[4]);
}

TEST(StripCodes, RemovesEveryCodeAndKeepsTheRest)
{
    EXPECT_EQ("1", StripCodes("<BD+>1<BD->"));
    EXPECT_EQ(" a  b ", StripCodes(" a <x> b "));
    EXPECT_EQ("ad>e", StripCodes("a<b<c>d>e"));
    EXPECT_EQ("plain", StripCodes("plain"));
}

TEST(StripCodes, DoubledOpenIsTextAndKeptAsWritten)
{
    EXPECT_EQ("Use << for less", StripCodes("Use << for less"));
    EXPECT_EQ("a<<c", StripCodes("a<<<b>c"));
    EXPECT_EQ("x<<", StripCodes("x<<"));
}

TEST(StripCodes, UnclosedCodeRemovesTheRest)
{
    EXPECT_EQ("abc", StripCodes("abc<def"));
    EXPECT_EQ("abd", StripCodes("ab<c>d<e"));
    EXPECT_EQ("", StripCodes("<"));
}

// A heading's lines given in pieces, as the blocks fall, and the most of
// its value kept: the value and whether some was dropped.
struct HeadingCase {
    std::vector<std::vector<std::string>> lines;  // each line's pieces
    std::size_t longest;
    std::string value;
    bool cut;
};

// The case's lines read into a value that held an earlier heading; a value
// made only to tell whether it was cut tells the same.
void ExpectHeading(const HeadingCase& c)
{
    const auto read = [&c](HeadingValue& heading) {
        for (std::size_t line = 0; line < c.lines.size(); ++line) {
            if (line > 0)
                heading.StartLine();
            for (const std::string& piece : c.lines[line])
                heading.Take(piece);
            heading.EndLine();
        }
    };
    std::string value = "earlier";
    HeadingValue heading(value, c.longest);
    read(heading);
    EXPECT_EQ(c.value, value) << c.value;
    EXPECT_EQ(c.cut, heading.Cut()) << c.value;

    std::string counted = "earlier";
    HeadingValue onlyWhetherCut(counted, c.longest, true);
    read(onlyWhetherCut);
    EXPECT_EQ(c.cut, onlyWhetherCut.Cut()) << c.value;
}

TEST(HeadingValue, StripsCodesAcrossPiecesAndKeepsTheFirstBytesWithoutHalfAnEscape)
{
    const HeadingCase cases[] = {
        {{{"Gen", "esis"}}, 64, "Genesis", false},
        {{{"a<", "<b"}}, 64, "a<<b", false},
        {{{"a<", "B", "D+>b<", ">c"}}, 64, "abc", false},
        {{{"ab<"}, {"cd"}}, 64, "ab cd", false},
        {{{"x<y"}, {"<z>"}, {"w"}}, 64, "x w", false},
        {{{"abcdef"}}, 6, "abcdef", false},
        {{{"abcdefg"}}, 6, "abcdef", true},
        {{{"abcd<", "<e"}}, 5, "abcd", true},
        {{{"abc"}, {"<<"}}, 5, "abc ", true},
        {{{"abc"}, {"de"}}, 3, "abc", true},
        {{{"ab", "cd"}, {"e"}, {"f"}}, 5, "abcd ", true},
        // Longer than the value as read, not once its codes are gone.
        {{{"<BD+>abc<BD->"}}, 4, "abc", false},
        {{{"ab"}, {"<X>c", "d"}}, 5, "ab cd", false},
        {{{"abcd"}, {"e"}}, 4, "abcd", true},
    };
    for (const HeadingCase& c : cases)
        ExpectHeading(c);
}

TEST(HeadingValue, WhiteSpaceCodesPartWordsWithOneBlankUnlessABlankIsBeside)
{
    const HeadingCase cases[] = {
        {{{"WARNING!<CR>You must"}}, 64, "WARNING! You must", false},
        {{{"a<hr>b<Tb>c<HS>d<pB>e"}}, 64, "a b c d e", false},
        {{{"a<CR><BD+><TB><CR>b"}}, 64, "a b", false},
        {{{"a<BD+><CR><BD->b"}}, 64, "a b", false},
        {{{"a <CR>b", "|c<CR> d|e\t<TB>f"}}, 64, "a b|c d|e\tf", false},
        {{{"<CR>a<TB>"}}, 64, "a", false},
        {{{"Code<TB><<PW:x"}}, 64, "Code <<PW:x", false},
        {{{"<<<TB>a"}}, 64, "<< a", false},
        {{{"a<CRX>b<C>c<CR:1>d"}}, 64, "abcd", false},
        {{{"a<C", "R>b<", "TB>c"}}, 64, "a b c", false},
        {{{"a<CR>"}, {"b"}}, 64, "a b", false},
        {{{"a<CR"}, {"b"}}, 64, "a b", false},
        {{{"abc<CR>de"}}, 4, "abc ", true},
        {{{"abc<CR>de"}}, 3, "abc", true},
        {{{"abc<CR><<"}}, 5, "abc ", true},
    };
    for (const HeadingCase& c : cases)
        ExpectHeading(c);
}

TEST(SplitPiece, TakesUpToAndIncludingTheFirstByteOfTheSet)
{
    EXPECT_EQ("Book 1", SplitPiece("Book 1:2", "1234567"));
    EXPECT_EQ("p. #", SplitPiece("p. # 3", "1234567#"));
    EXPECT_EQ("none", SplitPiece("none", "1234567"));
    EXPECT_EQ("", SplitPiece("", "#"));
}

RunSettings BookChapterSection()
{
    RunSettings settings;
    settings.refPattern = "1";
    settings.levelTexts = {"Book", "Chapter", "Sub Section"};
    return settings;
}

// Only a level that references show keeps its value after the run: the
// pattern here shows all three.
RunSettings ShowingAllThree()
{
    RunSettings settings = BookChapterSection();
    settings.refPattern = "1 2 3";
    return settings;
}

LevelList ValuesAfter(const std::string& input, const RunSettings& settings = ShowingAllThree())
{
    return Convert(input, settings).levels.values;
}

TEST(Headings, LevelRecordSetsItsLevelAndUnsetsDeeperOnes)
{
    const auto values = ValuesAfter("<RD:Chapter>4\r\n<RD:\"Sub Section\">s\r\n<RD:Book>Genesis\r\n");
    EXPECT_EQ("Genesis", values[0]);
    for (int i = 1; i < kLevelCount; ++i)
        EXPECT_EQ("NotSet", values[i]) << i;
}

// Its heading is still taken apart to be shown beside its name.
TEST(Headings, ALevelNoReferenceShowsStaysUnset)
{
    const auto converted = Convert("<RD:Book>G\r\n<RD:Chapter>4<BD+>x\r\n<RD:Chapter>5\r\n", BookChapterSection());
    EXPECT_EQ("G", converted.levels.values[0]);
    EXPECT_EQ("NotSet", converted.levels.values[1]);
    EXPECT_EQ("NotSet", converted.levels.values[2]);
    ASSERT_EQ(2u, converted.result.levelsSeen.Levels().size());
    EXPECT_EQ("4x", converted.result.levelsSeen.Levels()[1].firstHeading);
}

TEST(Headings, HigherLevelsKeepTheirValues)
{
    const auto values = ValuesAfter("<RD:Book>Genesis\r\n<RD:Chapter>4\r\n");
    EXPECT_EQ("Genesis", values[0]);
    EXPECT_EQ("4", values[1]);
}

TEST(Headings, CodesInTheHeadingAreStripped)
{
    EXPECT_EQ("1", ValuesAfter("<RD:Chapter><BD+>1<BD->\r\n")[1]);
}

TEST(Headings, WhiteSpaceCodesKeepWordsApart)
{
    EXPECT_EQ("WARNING! You must", ValuesAfter("<RD:Chapter>WARNING!<CR>You must\r\n")[1]);
    EXPECT_EQ("A B", ValuesAfter("<RD:Book>A<HR>\nB\n\n")[0]);
}

// In a run and in a preview alike.
TEST(Headings, LevelRecordsAreCountedByNameInOrderOfFirstAppearance)
{
    RunSettings settings = BookChapterSection();
    settings.refPattern = "1 2 3";
    const std::string input = "<RD:chapter>One<CR>x\r\n<RD>t\r\n<RD:Tome>Big\r\n<RD:\"Sub Section\">S\r\n"
                              "<RD:CHAPTER>Two\r\n<RD:Tome,CH>Again\r\n";
    for (const bool watched : {false, true}) {
        LevelCensus seen;
        if (watched) {
            TempDir dir;
            RunSettings previewed = settings;
            previewed.inputPath = dir.File("in.fff");
            WriteFileBytes(previewed.inputPath, input);
            testing::ScriptedHost host;
            LevelLists levels;
            seen = RunPreview(previewed, host, levels, 100).levelsSeen;
        } else {
            seen = Convert(input, settings).result.levelsSeen;
        }
        ASSERT_EQ(3u, seen.Levels().size());
        EXPECT_EQ("chapter", seen.Levels()[0].name);
        EXPECT_EQ(2, seen.Levels()[0].count);
        EXPECT_EQ("One x", seen.Levels()[0].firstHeading);
        EXPECT_EQ("Tome", seen.Levels()[1].name);
        EXPECT_EQ(2, seen.Levels()[1].count);
        EXPECT_EQ("Big", seen.Levels()[1].firstHeading);
        EXPECT_EQ("\"Sub Section\"", seen.Levels()[2].name);
        EXPECT_FALSE(seen.WasSet(0));
        EXPECT_TRUE(seen.WasSet(1));
        EXPECT_TRUE(seen.WasSet(2));
        EXPECT_EQ(2, seen.CountOf("tome"));
    }
}

TEST(Headings, FirstHeadingShownIsCutWithoutHalfAnEscape)
{
    const std::string longText(kLongestShownHeading - 1, 'a');
    RunSettings settings = BookChapterSection();
    for (const std::string name : {"Book", "Other"}) {
        const LevelCensus seen =
            Convert("<RD:" + name + ">" + longText + "<<b\r\n<RD:" + name + ">c\r\n", settings).result.levelsSeen;
        ASSERT_EQ(1u, seen.Levels().size()) << name;
        EXPECT_EQ(longText, seen.Levels()[0].firstHeading) << name;
        EXPECT_TRUE(seen.Levels()[0].headingCut) << name;
    }
}

TEST(Headings, FollowingLinesJoinWithABlankUntilABlankLineOrCode)
{
    EXPECT_EQ("Genesis The Beginning", ValuesAfter("<RD:Book>Genesis\r\nThe Beginning\r\n\r\nText")[0]);
    EXPECT_EQ("Genesis", ValuesAfter("<RD:Book>Genesis\r\n<RD>Text")[0]);
    EXPECT_EQ("A B C", ValuesAfter("<RD:Book>A\nB\rC\n\n")[0]);
}

TEST(Headings, EmptyFirstLineGivesALeadingBlank)
{
    EXPECT_EQ(" Genesis", ValuesAfter("<RD:Book>\r\nGenesis\r\n\r\n")[0]);
}

TEST(Headings, LinesAreCopiedAndNotExamined)
{
    RunSettings settings = BookChapterSection();
    const std::string input = "<RD:Book>Gen <RD> x\r\nmore <RD>y\r\n\r\n";
    const auto converted = Convert(input, settings);
    EXPECT_EQ(input, converted.output);
    EXPECT_EQ(0, converted.result.refCount);
}

TEST(Headings, QuotedNameMatchesInAnyCaseUnquotedNameDoesNot)
{
    EXPECT_EQ("s", ValuesAfter("<RD:Chapter>1\r\n<rd:\"sub SECTION\">s\r\n")[2]);
    EXPECT_EQ("NotSet", ValuesAfter("<RD:Chapter>1\r\n<RD:Sub Section>s\r\n")[2]);
}

TEST(Headings, BlanksBeforeTheNameAreIgnoredAfterItKept)
{
    EXPECT_EQ("x", ValuesAfter("<RD:   Book>x\r\n")[0]);
    EXPECT_EQ("NotSet", ValuesAfter("<RD:Book >x\r\n")[0]);
}

TEST(Headings, UnknownLevelChangesNothingButIsCopied)
{
    const std::string input = "<RD:Book>G\r\n<RD:Verse>1\r\n";
    const auto converted = Convert(input, BookChapterSection());
    EXPECT_EQ(input, converted.output);
    EXPECT_EQ("G", converted.levels.values[0]);
}

TEST(Headings, HeadingNotSetLeavesTheLevelUnset)
{
    RunSettings settings = BookChapterSection();
    const auto converted = Convert("<RD:Book>NotSet\r\n<RD>x", settings);
    EXPECT_EQ(0, converted.result.refCount);
}

TEST(Headings, EmptyHeadingIsAValue)
{
    const auto converted = Convert("<RD:Book>\r\n\r\n<RD>x", BookChapterSection());
    EXPECT_EQ("", converted.levels.values[0]);
    EXPECT_EQ(1, converted.result.refCount);
}

TEST(Headings, SameNameTwiceSetsTheFirst)
{
    RunSettings settings;
    settings.refPattern = "2";
    settings.levelTexts = {"Part", "Part"};
    const auto values = ValuesAfter("<RD:Part>one\r\n", settings);
    EXPECT_EQ("one", values[0]);
    EXPECT_EQ("NotSet", values[1]);
}

TEST(Headings, EmptyNameSetsTheFirstEmptyBox)
{
    RunSettings settings;
    settings.refPattern = "1 2";
    settings.levelTexts = {"Book", "", "Verse", ""};
    EXPECT_EQ("x", ValuesAfter("<RD:>x\r\n", settings)[1]);
}

// A heading longer than the longest reference is copied whole, its value
// keeps the first of it, and the cut is told with the level record's line.
TEST(Headings, LongerThanTheLongestReferenceAreCutAndCounted)
{
    const std::string longLine = "<BD+>" + std::string(300, 'g') + "<BD->";
    const std::string input = "<RD:Book>short\r\n<RD:Chapter>1\r\nx\r\n<RD:Book>" + longLine + "\r\nmore\r\n" +
                              "<RD:Chapter>" + longLine + "\r\n<RD:Book>" + std::string(100, 'b') + "\r\n";
    // Without a level in the pattern no value is kept, but the cuts are
    // counted all the same.
    for (const std::string pattern : {"", "1"}) {
        for (const std::size_t blockSize : {std::size_t{5}, kRunBlockSize}) {
            RunSettings settings = BookChapterSection();
            settings.refPattern = pattern;
            settings.longestEarlierReference = 100;
            settings.blockSize = blockSize;
            const auto converted = Convert(input, settings);
            if (pattern.empty())
                EXPECT_EQ(input, converted.output);
            else
                EXPECT_EQ(std::string(100, 'b'), converted.levels.values[0]) << blockSize;
            EXPECT_EQ(2, converted.result.findings[Finding::HeadingsCut].count) << pattern << blockSize;
            EXPECT_EQ(4, converted.result.findings[Finding::HeadingsCut].firstLine) << pattern << blockSize;
        }
    }
}

TEST(Headings, CommaFormWithBlanksAndDigits)
{
    EXPECT_EQ("4", ValuesAfter("<RD, 12 :Chapter>4\r\n")[1]);
}

}  // namespace
}  // namespace pellimar
