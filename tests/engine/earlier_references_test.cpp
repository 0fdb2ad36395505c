// References from an earlier run: which bytes after a record code are one,
// keeping, replacing or removing them, and the round trips that make running
// twice safe.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <random>

#include "engine/convert.h"
#include "engine/earlier_reference.h"
#include "engine/level_names_line.h"
#include "engine/preview.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;
using testing::Convert;
using testing::ScriptedHost;

std::string Ref(const std::string& text, const std::string& close = "<CR>")
{
    return "<CS:Reference>" + text + close + "\r\n</CS>";
}

RunSettings Book(EarlierReferences earlier)
{
    RunSettings settings;
    settings.refPattern = "1";
    settings.levelTexts[0] = "Book";
    settings.earlierReferences = earlier;
    return settings;
}
const std::string kBook = "<RD:Book>Gen\r\n";

// One input read in each of the three ways: what each writes, how many
// earlier references the run found, and how many texts after record codes
// began like one but were none.
struct FrameCase {
    const char* name;
    std::string input;
    std::string kept;
    std::string replaced;
    std::string removed;
    int found;
    int lookAlikes;
};

void PrintTo(const FrameCase& c, std::ostream* os)
{
    *os << c.name;
}

class EarlierFrames : public ::testing::TestWithParam<FrameCase> {};

// Blocks of every size put a block's end at every place in the frames.
TEST_P(EarlierFrames, KeptReplacedAndRemoved)
{
    const FrameCase& c = GetParam();
    const std::pair<EarlierReferences, std::string> ways[] = {{EarlierReferences::Keep, c.kept},
                                                              {EarlierReferences::Replace, c.replaced},
                                                              {EarlierReferences::Remove, c.removed}};
    for (const std::size_t blockSize : {std::size_t{1}, std::size_t{2}, std::size_t{7}, std::size_t{64}, kRunBlockSize}) {
        for (const auto& [earlier, expected] : ways) {
            RunSettings settings = Book(earlier);
            settings.blockSize = blockSize;
            const auto converted = Convert(c.input, settings);
            EXPECT_EQ(expected, converted.output) << static_cast<int>(earlier) << " " << blockSize;
            EXPECT_EQ(c.found, converted.result.findings.Count(Finding::EarlierReferences))
                << static_cast<int>(earlier) << " " << blockSize;
            EXPECT_EQ(c.lookAlikes, converted.result.findings[Finding::LookAlikes].count)
                << static_cast<int>(earlier) << " " << blockSize;
        }
    }
}

// Which bytes are an earlier reference does not depend on the mode. The
// first rows hold frames; after them, texts that begin as a frame does and
// are the user's.
const std::string kOld = Ref("Old");
const std::string kR = kBook + "<RD>";
const std::string kNew = Ref("Gen");
const std::string kLong(70000, 'o');

