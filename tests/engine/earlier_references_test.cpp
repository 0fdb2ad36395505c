// References from an earlier run: which bytes after a record code are one,
// keeping, replacing or removing them, and the round trips that make running
// twice safe.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <random>

#include "engine/convert.h"
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

// One input read in each of the three ways: what each writes, and how many
// earlier references the run found.
struct FrameCase {
    const char* name;
    std::string input;
    std::string kept;
    std::string replaced;
    std::string removed;
    int found;
};

void PrintTo(const FrameCase& c, std::ostream* os)
{
    *os << c.name;
}

class EarlierFrames : public ::testing::TestWithParam<FrameCase> {};

TEST_P(EarlierFrames, KeptReplacedAndRemoved)
{
    const FrameCase& c = GetParam();
    const std::pair<EarlierReferences, std::string> ways[] = {{EarlierReferences::Keep, c.kept},
                                                              {EarlierReferences::Replace, c.replaced},
                                                              {EarlierReferences::Remove, c.removed}};
    for (const auto& [earlier, expected] : ways) {
        const auto converted = Convert(c.input, Book(earlier));
        EXPECT_EQ(expected, converted.output) << static_cast<int>(earlier);
        EXPECT_EQ(c.found, converted.result.earlierReferences) << static_cast<int>(earlier);
        EXPECT_EQ(0, converted.result.earlierReferencesTooLong);
    }
}

// Which bytes are an earlier reference does not depend on the mode: the
// same frame in every row but the last few, where it is not one.
const std::string kOld = Ref("Old");

