// References: when they are due, how the pattern is filled in, the frame
// around them and the starting-page question.
#include <gtest/gtest.h>

#include "engine/convert.h"
#include "engine/levels.h"
#include "engine/reference_writer.h"

namespace pellimar {
namespace {

using testing::Convert;
using testing::ScriptedHost;

// Levels Book, Chapter, Verse; the input sets Book and Chapter, then holds
// one record.
RunSettings Scripture(const std::string& refPattern)
{
    RunSettings settings;
    settings.refPattern = refPattern;
    settings.pagePattern = "[#]";
    settings.levelTexts = {"Book", "Chapter", "Verse"};
    return settings;
}
const std::string kGenesis3 = "[12]\r\n<RD:Book>Genesis\r\n<RD:Chapter>3\r\n";

std::string ReferenceOf(const std::string& input, const RunSettings& settings, ScriptedHost& host)
{
    const std::string output = Convert(input + "<RD>x", settings, host).output;
    const std::size_t at = output.rfind("<RD>");
    return output.substr(at + 4, output.size() - at - 5);
}

std::string ReferenceOf(const std::string& input, const RunSettings& settings)
{
    ScriptedHost host;
    return ReferenceOf(input, settings, host);
}

// Written alone: the text apart from its frame, whatever the switches.
TEST(ReferenceWriter, GivesTheTextAndItsFrameApart)
{
    LevelLists levels;
    levels.values = {"Genesis", "3", kNotSet, kNotSet, kNotSet, kNotSet, kNotSet};
    const ReferencePattern pattern("1 2:# #");
    ReferenceWriter plain(pattern, false);
    EXPECT_EQ("<CS:Reference>Genesis 3:12 <CR>\r\n</CS>",
              plain.Reference(SourcesOf(levels, pattern, 12, false, false)));
    EXPECT_EQ("Genesis 3:12 ", plain.Text());
    ReferenceWriter wrapped(pattern, true);
    EXPECT_EQ("<CS:Reference><IX->Genesis 3:12-13 <IX><HR>\r\n</CS>",
              wrapped.Reference(SourcesOf(levels, pattern, 12, true, true)));
    EXPECT_EQ("Genesis 3:12-13 ", wrapped.Text());
}

// The reference kept from the record before is written again only for the
// same sources: any one of them changed gives the text it makes.
TEST(ReferenceWriter, KeptReferenceServesOnlyTheSameSources)
{
    LevelLists levels;
    levels.values = {"Genesis", "3", kNotSet, kNotSet, kNotSet, kNotSet, kNotSet};
    const ReferencePattern pattern("1 2:#");
    ReferenceWriter writer(pattern, false);
    EXPECT_EQ("Genesis 3:12", (writer.Reference(SourcesOf(levels, pattern, 12, false, false)), writer.Text()));
    EXPECT_EQ("Genesis 3:13", (writer.Reference(SourcesOf(levels, pattern, 13, false, false)), writer.Text()));
    EXPECT_EQ("Genesis 3:13-14", (writer.Reference(SourcesOf(levels, pattern, 13, true, false)), writer.Text()));
    levels.values[1] = "4";
    levels.Changed(1);
    EXPECT_EQ("Genesis 4:13", (writer.Reference(SourcesOf(levels, pattern, 13, false, false)), writer.Text()));
    EXPECT_EQ("<CS:Reference>Genesis 4:13<HR>\r\n</CS>",
              writer.Reference(SourcesOf(levels, pattern, 13, false, true)));
    levels.values[0] = "Exodus";
    levels.Changed(0);
    EXPECT_EQ("Exodus 4:13", (writer.Reference(SourcesOf(levels, pattern, 13, false, false)), writer.Text()));
}

// A heading of any of the seven levels makes the kept reference of a
// pattern that shows that level out of date.
TEST(ReferenceWriter, KeptReferenceIsMadeAgainForAHeadingOfEachLevelItShows)
{
    for (int level = 0; level < kLevelCount; ++level) {
        LevelLists levels;
        levels.values.fill("old");
        const ReferencePattern pattern(std::string(1, static_cast<char>('1' + level)));
        ReferenceWriter writer(pattern, false);
        writer.Reference(SourcesOf(levels, pattern, 1, false, false));
        StartLevelValue(levels, level) = "new";
        EXPECT_EQ("new", (writer.Reference(SourcesOf(levels, pattern, 1, false, false)), writer.Text()))
            << "level " << level + 1;
    }
}

// However the page changes, the kept reference is the one a new writer
// makes: with the page inside the text, partly or wholly cut off, or not in
// the pattern.
TEST(ReferenceWriter, KeptReferenceFollowsThePageWhereverTheCutFalls)
{
    LevelLists levels;
    levels.values = {std::string(30, 'G'), "3", kNotSet, kNotSet, kNotSet, kNotSet, kNotSet};
    struct Page {
        std::int32_t number;
        bool midLine;
    };
    const Page pages[] = {{12, false}, {13, false}, {13, true}, {99, false}, {100, false}, {7, false}};
    for (const char* text : {"1 2:#", "#: 1 2", "1 2", "1 <BD+>#<BD-> 2"}) {
        const ReferencePattern pattern(text);
        for (const std::size_t longest : {40u, 60u, 200u}) {
            ReferenceWriter kept(pattern, false, longest);
            for (const Page page : pages) {
                const ReferenceSources sources = SourcesOf(levels, pattern, page.number, page.midLine, false);
                ReferenceWriter fresh(pattern, false, longest);
                EXPECT_EQ(fresh.Reference(sources), kept.Reference(sources)) << text << ", " << longest;
                EXPECT_EQ(fresh.Cut(), kept.Cut()) << text << ", " << longest << ", page " << page.number;
                EXPECT_EQ(fresh.Text(), kept.Text()) << text << ", " << longest << ", page " << page.number;
            }
        }
    }
}

TEST(CutPoint, SplitsNeitherAnEscapeNorACode)
{
    EXPECT_EQ(4u, CutPoint("abcdef", 4));
    EXPECT_EQ(2u, CutPoint("ab<<cd", 3));
    EXPECT_EQ(4u, CutPoint("ab<<cd", 4));
    EXPECT_EQ(2u, CutPoint("ab<BD+>cd", 6));
    EXPECT_EQ(7u, CutPoint("ab<BD+>cd", 7));
    EXPECT_EQ(1u, CutPoint("a<x", 2));
    EXPECT_EQ(3u, CutPoint("abc", 5));
}

// A reference longer than the longest a later run recognises has its text
// cut to fit, and a later run takes it back.
TEST(ReferenceText, LongerThanTheLongestIsCutAndRecognisedAgain)
{
    RunSettings settings = Scripture("<BD+>1<BD-> 2:#");
    // The text would be 55 bytes; 48 are left beside the frame's codes, and
    // the "<BD->" that would end at 50 is left out whole.
    settings.longestEarlierReference = 73;
    const std::string input = "[12]\r\n<RD:Book>" + std::string(40, 'G') + "\r\n<RD:Chapter>3\r\n<RD>x\r\n<RD>y";
    const auto first = Convert(input, settings);
    const std::string cut = "<CS:Reference><BD+>" + std::string(40, 'G') + "<CR>\r\n</CS>";
    EXPECT_NE(std::string::npos, first.output.find("<RD>" + cut + "x"));
    EXPECT_EQ(2, first.result.findings[Finding::ReferencesCut].count);
    EXPECT_EQ(4, first.result.findings[Finding::ReferencesCut].firstLine);

    settings.earlierReferences = EarlierReferences::Remove;
    const auto removed = Convert(first.output, settings);
    EXPECT_EQ(input, removed.output);
    EXPECT_EQ(2, removed.result.findings.Count(Finding::EarlierReferences));
}

TEST(ReferenceText, FillsLevelsAndPage)
{
    EXPECT_EQ("<CS:Reference>Genesis 3:12<CR>\r\n</CS>", ReferenceOf(kGenesis3, Scripture("1 2:#")));
}

TEST(ReferenceText, UnsetLevelDropsTheLiteralBeforeIt)
{
    const std::string input = "[12]\r\n<RD:Book>Genesis\r\n";
    EXPECT_EQ("<CS:Reference>Genesis:12<CR>\r\n</CS>", ReferenceOf(input, Scripture("1 2:#")));
}

TEST(ReferenceText, NotSearchedWrapsTheText)
{
    auto settings = Scripture("1 2:#");
    settings.notSearched = true;
    EXPECT_EQ("<CS:Reference><IX->Genesis 3:12<IX><CR>\r\n</CS>", ReferenceOf(kGenesis3, settings));
}

TEST(ReferenceText, UseHrEndsWithHr)
{
    ScriptedHost host;
    host.switches.Set(RunSwitch::UseHR, true);
    EXPECT_EQ("<CS:Reference>Genesis<HR>\r\n</CS>", ReferenceOf(kGenesis3, Scripture("1"), host));
}

TEST(ReferenceText, PageIsWrittenOnceTheLiteralsAround)
{
    EXPECT_EQ("<CS:Reference>Genesis 12 <CR>\r\n</CS>", ReferenceOf(kGenesis3, Scripture("1 # #")));
}

TEST(ReferenceText, DigitsOutsideOneToSevenAndTrailingTextAreLiteral)
{
    EXPECT_EQ("<CS:Reference>0Genesis 89, end<CR>\r\n</CS>", ReferenceOf(kGenesis3, Scripture("01 89, end")));
}

TEST(ReferenceText, MidLineMarkerMakesARange)
{
    const std::string input = "<RD:Book>Genesis\r\n\r\ntext [12] text\r\n";
    EXPECT_EQ("<CS:Reference>Genesis, p. 12-13<CR>\r\n</CS>", ReferenceOf(input, Scripture("1, p. #")));
}

TEST(ReferenceText, EachReferenceShowsWhatIsInForceAtItsRecord)
{
    const std::string input = "[1]\r\n<RD:Book>Gen\r\n<RD:Chapter>1\r\n<RD>a<RD>b\r\n[2]\r\n<RD>c"
                              "<RD:Chapter>2\r\n<RD>d\r\nx [3] y\r\n<RD>e<RD>f<RD:Book>Ex\r\nodus\r\n<RD>g";
    const std::string output = Convert(input, Scripture("1 2:#")).output;
    std::vector<std::string> texts;
    const std::string open = "<CS:Reference>";
    for (std::size_t at = output.find(open); at != std::string::npos; at = output.find(open, at + 1))
        texts.push_back(output.substr(at + open.size(), output.find("<CR>", at) - at - open.size()));
    EXPECT_EQ((std::vector<std::string>{"Gen 1:1", "Gen 1:1", "Gen 1:2", "Gen 2:2", "Gen 2:3-4", "Gen 2:3",
                                        "Ex odus:3"}),
              texts);
}

TEST(ReferenceDue, NotBeforeTheFirstPatternLevelHasAValue)
{
    const auto converted = Convert("<RD>a<RD:Book>Genesis\r\n<RD>b", Scripture("1, p. #"));
    EXPECT_EQ(1, converted.result.refCount);
    EXPECT_EQ(0u, converted.output.find("<RD>a<RD:Book>"));
}

TEST(ReferenceDue, FollowsTheFirstLevelDigitOfThePattern)
{
    const auto settings = Scripture("2 #");
    EXPECT_EQ(0, Convert("<RD:Book>Genesis\r\n<RD>x", settings).result.refCount);
    EXPECT_EQ(1, Convert(kGenesis3 + "<RD>x", settings).result.refCount);
}

TEST(ReferenceDue, StopsWhileTheLevelIsUnsetAgain)
{
    const auto settings = Scripture("2");
    const auto converted = Convert(kGenesis3 + "<RD>x<RD:Book>Exodus\r\n<RD>y", settings);
    EXPECT_EQ(1, converted.result.refCount);
}

TEST(ReferenceDue, PatternWithoutALevelIsAlwaysDue)
{
    RunSettings settings;
    settings.refPattern = "p. #";
    settings.pagePattern = "[#]";
    const auto converted = Convert("[4]\r\n<RD>x<RD>y", settings);
    EXPECT_EQ(2, converted.result.refCount);
    EXPECT_EQ("[4]\r\n<RD><CS:Reference>p. 4<CR>\r\n</CS>x<RD><CS:Reference>p. 4<CR>\r\n</CS>y", converted.output);
}

TEST(StartingPage, AskedOnceAtTheFirstReferenceThatShowsThePage)
{
    ScriptedHost host;
    host.pageAnswers = {"  +42"};
    const auto converted = Convert("<RD:Book>G\r\n<RD>a<RD>b", Scripture("1 #"), host);
    ASSERT_EQ(1u, host.prompts.size());
    EXPECT_EQ("Input Page Number", host.prompts[0].title);
    EXPECT_EQ("Please enter a starting page number:", host.prompts[0].prompt);
    EXPECT_EQ("1", host.prompts[0].defaultText);
    EXPECT_NE(std::string::npos, converted.output.find("<RD><CS:Reference>G 42<CR>\r\n</CS>b"));
}

TEST(StartingPage, AskedAgainAfterMinusOne)
{
    ScriptedHost host;
    host.pageAnswers = {"-1", "7"};
    const auto converted = Convert("<RD:Book>G\r\n<RD>a<RD>b<RD>c", Scripture("1 #"), host);
    EXPECT_EQ(2u, host.prompts.size());
    EXPECT_NE(std::string::npos, converted.output.find("G -1<CR>"));
    EXPECT_NE(std::string::npos, converted.output.find("<RD><CS:Reference>G 7<CR>\r\n</CS>c"));
}

TEST(StartingPage, CancelledOrUnreadableAnswerGivesOne)
{
    ScriptedHost cancelled;
    EXPECT_EQ("<CS:Reference>G 1<CR>\r\n</CS>", ReferenceOf("<RD:Book>G\r\n", Scripture("1 #"), cancelled));
    ScriptedHost unreadable;
    unreadable.pageAnswers = {"12a"};
    EXPECT_EQ("<CS:Reference>G 1<CR>\r\n</CS>", ReferenceOf("<RD:Book>G\r\n", Scripture("1 #"), unreadable));
}

}  // namespace
}  // namespace pellimar