INSTANTIATE_TEST_SUITE_P(
    Frames, EarlierFrames,
    ::testing::Values(
        FrameCase{"AfterARecordCode", kR + kOld + "Text", kR + kNew + kOld + "Text", kR + kNew + "Text", kR + "Text", 1,
                  0},
        FrameCase{"NotSearchedForm", kR + Ref("<IX->Old<IX>") + "T", kR + kNew + Ref("<IX->Old<IX>") + "T",
                  kR + kNew + "T", kR + "T", 1, 0},
        FrameCase{"HrForm", kR + Ref("Old", "<HR>") + "T", kR + kNew + Ref("Old", "<HR>") + "T", kR + kNew + "T",
                  kR + "T", 1, 0},
        FrameCase{"EmptyText", kR + Ref("") + "T", kR + kNew + Ref("") + "T", kR + kNew + "T", kR + "T", 1, 0},
        FrameCase{"CodesAndEscapedRecordCodeInTheText", kR + Ref("<BD+>Write <<RD><BD->>") + "T",
                  kR + kNew + Ref("<BD+>Write <<RD><BD->>") + "T", kR + kNew + "T", kR + "T", 1, 0},
        FrameCase{"OneAfterAnother", kR + kOld + Ref("Older") + "T", kR + kNew + kOld + Ref("Older") + "T",
                  kR + kNew + "T", kR + "T", 2, 0},
        FrameCase{"AfterEveryFormOfRecordCode", kBook + "<rd,ID:7>" + kOld + "a<RD, 5>" + kOld + "b",
                  kBook + "<rd,ID:7>" + kNew + kOld + "a<RD, 5>" + kNew + kOld + "b",
                  kBook + "<rd,ID:7>" + kNew + "a<RD, 5>" + kNew + "b", kBook + "<rd,ID:7>a<RD, 5>b", 2, 0},
        FrameCase{"BeforeARecordCode", kR + kOld + "<RD>" + kOld + "x", kR + kNew + kOld + "<RD>" + kNew + kOld + "x",
                  kR + kNew + "<RD>" + kNew + "x", kR + "<RD>x", 2, 0},
        FrameCase{"RecordEndingItsLine", kR + kOld + "\r\nT", kR + kOld + "\r\nT", kR + "\r\nT", kR + "\r\nT", 1, 0},
        FrameCase{"AtTheEnd", kR + kOld, kR + kOld, kR, kR, 1, 0},
        FrameCase{"BeforeALevelsHeading", "<RD:Book>" + kOld + "Exodus\r\n<RD>x",
                  "<RD:Book>" + kOld + "Exodus\r\n<RD>" + Ref("Exodus") + "x",
                  "<RD:Book>Exodus\r\n<RD>" + Ref("Exodus") + "x", "<RD:Book>Exodus\r\n<RD>x", 1, 0},
        FrameCase{"LevelRecordThatEndsTheInput", kBook + "<RD:Book>" + kOld, kBook + "<RD:Book>" + kOld,
                  kBook + "<RD:Book>", kBook + "<RD:Book>", 1, 0},
        FrameCase{"NotRightAfterARecordCode", kR + "T" + kOld, kR + kNew + "T" + kOld, kR + kNew + "T" + kOld,
                  kR + "T" + kOld, 0, 0},
        FrameCase{"OtherCase", kR + "<cs:Reference>Old<CR>\r\n</CS>T", kR + kNew + "<cs:Reference>Old<CR>\r\n</CS>T",
                  kR + kNew + "<cs:Reference>Old<CR>\r\n</CS>T", kR + "<cs:Reference>Old<CR>\r\n</CS>T", 0, 0},
        // A hand-typed citation, the records after it, and a real frame: only
        // the frame is one.
        FrameCase{"EndCodeInside", kR + "<CS:Reference>my citation</CS> typed\r\n<RD>more\r\n<RD>" + kOld + "T",
                  kR + kNew + "<CS:Reference>my citation</CS> typed\r\n<RD>" + kNew + "more\r\n<RD>" + kNew + kOld + "T",
                  kR + kNew + "<CS:Reference>my citation</CS> typed\r\n<RD>" + kNew + "more\r\n<RD>" + kNew + "T",
                  kR + "<CS:Reference>my citation</CS> typed\r\n<RD>more\r\n<RD>T", 1, 1},
        FrameCase{"LineBreakInside", kR + "<CS:Reference>A\r\nB<CR>\r\n</CS>T",
                  kR + kNew + "<CS:Reference>A\r\nB<CR>\r\n</CS>T", kR + kNew + "<CS:Reference>A\r\nB<CR>\r\n</CS>T",
                  kR + "<CS:Reference>A\r\nB<CR>\r\n</CS>T", 0, 1},
        FrameCase{"LineBreakInsideACode", kR + "<CS:Reference>A<BD\r\n+>B<CR>\r\n</CS>T",
                  kR + kNew + "<CS:Reference>A<BD\r\n+>B<CR>\r\n</CS>T",
                  kR + kNew + "<CS:Reference>A<BD\r\n+>B<CR>\r\n</CS>T", kR + "<CS:Reference>A<BD\r\n+>B<CR>\r\n</CS>T", 0,
                  1},
        FrameCase{"RecordCodeInside", kR + "<CS:Reference>my <rd>x<CR>\r\n</CS>T",
                  kR + kNew + "<CS:Reference>my <rd>" + kNew + "x<CR>\r\n</CS>T",
                  kR + kNew + "<CS:Reference>my <rd>" + kNew + "x<CR>\r\n</CS>T",
                  kR + "<CS:Reference>my <rd>x<CR>\r\n</CS>T", 0, 1},
        // Not read, a level record inside would leave the records after it
        // under the old heading.
        FrameCase{"LevelRecordInside", kR + "<CS:Reference>x</CS>\r\n<RD:Book>Exo\r\n<RD>" + kOld + "T",
                  kR + kNew + "<CS:Reference>x</CS>\r\n<RD:Book>Exo\r\n<RD>" + Ref("Exo") + kOld + "T",
                  kR + kNew + "<CS:Reference>x</CS>\r\n<RD:Book>Exo\r\n<RD>" + Ref("Exo") + "T",
                  kR + "<CS:Reference>x</CS>\r\n<RD:Book>Exo\r\n<RD>T", 1, 1},
        FrameCase{"OtherCodeOfTheFrameInside", kR + "<CS:Reference>a<cs:Old>b<CR>\r\n</CS>T",
                  kR + kNew + "<CS:Reference>a<cs:Old>b<CR>\r\n</CS>T",
                  kR + kNew + "<CS:Reference>a<cs:Old>b<CR>\r\n</CS>T", kR + "<CS:Reference>a<cs:Old>b<CR>\r\n</CS>T",
                  0, 1},
        // "<<CR>" is text, and "<x<CR>" one code: neither closes a frame.
        FrameCase{"CloseThatIsText", kR + "<CS:Reference>a<<CR>\r\n</CS>T",
                  kR + kNew + "<CS:Reference>a<<CR>\r\n</CS>T", kR + kNew + "<CS:Reference>a<<CR>\r\n</CS>T",
                  kR + "<CS:Reference>a<<CR>\r\n</CS>T", 0, 1},
        FrameCase{"CloseInsideAnOpenCode", kR + "<CS:Reference>a<x<CR>\r\n</CS>T",
                  kR + kNew + "<CS:Reference>a<x<CR>\r\n</CS>T", kR + kNew + "<CS:Reference>a<x<CR>\r\n</CS>T",
                  kR + "<CS:Reference>a<x<CR>\r\n</CS>T", 0, 1},
        FrameCase{"ShortCodeBeforeTheLineBreak", kR + "<CS:Reference>a<x>\r\n</CS>T",
                  kR + kNew + "<CS:Reference>a<x>\r\n</CS>T", kR + kNew + "<CS:Reference>a<x>\r\n</CS>T",
                  kR + "<CS:Reference>a<x>\r\n</CS>T", 0, 1},
        // Not Searched codes come as a pair around the whole text, or not at all.
        FrameCase{"NotSearchedOpenWithoutItsClose", kR + "<CS:Reference><IX->a<CR>\r\n</CS>T",
                  kR + kNew + "<CS:Reference><IX->a<CR>\r\n</CS>T", kR + kNew + "<CS:Reference><IX->a<CR>\r\n</CS>T",
                  kR + "<CS:Reference><IX->a<CR>\r\n</CS>T", 0, 1},
        FrameCase{"NotSearchedCloseWithoutItsOpen", kR + "<CS:Reference>a <IX->b<IX><CR>\r\n</CS>T",
                  kR + kNew + "<CS:Reference>a <IX->b<IX><CR>\r\n</CS>T",
                  kR + kNew + "<CS:Reference>a <IX->b<IX><CR>\r\n</CS>T",
                  kR + "<CS:Reference>a <IX->b<IX><CR>\r\n</CS>T", 0, 1},
        FrameCase{"OtherLineEnd", kR + "<CS:Reference>Old<CR>\n</CS>T", kR + kNew + "<CS:Reference>Old<CR>\n</CS>T",
                  kR + kNew + "<CS:Reference>Old<CR>\n</CS>T", kR + "<CS:Reference>Old<CR>\n</CS>T", 0, 1},
        FrameCase{"WithoutItsClose", kR + "<CS:Reference>Old<BR>\r\n</CS>T",
                  kR + kNew + "<CS:Reference>Old<BR>\r\n</CS>T", kR + kNew + "<CS:Reference>Old<BR>\r\n</CS>T",
                  kR + "<CS:Reference>Old<BR>\r\n</CS>T", 0, 1},
        FrameCase{"CutAtTheEnd", kR + "<CS:Reference>Old<CR>\r\n</C", kR + kNew + "<CS:Reference>Old<CR>\r\n</C",
                  kR + kNew + "<CS:Reference>Old<CR>\r\n</C", kR + "<CS:Reference>Old<CR>\r\n</C", 0, 1},
        FrameCase{"LongerThan64Kb", kR + Ref(kLong) + "T", kR + kNew + Ref(kLong) + "T", kR + kNew + Ref(kLong) + "T",
                  kR + Ref(kLong) + "T", 0, 1},
        FrameCase{"LookAlikeAfterAFrame", kR + kOld + "<CS:Reference>x\r\n", kR + kNew + kOld + "<CS:Reference>x\r\n",
                  kR + kNew + "<CS:Reference>x\r\n", kR + "<CS:Reference>x\r\n", 1, 1}),
    [](const ::testing::TestParamInfo<FrameCase>& info) { return std::string(info.param.name); });

