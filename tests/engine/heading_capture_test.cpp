// A heading read the same whatever the blocks: every shape of heading as a
// row, converted in blocks too small to hold a level record and its heading,
// and in one block between two progress points, with either scan.
#include "engine/heading_capture.h"

#include <gtest/gtest.h>

#include "engine/convert.h"

namespace pellimar {
namespace {

using testing::Convert;
using testing::Converted;
using testing::MidPercent;
using testing::ScriptedHost;
using testing::SixteenByteScans;

struct HeadingCase {
    const char* name;
    std::string input;
    bool idRecords = false;
    EarlierReferences earlier = EarlierReferences::Keep;
};

void PrintTo(const HeadingCase& c, std::ostream* os)
{
    *os << c.name;
}

class Headings : public ::testing::TestWithParam<HeadingCase> {};

// Levels 1 and 2 are shown, level 3 is not; values longer than 40 bytes are
// cut.
RunSettings ThreeLevels(const HeadingCase& c, std::size_t blockSize)
{
    RunSettings settings;
    settings.refPattern = "1 2";
    settings.levelTexts = {"Book", "Chapter", "Sub Section"};
    settings.longestEarlierReference = 40;
    settings.earlierReferences = c.earlier;
    settings.blockSize = blockSize;
    return settings;
}

// What a run tells of the headings it read, besides its output.
void ExpectSameHeadings(const Converted& expected, const Converted& actual, const char* path)
{
    EXPECT_EQ(expected.levels.values, actual.levels.values) << path;
    EXPECT_EQ(expected.result.refCount, actual.result.refCount) << path;
    EXPECT_EQ(expected.result.findings[Finding::HeadingsCut].count, actual.result.findings[Finding::HeadingsCut].count)
        << path;
    EXPECT_EQ(expected.result.findings[Finding::HeadingsCut].firstLine,
              actual.result.findings[Finding::HeadingsCut].firstLine)
        << path;
    const auto& seen = expected.result.levelsSeen.Levels();
    const auto& actualSeen = actual.result.levelsSeen.Levels();
    ASSERT_EQ(seen.size(), actualSeen.size()) << path;
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].name, actualSeen[i].name) << path;
        EXPECT_EQ(seen[i].count, actualSeen[i].count) << path;
        EXPECT_EQ(seen[i].firstHeading, actualSeen[i].firstHeading) << path;
        EXPECT_EQ(seen[i].headingCut, actualSeen[i].headingCut) << path;
    }
}

TEST_P(Headings, SmallBlocksAndOneBlockAgree)
{
    const HeadingCase& c = GetParam();
    ScriptedHost host;
    host.switches.Set(RunSwitch::IdRecords, c.idRecords);
    const std::string input = "<RD:Book>Gen\r\n" + c.input;
    const auto bytes = Convert(input, ThreeLevels(c, 2), host);
    // The heading is copied as it stands.
    ASSERT_NE(std::string::npos, bytes.output.find(c.input.substr(c.input.find('>') + 1, 3))) << bytes.output;
    const MidPercent mid(input);
    const auto block = Convert(mid.Around(input), ThreeLevels(c, kRunBlockSize), host);
    // The references of the text around it follow the same headings.
    const auto aroundBytes = Convert(mid.Around(input), ThreeLevels(c, 2), host);
    EXPECT_EQ(aroundBytes.output, block.output);
    ExpectSameHeadings(aroundBytes, block, "block");
    const SixteenByteScans narrow;
    const auto sixteen = Convert(mid.Around(input), ThreeLevels(c, kRunBlockSize), host);
    EXPECT_EQ(block.output, sixteen.output) << "16-byte scans";
    ExpectSameHeadings(block, sixteen, "16-byte scans");
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, Headings,
    ::testing::Values(
        HeadingCase{"CrLf", "<RD:Chapter>Title\r\n<RD>text\r\n"},
        HeadingCase{"Lf", "<RD:Chapter>Title\n<RD>text\n"},
        HeadingCase{"CrAlone", "<RD:Chapter>Title\rgoes on\r<RD>text\r"},
        HeadingCase{"LinesThatGoOn", "<RD:Chapter>One\r\ntwo<BD+>\r\nthree\r\n\r\n<RD>text\r\n"},
        HeadingCase{"LineOpeningACodeEndsIt", "<RD:Chapter>One\r\n<BD+>not the heading\r\n<RD>text\r\n"},
        HeadingCase{"Codes", "<RD:Chapter><JD:\"x>\">Ti<BD+>tle<CR>Sub<<1\r\n<RD>text\r\n"},
        HeadingCase{"Cut", "<RD:Chapter>" + std::string(60, 'c') + "\r\n<RD>text\r\n"},
        HeadingCase{"CutOverLines", "<RD:Chapter>" + std::string(30, 'c') + "\r\n" + std::string(30, 'd') +
                                        "\r\n<RD>text\r\n"},
        HeadingCase{"LevelNoneShows", "<RD:\"Sub Section\">Deep\r\n<RD>text\r\n<RD:\"Sub Section\">Deeper\r\n"},
        HeadingCase{"LevelNoneShowsCut", "<RD:\"Sub Section\">a\r\n<RD:\"Sub Section\">" + std::string(60, 's') +
                                             "\r\n<RD>text\r\n"},
        HeadingCase{"NoSuchLevel", "<RD:Verse>Twelve\r\n<RD>text\r\n"},
        HeadingCase{"EmptyHeading", "<RD:Chapter>\r\n<RD>text\r\n"},
        HeadingCase{"ShallowerAfterDeeper", "<RD:Chapter>4\r\n<RD:\"Sub Section\">x\r\n<RD:Book>Ex\r\n<RD>text\r\n"},
        HeadingCase{"AtTheEnd", "<RD:Chapter>Last"},
        HeadingCase{.name = "IdRecord",
                    .input = "<RD,ID:7:Chapter>Seven\r\n<RD,ID:8>text\r\n<rd,id:9:chapter>Nine\r\n",
                    .idRecords = true},
        HeadingCase{"EarlierReferenceKept", "<RD:Chapter><CS:Reference>Old<CR>\r\n</CS>Title\r\n<RD>text\r\n"},
        HeadingCase{.name = "EarlierReferenceReplaced",
                    .input = "<RD:Chapter><CS:Reference>Old<CR>\r\n</CS>Title\r\n<RD>text\r\n",
                    .earlier = EarlierReferences::Replace}));

}  // namespace
}  // namespace pellimar