INSTANTIATE_TEST_SUITE_P(
    Frames, EarlierFrames,
    ::testing::Values(
        FrameCase{"AfterARecordCode", kBook + "<RD>" + kOld + "Text", kBook + "<RD>" + Ref("Gen") + kOld + "Text",
                  kBook + "<RD>" + Ref("Gen") + "Text", kBook + "<RD>Text", 1},
        FrameCase{"NotSearchedForm", kBook + "<RD>" + Ref("<IX->Old<IX>") + "T",
                  kBook + "<RD>" + Ref("Gen") + Ref("<IX->Old<IX>") + "T", kBook + "<RD>" + Ref("Gen") + "T",
                  kBook + "<RD>T", 1},
        FrameCase{"HrForm", kBook + "<RD>" + Ref("Old", "<HR>") + "T",
                  kBook + "<RD>" + Ref("Gen") + Ref("Old", "<HR>") + "T", kBook + "<RD>" + Ref("Gen") + "T",
                  kBook + "<RD>T", 1},
        FrameCase{"EmptyText", kBook + "<RD>" + Ref("") + "T", kBook + "<RD>" + Ref("Gen") + Ref("") + "T",
                  kBook + "<RD>" + Ref("Gen") + "T", kBook + "<RD>T", 1},
        FrameCase{"OneAfterAnother", kBook + "<RD>" + kOld + Ref("Older") + "T",
                  kBook + "<RD>" + Ref("Gen") + kOld + Ref("Older") + "T", kBook + "<RD>" + Ref("Gen") + "T",
                  kBook + "<RD>T", 2},
        FrameCase{"AfterEveryFormOfRecordCode", kBook + "<rd,ID:7>" + kOld + "a<RD, 5>" + kOld + "b",
                  kBook + "<rd,ID:7>" + Ref("Gen") + kOld + "a<RD, 5>" + Ref("Gen") + kOld + "b",
                  kBook + "<rd,ID:7>" + Ref("Gen") + "a<RD, 5>" + Ref("Gen") + "b", kBook + "<rd,ID:7>a<RD, 5>b", 2},
        FrameCase{"BeforeARecordCode", kBook + "<RD>" + kOld + "<RD>" + kOld + "x",
                  kBook + "<RD>" + Ref("Gen") + kOld + "<RD>" + Ref("Gen") + kOld + "x",
                  kBook + "<RD>" + Ref("Gen") + "<RD>" + Ref("Gen") + "x", kBook + "<RD><RD>x", 2},
        FrameCase{"RecordEndingItsLine", kBook + "<RD>" + kOld + "\r\nT", kBook + "<RD>" + kOld + "\r\nT",
                  kBook + "<RD>\r\nT", kBook + "<RD>\r\nT", 1},
        FrameCase{"AtTheEnd", kBook + "<RD>" + kOld, kBook + "<RD>" + kOld, kBook + "<RD>", kBook + "<RD>", 1},
        FrameCase{"BeforeALevelsHeading", "<RD:Book>" + kOld + "Exodus\r\n<RD>x",
                  "<RD:Book>" + kOld + "Exodus\r\n<RD>" + Ref("Exodus") + "x",
                  "<RD:Book>Exodus\r\n<RD>" + Ref("Exodus") + "x", "<RD:Book>Exodus\r\n<RD>x", 1},
        FrameCase{"LevelRecordThatEndsTheInput", kBook + "<RD:Book>" + kOld, kBook + "<RD:Book>" + kOld,
                  kBook + "<RD:Book>", kBook + "<RD:Book>", 1},
        FrameCase{"OtherLineEnd", kBook + "<RD><CS:Reference>Old<CR>\n</CS>T",
                  kBook + "<RD>" + Ref("Gen") + "<CS:Reference>Old<CR>\n</CS>T",
                  kBook + "<RD>" + Ref("Gen") + "<CS:Reference>Old<CR>\n</CS>T",
                  kBook + "<RD><CS:Reference>Old<CR>\n</CS>T", 0},
        FrameCase{"NotRightAfterARecordCode", kBook + "<RD>T" + kOld, kBook + "<RD>" + Ref("Gen") + "T" + kOld,
                  kBook + "<RD>" + Ref("Gen") + "T" + kOld, kBook + "<RD>T" + kOld, 0},
        FrameCase{"EndInsideTheText", kBook + "<RD><CS:Reference>A\r\n</CS>B<CR>\r\n</CS>T",
                  kBook + "<RD>" + Ref("Gen") + "<CS:Reference>A\r\n</CS>B<CR>\r\n</CS>T",
                  kBook + "<RD>" + Ref("Gen") + "<CS:Reference>A\r\n</CS>B<CR>\r\n</CS>T",
                  kBook + "<RD><CS:Reference>A\r\n</CS>B<CR>\r\n</CS>T", 0},
        FrameCase{"OtherCase", kBook + "<RD><cs:Reference>Old<CR>\r\n</CS>T",
                  kBook + "<RD>" + Ref("Gen") + "<cs:Reference>Old<CR>\r\n</CS>T",
                  kBook + "<RD>" + Ref("Gen") + "<cs:Reference>Old<CR>\r\n</CS>T",
                  kBook + "<RD><cs:Reference>Old<CR>\r\n</CS>T", 0},
        FrameCase{"WithoutItsClose", kBook + "<RD><CS:Reference>Old<BR>\r\n</CS>T",
                  kBook + "<RD>" + Ref("Gen") + "<CS:Reference>Old<BR>\r\n</CS>T",
                  kBook + "<RD>" + Ref("Gen") + "<CS:Reference>Old<BR>\r\n</CS>T",
                  kBook + "<RD><CS:Reference>Old<BR>\r\n</CS>T", 0}),
    [](const ::testing::TestParamInfo<FrameCase>& info) { return std::string(info.param.name); });