// A level record written as a plain record code by a run without ID record
// levels: read with them, its earlier reference is not its heading.
TEST(EarlierReferences, AreNotPartOfAHeading)
{
    const std::string input = "<RD,ID:1:Book>" + kOld + "Gen\r\n<RD,ID:2>x";
    ScriptedHost host;
    host.switches.Set(RunSwitch::IdRecords, true);
    const auto converted = Convert(input, Book(EarlierReferences::Replace), host);
    EXPECT_EQ("<RD,ID:1:Book>Gen\r\n<RD,ID:2>" + Ref("Gen") + "x", converted.output);
    EXPECT_EQ("Gen", converted.levels.values[0]);
}

TEST(EarlierReferences, MarkersInsideThemAreNotSeen)
{
    RunSettings settings = Book(EarlierReferences::Keep);
    settings.refPattern = "1 #";
    settings.pagePattern = "p#";
    settings.removePageMarks = true;
    ScriptedHost host;
    host.pageAnswers = {"7"};
    const auto converted = Convert(kBook + "<RD>" + Ref("Gen p12") + "x", settings, host);
    EXPECT_EQ(kBook + "<RD>" + Ref("Gen 7") + Ref("Gen p12") + "x", converted.output);
}

TEST(EarlierReferences, LeftJustOnlyLooksAtTheCodeAfterThem)
{
    ScriptedHost host;
    host.switches.Set(RunSwitch::LeftJustOnly, true);
    const auto justified = Convert(kBook + "<RD>" + kOld + "<JU:CN>x", Book(EarlierReferences::Replace), host);
    EXPECT_EQ(kBook + "<RD><JU:CN>x", justified.output);
    const auto plain = Convert(kBook + "<RD>" + kOld + "<BD+>x", Book(EarlierReferences::Replace), host);
    EXPECT_EQ(kBook + "<RD>" + Ref("Gen") + "<BD+>x", plain.output);
}

