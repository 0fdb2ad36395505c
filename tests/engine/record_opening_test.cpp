// What follows a record code and whether its record gets a reference, read
// the same whatever the blocks: every record rule as a row, converted in
// blocks too small to hold a record code and its opening, and in one block
// between two progress points.
#include "engine/record_opening.h"

#include <gtest/gtest.h>

#include "engine/convert.h"

namespace pellimar {
namespace {

using testing::Convert;
using testing::MidPercent;
using testing::ScriptedHost;
using testing::SixteenByteScans;

std::string Ref(const std::string& text)
{
    return "<CS:Reference>" + text + "<CR>\r\n</CS>";
}

const std::string kBook = "<RD:Book>Gen\r\n";
const std::string kOld = Ref("Old");

struct OpeningCase {
    const char* name;
    std::string input;  // after the heading of "Book"
    std::string expected;
    bool leftJustOnly = false;
    bool idRecords = false;
    EarlierReferences earlier = EarlierReferences::Keep;
    bool lineEndRecords = false;
    // Records on a later line than their code left without a reference.
    std::int32_t laterLine = 0;
};

void PrintTo(const OpeningCase& c, std::ostream* os)
{
    *os << c.name;
}

class RecordOpenings : public ::testing::TestWithParam<OpeningCase> {};

RunSettings BookSettings(const OpeningCase& c, std::size_t blockSize)
{
    RunSettings settings;
    settings.refPattern = "1";
    settings.levelTexts[0] = "Book";
    settings.earlierReferences = c.earlier;
    settings.blockSize = blockSize;
    return settings;
}

TEST_P(RecordOpenings, SmallBlocksAndOneBlockAgree)
{
    const OpeningCase& c = GetParam();
    ScriptedHost host;
    host.switches.Set(RunSwitch::LeftJustOnly, c.leftJustOnly);
    host.switches.Set(RunSwitch::IdRecords, c.idRecords);
    host.switches.Set(RunSwitch::LineEndRecords, c.lineEndRecords);
    const auto bytes = Convert(kBook + c.input, BookSettings(c, 2), host);
    EXPECT_EQ(kBook + c.expected, bytes.output) << "two-byte blocks";
    EXPECT_EQ(c.laterLine, bytes.result.findings.Count(Finding::LaterLineRecords)) << "two-byte blocks";
    const MidPercent mid(kBook + c.input);
    const auto block = Convert(mid.Around(kBook + c.input), BookSettings(c, kRunBlockSize), host);
    EXPECT_EQ(mid.Around(kBook + c.expected), block.output) << "block";
    EXPECT_EQ(bytes.result.refCount, block.result.refCount);
    EXPECT_EQ(c.laterLine, block.result.findings.Count(Finding::LaterLineRecords)) << "block";
    const SixteenByteScans narrow;
    const auto sixteen = Convert(mid.Around(kBook + c.input), BookSettings(c, kRunBlockSize), host);
    EXPECT_EQ(block.output, sixteen.output) << "block, 16-byte scans";
    EXPECT_EQ(block.result.refCount, sixteen.result.refCount) << "block, 16-byte scans";
}

OpeningCase Row(const char* name, std::string input, std::string expected)
{
    return {name, std::move(input), std::move(expected)};
}

OpeningCase LeftJustOnly(OpeningCase c)
{
    c.leftJustOnly = true;
    return c;
}

OpeningCase WithIds(OpeningCase c)
{
    c.idRecords = true;
    return c;
}

OpeningCase Replacing(OpeningCase c)
{
    c.earlier = EarlierReferences::Replace;
    return c;
}

OpeningCase LineEndRecords(OpeningCase c)
{
    c.lineEndRecords = true;
    return c;
}

// Left without the reference the switch would give.
OpeningCase LeftOnALaterLine(OpeningCase c)
{
    c.laterLine = 1;
    return c;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, RecordOpenings,
    ::testing::Values(
        Row("TextGetsOne", "<RD>Text", "<RD>" + Ref("Gen") + "Text"),
        LeftOnALaterLine(Row("CarriageReturnEndsTheLineWithoutOne", "<RD>\r\nText", "<RD>\r\nText")),
        LeftOnALaterLine(Row("LineFeedEndsTheLineWithoutOne", "<RD>\nText", "<RD>\nText")),
        LineEndRecords(Row("NextLineTextGetsOneBeforeTheBreak", "<RD>\r\nText", "<RD>" + Ref("Gen") + "\r\nText")),
        LineEndRecords(Row("NextLineAfterALineFeed", "<RD>\nText", "<RD>" + Ref("Gen") + "\nText")),
        LineEndRecords(Row("BlankLinesBetween", "<RD>\r\n \t\r\n\n\r\n <TA:x>T",
                           "<RD>" + Ref("Gen") + "\r\n \t\r\n\n\r\n <TA:x>T")),
        LineEndRecords(Row("EmptyRecordGetsNone", "<RD>\r\n\r\n<rd>x", "<RD>\r\n\r\n<rd>" + Ref("Gen") + "x")),
        Row("EmptyRecordIsNotCounted", "<RD>\r\n\r\n<RD>x", "<RD>\r\n\r\n<RD>" + Ref("Gen") + "x"),
        LineEndRecords(Row("NextLineDoubledOpenIsText", "<RD>\r\n<<x", "<RD>" + Ref("Gen") + "\r\n<<x")),
        LineEndRecords(LeftJustOnly(Row("NextLineJustifiedGetsNone", "<RD>\r\n<JU:CN>T", "<RD>\r\n<JU:CN>T"))),
        LeftJustOnly(Row("NextLineJustifiedIsNotCounted", "<RD>\r\n<JU:CN>T", "<RD>\r\n<JU:CN>T")),
        LineEndRecords(Replacing(Row("NextLineAfterAnEarlierReference", "<RD>" + kOld + "\r\nx",
                                     "<RD>" + Ref("Gen") + "\r\nx"))),
        Row("DoubledOpenIsText", "<RD><<RD>x", "<RD>" + Ref("Gen") + "<<RD>x"),
        Row("CodeGetsOneBeforeIt", "<RD><JU:CN>T", "<RD>" + Ref("Gen") + "<JU:CN>T"),
        Row("ShortCodeGetsOne", "<RD><B>T", "<RD>" + Ref("Gen") + "<B>T"),
        Row("EmptyCodeGetsOne", "<RD><>T", "<RD>" + Ref("Gen") + "<>T"),
        LeftJustOnly(Row("LeftJustOnlySkipsJustified", "<RD><ju:RT>T", "<RD><ju:RT>T")),
        LeftJustOnly(Row("LeftJustOnlySkipsStyled", "<RD><PS:Body>T", "<RD><PS:Body>T")),
        LeftJustOnly(Row("LeftJustOnlyKeepsOtherCodes", "<RD><JU>T", "<RD>" + Ref("Gen") + "<JU>T")),
        LeftJustOnly(Row("LeftJustOnlyKeepsText", "<RD>JU:T", "<RD>" + Ref("Gen") + "JU:T")),
        Row("RecordAfterRecordGetsItsOwn", "<RD><RD>x", "<RD>" + Ref("Gen") + "<RD>" + Ref("Gen") + "x"),
        Row("LevelRecordAfterRecordSetsItsLevel", "<RD><RD:Book>Ex\r\n<RD>x",
            "<RD>" + Ref("Gen") + "<RD:Book>Ex\r\n<RD>" + Ref("Ex") + "x"),
        Row("IdRecordWithoutTheSwitchIsARecord", "<RD,ID:4:Book>Ex\r\n", "<RD,ID:4:Book>" + Ref("Gen") + "Ex\r\n"),
        WithIds(Row("IdRecordWithTheSwitchNamesALevel", "<RD,ID:4:Book>Ex\r\n<RD>x",
                    "<RD,ID:4:Book>Ex\r\n<RD>" + Ref("Ex") + "x")),
        WithIds(Row("IdRecordWithoutALevelIsARecord", "<RD,ID:4>x", "<RD,ID:4>" + Ref("Gen") + "x")),
        Row("EarlierReferenceKeptAfterTheNewOne", "<RD>" + kOld + "x", "<RD>" + Ref("Gen") + kOld + "x"),
        Replacing(Row("EarlierReferenceReplaced", "<RD>" + kOld + "x", "<RD>" + Ref("Gen") + "x")),
        LeftOnALaterLine(Replacing(Row("EarlierReferenceBeforeALineEnd", "<RD>" + kOld + "\r\nx", "<RD>\r\nx"))),
        Replacing(LeftJustOnly(Row("EarlierReferenceBeforeAJustifiedRecord", "<RD>" + kOld + "<JU:CN>x",
                                   "<RD><JU:CN>x")))),
    [](const ::testing::TestParamInfo<OpeningCase>& info) { return std::string(info.param.name); });

// The pass asks with the bytes it holds, and looks further ahead until the
// opening can be told or the input ends.
TEST(OpeningAfterRecordCode, AsksForMoreUntilItCanTell)
{
    RecordRules leftJustOnly;
    leftJustOnly.Set(RunSwitch::LeftJustOnly, true);
    const auto open = [&](std::string_view text, bool ends) {
        return OpeningAfterRecordCode({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, ends,
                                      leftJustOnly);
    };
    for (const std::string_view more : {"", "<", "<J", "<JU"})
        EXPECT_EQ(RecordStart::More, open(more, false).start) << more;
    EXPECT_EQ(RecordStart::Nothing, open("", true).start);
    const RecordOpening cut = open("<JU", true);
    EXPECT_EQ(RecordStart::Code, cut.start);
    EXPECT_EQ(3u, cut.length);
    EXPECT_TRUE(cut.reference);
    const RecordOpening justified = open("<JU:CN", false);
    EXPECT_EQ(4u, justified.length);
    EXPECT_FALSE(justified.reference);
    EXPECT_FALSE(open("\n", false).reference);
    // Without the switch a record on the next line gets none.
    EXPECT_FALSE(OpeningAfterRecordCode({reinterpret_cast<const std::uint8_t*>("\nT"), 2}, false, RecordRules{})
                     .reference);
}

// The end of a block is not the end of the input: blanks that run past it
// are looked through further ahead, and the record still gets its
// reference.
TEST(LaterLineRecords, BlanksPastTheBlockAreLookedThrough)
{
    const std::string input = kBook + "<RD>\n" + std::string(100, ' ') + "T" + std::string(20000, 'x');
    for (const std::size_t blockSize : {std::size_t{2}, std::size_t{64}}) {
        OpeningCase c;
        ScriptedHost host;
        host.switches.Set(RunSwitch::LineEndRecords, true);
        const auto converted = Convert(input, BookSettings(c, blockSize), host);
        EXPECT_EQ(1, converted.result.refCount) << blockSize;
        EXPECT_EQ(0, converted.result.findings.Count(Finding::LaterLineRecords)) << blockSize;
    }
}

// A record code that ends the input's last line, or whose line breaks and
// blanks run to the end, holds an empty record.
TEST(LaterLineRecords, RecordCodeAtTheEndGetsNone)
{
    for (const std::string tail : {"", " \r\n", "\r\n\t"}) {
        for (const std::size_t blockSize : {std::size_t{2}, kRunBlockSize}) {
            OpeningCase c;
            ScriptedHost host;
            host.switches.Set(RunSwitch::LineEndRecords, true);
            const auto converted = Convert(kBook + "<RD>\r\n" + tail, BookSettings(c, blockSize), host);
            EXPECT_EQ(kBook + "<RD>\r\n" + tail, converted.output);
            EXPECT_EQ(0, converted.result.findings.Count(Finding::LaterLineRecords));
        }
    }
}

// Line breaks and blanks are looked through as far as 64 KB after the code's
// line break; a record whose text begins further on gets no reference, and is
// counted, in small blocks and in one alike.
TEST(LaterLineRecords, TextPastTheReachGetsNoneAndIsCounted)
{
    for (const std::size_t blanks : {kLaterLineReach - 2, kLaterLineReach - 1}) {
        const std::string input = kBook + "<RD>\n" + std::string(blanks, ' ') + "T\r\n";
        const bool reached = blanks < kLaterLineReach - 1;
        for (const std::size_t blockSize : {std::size_t{2}, kRunBlockSize}) {
            OpeningCase c;
            RunSettings settings = BookSettings(c, blockSize);
            ScriptedHost host;
            host.switches.Set(RunSwitch::LineEndRecords, true);
            const auto converted = Convert(input, settings, host);
            EXPECT_EQ(reached ? 1 : 0, converted.result.refCount) << blanks << " " << blockSize;
            EXPECT_EQ(reached ? 0 : 1, converted.result.findings.Count(Finding::LaterLineRecords))
                << blanks << " " << blockSize;
        }
    }
}

}  // namespace
}  // namespace pellimar
