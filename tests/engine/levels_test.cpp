// Level names, heading capture and the helpers behind them.
#include "engine/levels.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/convert.h"

namespace pellimar {
namespace {

using testing::Convert;

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
    };
    for (const HeadingCase& c : cases) {
        std::string value = "earlier";
        HeadingValue heading(value, c.longest);
        for (std::size_t line = 0; line < c.lines.size(); ++line) {
            if (line > 0)
                heading.StartLine();
            for (const std::string& piece : c.lines[line])
                heading.Take(piece);
            heading.EndLine();
        }
        EXPECT_EQ(c.value, value) << c.value;
        EXPECT_EQ(c.cut, heading.Cut()) << c.value;
    }
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

LevelList ValuesAfter(const std::string& input, const RunSettings& settings = BookChapterSection())
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
    settings.refPattern = "1";
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
    for (const std::size_t blockSize : {std::size_t{5}, kRunBlockSize}) {
        RunSettings settings = BookChapterSection();
        settings.refPattern = "";
        settings.longestEarlierReference = 100;
        settings.blockSize = blockSize;
        const auto converted = Convert(input, settings);
        EXPECT_EQ(input, converted.output);
        EXPECT_EQ(std::string(100, 'b'), converted.levels.values[0]) << blockSize;
        EXPECT_EQ(2, converted.result.headingsCut.count) << blockSize;
        EXPECT_EQ(4, converted.result.headingsCut.firstLine) << blockSize;
    }
}

TEST(Headings, CommaFormWithBlanksAndDigits)
{
    EXPECT_EQ("4", ValuesAfter("<RD, 12 :Chapter>4\r\n")[1]);
}

}  // namespace
}  // namespace pellimar