// Removing needs no pattern, levels or page: none is asked for or written.
TEST(EarlierReferences, RemovingWritesNoneWhateverThePattern)
{
    RunSettings settings = Book(EarlierReferences::Remove);
    settings.refPattern = "1 #";
    settings.pagePattern = "[#]";
    settings.removePageMarks = true;
    ScriptedHost host;
    const auto converted = Convert(kBook + "<RD>" + kOld + "[3]x<RD>y", settings, host);
    EXPECT_EQ(kBook + "<RD>[3]x<RD>y", converted.output);
    EXPECT_EQ(0, converted.result.refCount);
    EXPECT_TRUE(host.prompts.empty());
}

// The bytes at hand may end anywhere in a frame: what they cannot tell yet
// is left open, and nothing past them is looked at.
TEST(ReadFrame, TellsWhatTheBytesAtHandCanTell)
{
    const std::pair<std::string, std::optional<EarlierFrame>> cases[] = {
        {"<CS:Reference>a<CR>\r\n</CS>", EarlierFrame::Found},
        {"<CS:Reference>a<CR>\r\n</C", std::nullopt},
        {"<CS:Reference>a<CR>\r\n</X", EarlierFrame::LookAlike},
        {"<CS:Reference><>\r", EarlierFrame::LookAlike},
        {"<CS:Reference>a<x>\r", EarlierFrame::LookAlike},
        {"<CS:Reference>a<R", std::nullopt},
        {"<CS:Reference>a<RD", EarlierFrame::LookAlike},
        {"<CS:Refer", std::nullopt},
        {"<CS:Referenze>", EarlierFrame::None},
    };
    for (const auto& [text, kind] : cases) {
        // Exactly as long as the text, so that a look past it is a fault.
        const std::vector<std::uint8_t> bytes(text.begin(), text.end());
        const std::optional<EarlierFrameMatch> match = ReadFrame(bytes);
        EXPECT_EQ(kind.has_value(), match.has_value()) << text;
        if (kind && match) {
            EXPECT_EQ(*kind, match->kind) << text;
        }
    }
}