// A level record written as a plain record code by a run without ID record
// levels: read with them, its earlier reference is not its heading.
TEST(EarlierReferences, AreNotPartOfAHeading)
{
    const std::string input = "<RD,ID:1:Book>" + kOld + "Gen\r\n<RD,ID:2>x";
    ScriptedHost host;
    host.idRecords = true;
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
    host.leftJustOnly = true;
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

// The search for a frame's end holds no more than the longest reference:
// a longer one is left as it stands, and counted apart.
TEST(EarlierReferences, LongerThanTheLongestAreLeftAndCounted)
{
    const std::string longOld = Ref(std::string(200, 'o'));
    for (const std::size_t longest : {longOld.size(), longOld.size() - 1}) {
        RunSettings settings = Book(EarlierReferences::Replace);
        settings.longestEarlierReference = longest;
        const auto converted = Convert(kBook + "<RD>" + longOld + "x", settings);
        const bool fits = longest == longOld.size();
        EXPECT_EQ(kBook + "<RD>" + Ref("Gen") + (fits ? "" : longOld) + "x", converted.output) << longest;
        EXPECT_EQ(fits ? 1 : 0, converted.result.earlierReferences);
        EXPECT_EQ(fits ? 0 : 1, converted.result.earlierReferencesTooLong);
    }
}

// One that the input ends before could end is no reference at all.
TEST(EarlierReferences, CutOffByTheEndIsNoneAndNotTooLong)
{
    RunSettings settings = Book(EarlierReferences::Replace);
    settings.longestEarlierReference = 40;
    const std::string input = kBook + "<RD><CS:Reference>" + std::string(26, 'o');
    const auto converted = Convert(input, settings);
    EXPECT_EQ(kBook + "<RD>" + Ref("Gen") + input.substr(kBook.size() + 4), converted.output);
    EXPECT_EQ(0, converted.result.earlierReferences);
    EXPECT_EQ(0, converted.result.earlierReferencesTooLong);
}

// A frame as long as a run's block, at every place against the block's
// boundaries, and record codes one after another whose frames never end:
// each looked for once, however small the blocks.
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
        EXPECT_EQ(40, converted.result.earlierReferences) << blockSize;
    }
}

TEST(EarlierReferences, UnendedOnesOneAfterAnotherAreEachTooLong)
{
    std::string input = kBook;
    for (int i = 0; i < 2000; ++i)
        input += "<RD><CS:Reference>";
    RunSettings settings = Book(EarlierReferences::Replace);
    settings.longestEarlierReference = 4096;
    settings.blockSize = 3;
    const auto converted = Convert(input, settings);
    // Those within the longest reference's reach of the end are cut off.
    EXPECT_EQ(2000 - 4096 / 18, converted.result.earlierReferencesTooLong);
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
    EXPECT_EQ(3, preview.earlierReferences);
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
    host.idRecords = options.idRecords;
    host.leftJustOnly = options.leftJustOnly;
    host.useHR = options.useHR;
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
    EXPECT_EQ(0, b.result.earlierReferences);

    const auto again = ConvertWith(b.output, c.first, EarlierReferences::Replace);
    EXPECT_TRUE(SameBytes(b.output, again.output));
    EXPECT_EQ(b.result.refCount, again.result.earlierReferences);
    EXPECT_EQ(b.result.refCount, again.result.refCount);

    const auto other = ConvertWith(b.output, c.second, EarlierReferences::Replace);
    const auto direct = ConvertWith(input, c.second, EarlierReferences::Keep);
    EXPECT_TRUE(SameBytes(direct.output, other.output));
    EXPECT_EQ(b.result.refCount, other.result.earlierReferences);

    Options removing;
    removing.idRecords = c.first.idRecords;
    const auto removed = ConvertWith(b.output, removing, EarlierReferences::Remove);
    EXPECT_TRUE(SameBytes(input, removed.output));
    EXPECT_EQ(b.result.refCount, removed.result.earlierReferences);

    const auto twice = ConvertWith(b.output, c.first, EarlierReferences::Keep);
    EXPECT_EQ(b.result.refCount, twice.result.earlierReferences);
    EXPECT_EQ(b.result.refCount * 2, ConvertWith(twice.output, c.first, EarlierReferences::Keep).result.earlierReferences);
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
