// Page-number markers: matching, removal, near misses, ranges and overflow.
#include <gtest/gtest.h>

#include "engine/convert.h"
#include "engine/page_marker.h"

namespace pellimar {
namespace {

using testing::Convert;
using testing::ScriptedHost;

// The matcher alone, over the bytes after the pattern's first: whether it
// matched, what it took, the page, and the byte read next. Given in pieces
// of every size, an attempt reads as given whole.
TEST(PageMarkerMatcher, MatchesTakesAndLeavesTheRest)
{
    struct Case {
        std::string pattern, input;
        bool matched;
        std::string taken;
        std::int32_t page;
    };
    const Case cases[] = {
        {"[#]", "[12] x", true, "[12]", 12},
        {"[#]", "[a]", false, "[a", 0},
        {"Page #", "Page 7\r", true, "Page 7", 7},
        {"Page #", "Pages!", false, "Pages", 0},
        {"(#).", "(7),", false, "(7),", 7},
        {"#", "#0012;", true, "#0012", 12},
        {"[#]", "[99999999999]", true, "[99999999999]", 0},
        {"[#]", "[<RD>", false, "[", 0},
        {"[#]", "[12<", false, "[12", 0},
        {"p.#", "p<x", false, "p", 0},
        {"[#]", "[12", false, "[12", 0},
        {"p#", "p12", true, "p12", 12},
        {"Page #", "Pa", false, "Pa", 0},
    };
    for (const Case& c : cases) {
        const auto* const bytes = reinterpret_cast<const std::uint8_t*>(c.input.data()) + 1;
        const std::size_t size = c.input.size() - 1;
        for (std::size_t piece = 1; piece <= size; ++piece) {
            PageMarkerMatcher marker(c.pattern);
            marker.Begin();
            std::optional<PageMarkerMatcher::Taken> taken;
            std::size_t at = 0;
            for (; !taken; at += piece) {
                const std::size_t left = size - std::min(at, size);
                taken = marker.Read({bytes + std::min(at, size), std::min(piece, left)}, piece >= left);
            }
            at -= piece;
            ASSERT_TRUE(taken) << c.input;
            EXPECT_EQ(c.matched, taken->marker) << c.input << " in pieces of " << piece;
            EXPECT_EQ(c.taken, c.input.substr(0, 1 + at + taken->length)) << c.input << " in pieces of " << piece;
            if (c.matched) {
                EXPECT_EQ(c.page, marker.Page()) << c.input;
            }
        }
    }
}

// A run whose references show only the page, so each "<RD>x" record reveals
// the page in force there.
struct PageRun {
    std::string output;
    std::vector<std::string> pages;  // the page text of each reference, in order
    int prompts = 0;
};

PageRun ConvertPages(const std::string& input, const std::string& pagePattern, bool remove, std::size_t blockSize)
{
    RunSettings settings;
    settings.refPattern = "#";
    settings.pagePattern = pagePattern;
    settings.removePageMarks = remove;
    settings.blockSize = blockSize;
    ScriptedHost host;
    host.pageAnswers = {"100"};
    const auto converted = Convert(input, settings, host);
    return {converted.output, {}, static_cast<int>(host.prompts.size())};
}

// Each input is converted in blocks of two bytes, past which every marker
// reaches, in blocks of three and seven, where a marker may begin after text
// of its block and reach past it, and after a long line that puts it well
// inside a whole percent of the input, where one block holds it: all agree.
PageRun RunPages(const std::string& input, const std::string& pagePattern, bool remove = false)
{
    PageRun run = ConvertPages(input, pagePattern, remove, 2);
    for (const std::size_t blockSize : {3, 7})
        EXPECT_EQ(run.output, ConvertPages(input, pagePattern, remove, blockSize).output) << blockSize << "-byte blocks";
    if (input.size() < 400) {
        const std::string line = std::string(50250, 'x') + "\r\n";
        const PageRun block = ConvertPages(line + input, pagePattern, remove, kRunBlockSize);
        EXPECT_EQ(line + run.output, block.output) << "in a block";
        EXPECT_EQ(run.prompts, block.prompts) << "in a block";
    }
    const std::string open = "<CS:Reference>";
    for (std::size_t at = run.output.find(open); at != std::string::npos; at = run.output.find(open, at + 1)) {
        const std::size_t start = at + open.size();
        run.pages.push_back(run.output.substr(start, run.output.find("<CR>", start) - start));
    }
    return run;
}

TEST(PageMarks, MarkerInsideALineIsKeptAndSetsARange)
{
    const auto run = RunPages("see [12] here\r\n<RD>x", "[#]");
    EXPECT_EQ("see [12] here\r\n<RD><CS:Reference>12-13<CR>\r\n</CS>x", run.output);
    EXPECT_EQ(0, run.prompts);
}

TEST(PageMarks, RemovedMarkerLeavesBothBlanks)
{
    const auto run = RunPages("see [12] here\r\n", "[#]", true);
    EXPECT_EQ("see  here\r\n", run.output);
}

TEST(PageMarks, MarkerBeforeALineBreakIsASinglePage)
{
    EXPECT_EQ((std::vector<std::string>{"12"}), RunPages("[12]\r\n<RD>x", "[#]").pages);
    EXPECT_EQ((std::vector<std::string>{"12"}), RunPages("[12]\n<RD>x", "[#]").pages);
}

TEST(PageMarks, PatternEndingWithItsHashLeavesTheNextByteToBeCopied)
{
    const auto run = RunPages("Page 12\r\n<RD>x", "Page #", true);
    EXPECT_EQ("\r\n<RD><CS:Reference>12<CR>\r\n</CS>x", run.output);
}

TEST(PageMarks, RangeIsClearedByTheReference)
{
    const auto run = RunPages("a [3] b\r\n<RD>x<RD>y", "[#]");
    EXPECT_EQ((std::vector<std::string>{"3-4", "3"}), run.pages);
}

TEST(PageMarks, NearMissIsWrittenWholeAndNotExaminedAgain)
{
    EXPECT_EQ("[a]", RunPages("[a]", "[#]", true).output);
    const auto doubled = RunPages("[[12]\r\n<RD>x", "[#]", true);
    EXPECT_EQ("[[12]\r\n<RD><CS:Reference>100<CR>\r\n</CS>x", doubled.output);
    EXPECT_EQ(1, doubled.prompts);
}

TEST(PageMarks, NearMissEndingOnACodeLeavesTheCodeToBeRead)
{
    const auto run = RunPages("[<RD>x", "[#]", true);
    EXPECT_EQ("[<RD><CS:Reference>100<CR>\r\n</CS>x", run.output);
}

TEST(PageMarks, LiteralTailMustMatchWhole)
{
    EXPECT_EQ("(7),", RunPages("(7),", "(#).", true).output);
    EXPECT_EQ("", RunPages("(7).", "(#).", true).output);
}

TEST(PageMarks, LiteralHeadMustMatchWhole)
{
    EXPECT_EQ("Pag 3", RunPages("Pag 3", "Page #", true).output);
    EXPECT_EQ("PAGE 3", RunPages("PAGE 3", "Page #", true).output);
}

TEST(PageMarks, HashAsTheFirstPatternByteIsMatchedLiterally)
{
    const auto run = RunPages("#0012\r\n<RD>x", "#");
    EXPECT_EQ((std::vector<std::string>{"12"}), run.pages);
}

TEST(PageMarks, FurtherHashesInThePatternMatchNothing)
{
    const auto run = RunPages("[12]\r\n<RD>x", "[#]#", true);
    EXPECT_EQ("\r\n<RD><CS:Reference>12<CR>\r\n</CS>x", run.output);
}

TEST(PageMarks, TooManyDigitsGiveZero)
{
    EXPECT_EQ((std::vector<std::string>{"0"}), RunPages("[99999999999]\r\n<RD>x", "[#]").pages);
    EXPECT_EQ((std::vector<std::string>{"2147483647"}), RunPages("[2147483647]\r\n<RD>x", "[#]").pages);
}

TEST(PageMarks, RangeAtTheLargestPageDoesNotOverflow)
{
    EXPECT_EQ((std::vector<std::string>{"2147483647-2147483648"}), RunPages("[2147483647] <RD>x", "[#]").pages);
}

TEST(PageMarks, IgnoredWhenTheReferenceShowsNoPage)
{
    RunSettings settings;
    settings.refPattern = "x";
    settings.pagePattern = "[#]";
    settings.removePageMarks = true;
    EXPECT_EQ("a [12] b", Convert("a [12] b", settings).output);
}

TEST(PageMarks, NotSeenInsideCodesOrHeadings)
{
    RunSettings settings;
    settings.refPattern = "1#";
    settings.pagePattern = "[#]";
    settings.levelTexts[0] = "Book";
    settings.removePageMarks = true;
    const std::string input = "<BD [4]><RD:Book>Gen [5]\r\n";
    EXPECT_EQ(input, Convert(input, settings).output);
}

TEST(PageMarks, PatternStartingWithACodeOpenerLetsTheCodeWin)
{
    const auto run = RunPages("<12>x", "<#>", true);
    EXPECT_EQ("<12>x", run.output);
}

TEST(PageMarksAtTheEnd, CompleteMarkerAsTheLastBytesIsRemoved)
{
    EXPECT_EQ("ab", RunPages("ab[12]", "[#]", true).output);
    EXPECT_EQ("ab", RunPages("abPage 12", "Page #", true).output);
}

TEST(PageMarksAtTheEnd, IncompleteMarkerIsWrittenAsItStood)
{
    EXPECT_EQ("ab[12", RunPages("ab[12", "[#]", true).output);
    EXPECT_EQ("ab[", RunPages("ab[", "[#]", true).output);
    EXPECT_EQ("abPa", RunPages("abPa", "Page #", true).output);
}

// A run of digits longer than what is held in memory: a marker is still
// removed whole, a failed attempt still written whole, and the page too
// large for 32 bits is 0.
TEST(PageMarks, DigitRunOfMegabytesIsHeldAndDecidedLikeAnyOther)
{
    const std::string digits(3'000'000, '7');
    const auto removed = RunPages("a[" + digits + "]b\r\n<RD>x", "[#]", true);
    EXPECT_EQ("ab\r\n<RD><CS:Reference>0-1<CR>\r\n</CS>x", removed.output);
    const auto failed = RunPages("a[" + digits + ")b", "[#]", true);
    EXPECT_EQ("a[" + digits + ")b", failed.output);
}

}  // namespace
}  // namespace pellimar