// No frame is longer than the longest reference: one that would be is the
// user's text, and kept.
TEST(EarlierReferences, LongerThanTheLongestAreLookAlikes)
{
    const std::string longOld = Ref(std::string(200, 'o'));
    for (const std::size_t longest : {longOld.size(), longOld.size() - 1}) {
        RunSettings settings = Book(EarlierReferences::Replace);
        settings.longestEarlierReference = longest;
        const auto converted = Convert(kBook + "<RD>" + longOld + "x", settings);
        const bool fits = longest == longOld.size();
        EXPECT_EQ(kBook + "<RD>" + Ref("Gen") + (fits ? "" : longOld) + "x", converted.output) << longest;
        EXPECT_EQ(fits ? 1 : 0, converted.result.findings.Count(Finding::EarlierReferences));
        EXPECT_EQ(fits ? 0 : 1, converted.result.findings[Finding::LookAlikes].count);
    }
}

// The note gives the line of the first look-alike, however the blocks fall.
TEST(EarlierReferences, LookAlikesAreCountedWithTheLineOfTheFirst)
{
    const std::string input = "<RD:Book>Genesis\r\n<RD><CS:Reference>Genesis<CR>\r\n</CS>Text 1\r\n"
                              "<RD><CS:Reference>my citation</CS> Text typed by hand\r\n<RD>another record\r\n"
                              "<RD><CS:Reference>x\r\n<RD><CS:Reference>Genesis<CR>\r\n</CS>Text 2\r\n";
    for (const std::size_t blockSize : {std::size_t{3}, std::size_t{70}, kRunBlockSize}) {
        RunSettings settings = Book(EarlierReferences::Remove);
        settings.blockSize = blockSize;
        const auto converted = Convert(input, settings);
        EXPECT_EQ(2, converted.result.findings[Finding::LookAlikes].count) << blockSize;
        EXPECT_EQ(4, converted.result.findings[Finding::LookAlikes].firstLine) << blockSize;
        EXPECT_EQ(2, converted.result.findings.Count(Finding::EarlierReferences)) << blockSize;
    }
}

// A frame longer than a run's block, at every place against the block's
// boundaries.
TEST(EarlierReferences, FoundAcrossBlocksOfAnySize)
{
    const std::string old = Ref(std::string(300, 'o'));
    std::string input = kBook;
    std::string expected = kBook;
    for (int i = 0; i < 40; ++i) {
        input += "<RD>" + old + std::string(static_cast<std::size_t>(i) + 1, 'x') + "\r\n";
        expected += "<RD>" + Ref("Gen") + std::string(static_cast<std::size_t>(i) + 1, 'x') + "\r\n";
    }
    for (const std::size_t blockSize : {1, 2, 7, 64, 301, 8192}) {
        RunSettings settings = Book(EarlierReferences::Replace);
        settings.blockSize = blockSize;
        const auto converted = Convert(input, settings);
        EXPECT_EQ(expected, converted.output) << blockSize;
        EXPECT_EQ(40, converted.result.findings.Count(Finding::EarlierReferences)) << blockSize;
    }
}

// Each "<CS:Reference>" ends at the next record code, so each is looked at
// once, however small the blocks.
TEST(EarlierReferences, UnendedOnesOneAfterAnotherAreEachALookAlike)
{
    std::string input = kBook;
    for (int i = 0; i < 2000; ++i)
        input += "<RD><CS:Reference>";
    RunSettings settings = Book(EarlierReferences::Replace);
    settings.longestEarlierReference = 4096;
    settings.blockSize = 3;
    const auto converted = Convert(input, settings);
    EXPECT_EQ(2000, converted.result.findings[Finding::LookAlikes].count);
    EXPECT_EQ(2, converted.result.findings[Finding::LookAlikes].firstLine);
    EXPECT_EQ(2000, converted.result.refCount);
}

// The preview finds them as the run does, in the part it read.
TEST(EarlierReferences, PreviewCountsThoseItRead)
{
    testing::TempDir dir;
    RunSettings settings = Book(EarlierReferences::Replace);
    settings.inputPath = dir.File("in.fff");
    std::string input = kBook;
    for (int i = 0; i < 10; ++i)
        input += "<RD>" + Ref("Old " + std::to_string(i)) + "x\r\n";
    testing::WriteFileBytes(settings.inputPath, input);
    ScriptedHost host;
    LevelLists levels;
    const PreviewResult preview = RunPreview(settings, host, levels, 3);
    ASSERT_EQ(3u, preview.references.size());
    EXPECT_EQ("Gen", preview.references[0].text);
    EXPECT_EQ("x", preview.references[0].recordStart);
    EXPECT_EQ(3, preview.findings.Count(Finding::EarlierReferences));
}

// Converting twice: A to B, then B again with its references replaced, with
// the same options or others, or removed.
struct Options {
    RunSettings settings;
    bool idRecords = false;
    bool leftJustOnly = false;
    bool useHR = false;
};

// The input is made when the test runs, not when the cases are listed.
struct RoundTrip {
    const char* name;
    std::function<std::string()> input;
    Options first;
    Options second;
};

void PrintTo(const RoundTrip& c, std::ostream* os)
{
    *os << c.name;
}

testing::Converted ConvertWith(const std::string& input, const Options& options, EarlierReferences earlier)
{
    ScriptedHost host;
    host.switches.Set(RunSwitch::IdRecords, options.idRecords);
    host.switches.Set(RunSwitch::LeftJustOnly, options.leftJustOnly);
    host.switches.Set(RunSwitch::UseHR, options.useHR);
    host.pageAnswers = {"5"};
    RunSettings settings = options.settings;
    settings.earlierReferences = earlier;
    return Convert(input, settings, host);
}

// Files of megabytes: where they part, rather than a diff of them whole.
::testing::AssertionResult SameBytes(const std::string& expected, const std::string& actual)
{
    if (expected == actual)
        return ::testing::AssertionSuccess();
    const auto parted = std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end());
    const auto at = static_cast<std::size_t>(parted.first - expected.begin());
    const std::size_t from = at < 40 ? 0 : at - 40;
    return ::testing::AssertionFailure() << "sizes " << expected.size() << " and " << actual.size()
                                         << ", first difference at byte " << at << ": expected ..."
                                         << expected.substr(from, 100) << "... got ..." << actual.substr(from, 100);
}

void CheckRoundTrips(const RoundTrip& c)
{
    SCOPED_TRACE(c.name);
    const std::string input = c.input();
    const auto b = ConvertWith(input, c.first, EarlierReferences::Keep);
    ASSERT_GT(b.result.refCount, 0);
    EXPECT_EQ(0, b.result.findings.Count(Finding::EarlierReferences));

    const auto again = ConvertWith(b.output, c.first, EarlierReferences::Replace);
    EXPECT_TRUE(SameBytes(b.output, again.output));
    EXPECT_EQ(b.result.refCount, again.result.findings.Count(Finding::EarlierReferences));
    EXPECT_EQ(b.result.refCount, again.result.refCount);

    const auto other = ConvertWith(b.output, c.second, EarlierReferences::Replace);
    const auto direct = ConvertWith(input, c.second, EarlierReferences::Keep);
    EXPECT_TRUE(SameBytes(direct.output, other.output));
    EXPECT_EQ(b.result.refCount, other.result.findings.Count(Finding::EarlierReferences));

    Options removing;
    removing.idRecords = c.first.idRecords;
    const auto removed = ConvertWith(b.output, removing, EarlierReferences::Remove);
    EXPECT_TRUE(SameBytes(input, removed.output));
    EXPECT_EQ(b.result.refCount, removed.result.findings.Count(Finding::EarlierReferences));

    const auto twice = ConvertWith(b.output, c.first, EarlierReferences::Keep);
    EXPECT_EQ(b.result.refCount, twice.result.findings.Count(Finding::EarlierReferences));
    EXPECT_EQ(
        b.result.refCount * 2,
        ConvertWith(twice.output, c.first, EarlierReferences::Keep).result.findings.Count(Finding::EarlierReferences));
}

class RoundTrips : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(RoundTrips, HoldByteForByte)
{
    CheckRoundTrips(GetParam());
}

// The level names of the samples' definition files.
Options Sample(std::string refPattern, std::string pagePattern = "")
{
    Options options;
    options.settings.refPattern = std::move(refPattern);
    options.settings.pagePattern = std::move(pagePattern);
    options.settings.levelTexts = {"Testament", "Book Name", "Chapter"};
    return options;
}

Options SampleIds(std::string refPattern, bool idRecords, std::string pagePattern = "[#]")
{
    Options options;
    options.settings.refPattern = std::move(refPattern);
    options.settings.pagePattern = std::move(pagePattern);
    options.idRecords = idRecords;
    options.settings.levelTexts = {"Document", "Article", "Section Number"};
    return options;
}

template <typename Change>
Options With(Options options, Change change)
{
    change(options);
    return options;
}

std::function<std::string()> Resource(const char* name)
{
    return [name] { return testing::ReadFileBytes((fs::path(PELLIMAR_RESOURCES) / name).string()); };
}

// Level records, record codes of every kind, markers inside and at the end
// of lines, codes over line ends, "<<" and justified records, in a mix
// drawn the same each time.
std::string GeneratedFile(unsigned seed)
{
    std::mt19937 draw(seed);
    const char* const pieces[] = {"<RD:Book>B{}\r\n",  "<RD:Chapter>{}\r\n", "<RD>text {}\r\n", "<RD><JU:CN>c{}\r\n",
                                  "<RD><RD>t{}\r\n",   "<RD,ID:{}:Chapter>h\r\n", "<RD,ID:{}>i\r\n", "[{}]",
                                  "<RD>m[{}] n\r\n",   "<RD><< {}\r\n",      "<BD+\r\n>{}",       "<RD>\r\n{}\r\n",
                                  "<RD:Chapter>{}\r\nmore\r\n", "<RD><PS:Body>p{}\r\n"};
    std::string file;
    for (int i = 0; i < 300; ++i) {
        std::string piece = pieces[draw() % std::size(pieces)];
        piece.replace(piece.find("{}"), 2, std::to_string(draw() % 50));
        file += piece;
    }
    return file;
}

std::function<std::string()> GeneratedInput(unsigned seed)
{
    return [seed] { return GeneratedFile(seed); };
}

Options Generated(std::string refPattern, std::string pagePattern = "")
{
    Options options;
    options.settings.refPattern = std::move(refPattern);
    options.settings.pagePattern = std::move(pagePattern);
    options.settings.levelTexts[0] = "Book";
    options.settings.levelTexts[1] = "Chapter";
    return options;
}

INSTANTIATE_TEST_SUITE_P(
    Files, RoundTrips,
    ::testing::Values(
        RoundTrip{"Sample", Resource("sample.fff"),
                  With(Sample("2 3, p. #", "[#]"), [](Options& o) { o.settings.notSearched = true; }),
                  With(Sample("1 2 3"), [](Options& o) { o.useHR = o.leftJustOnly = true; })},
        RoundTrip{"SampleOtherWay", Resource("sample.fff"), With(Sample("3"), [](Options& o) { o.leftJustOnly = true; }),
                  With(Sample("2 3, p. #", "[#]"), [](Options& o) { o.settings.removePageMarks = true; })},
        RoundTrip{"SampleWithIds", Resource("sample-ids.fff"), SampleIds("3 4", true),
                  With(SampleIds("2, #", true), [](Options& o) { o.settings.notSearched = true; })},
        RoundTrip{"SampleIdsReadThenNot", Resource("sample-ids.fff"), SampleIds("#", true), SampleIds("# 1", false)},
        RoundTrip{"SampleIdsNotThenRead", Resource("sample-ids.fff"), SampleIds("#", false), SampleIds("3 4", true)},
        RoundTrip{"Generated", GeneratedInput(1), Generated("1 2, p. #", "[#]"), Generated("2 1")},
        RoundTrip{"GeneratedOtherWay", GeneratedInput(2), Generated("2"),
                  With(Generated("1 #", "[#]"), [](Options& o) {
                      o.settings.removePageMarks = true;
                      o.leftJustOnly = true;
                  })},
        RoundTrip{"GeneratedIdsReadThenNot", GeneratedInput(3),
                  With(Generated("1 2 #", "[#]"), [](Options& o) { o.idRecords = true; }), Generated("#", "[#]")}),
    [](const ::testing::TestParamInfo<RoundTrip>& info) { return std::string(info.param.name); });

// The help file of Folio itself, where it is at hand: level records with
// IDs, read with them and without.
TEST(RoundTrips, HoldOnFoliosHelpFile)
{
    const fs::path shared = testing::SharedDataDir();
    if (shared.empty())
        GTEST_SKIP() << "shared sample files are not present";
    const std::function<std::string()> help = [&] {
        return testing::ReadFileBytes((shared / "FolioHlp.FFF").string());
    };
    Options withIds;
    withIds.idRecords = true;
    const std::string definitions = testing::ReadFileBytes((shared / "FolioHlp.DEF").string());
    const std::size_t line = definitions.find("<LN:");
    const std::vector<std::string> names =
        ParseLevelNamesLine(std::string_view(definitions).substr(line, definitions.find('\n', line) - line));
    ASSERT_GE(names.size(), std::size_t{kLevelCount});
    std::copy(names.begin(), names.begin() + kLevelCount, withIds.settings.levelTexts.begin());
    withIds.settings.refPattern = "2 / 3";
    Options without = With(withIds, [](Options& o) {
        o.idRecords = false;
        o.settings.refPattern = "Ref";
    });
    CheckRoundTrips({"WithIdsThenWithout", help, withIds, without});
    CheckRoundTrips({"WithoutIdsThenWith", help, without, withIds});
}

}  // namespace
}  // namespace pellimar
