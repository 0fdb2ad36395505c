// What follows a record code and whether its record gets a reference, read
// the same by the byte steps and by the block: every record rule as a row,
// converted in blocks too small to hold a record code and its opening, and
// in one block between two progress points.
#include "engine/record_opening.h"

#include <gtest/gtest.h>

#include "engine/convert.h"

namespace pellimar {
namespace {

using testing::Convert;
using testing::ScriptedHost;

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

// Text around a case that puts it in the middle of a run of 100,000 bytes,
// a whole percent from the progress points on either side, so that one
// block holds it; the same text goes around what it becomes.
struct MidPercent {
    explicit MidPercent(const std::string& input) : after(kTotal - before.size() - input.size(), 'y') {}
    std::string Around(const std::string& text) const { return before + text + after; }

    static constexpr std::size_t kTotal = 100000;
    std::string before = std::string(50498, 'x') + "\r\n";
    std::string after;
};

TEST_P(RecordOpenings, ByteStepsAndBlockAgree)
{
    const OpeningCase& c = GetParam();
    ScriptedHost host;
    host.leftJustOnly = c.leftJustOnly;
    host.idRecords = c.idRecords;
    const auto bytes = Convert(kBook + c.input, BookSettings(c, 2), host);
    EXPECT_EQ(kBook + c.expected, bytes.output) << "byte steps";
    const MidPercent mid(kBook + c.input);
    const auto block = Convert(mid.Around(kBook + c.input), BookSettings(c, kRunBlockSize), host);
    EXPECT_EQ(mid.Around(kBook + c.expected), block.output) << "block";
    EXPECT_EQ(bytes.result.refCount, block.result.refCount);
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

INSTANTIATE_TEST_SUITE_P(
    Rules, RecordOpenings,
    ::testing::Values(
        Row("TextGetsOne", "<RD>Text", "<RD>" + Ref("Gen") + "Text"),
        Row("CarriageReturnEndsTheLineWithoutOne", "<RD>\r\nText", "<RD>\r\nText"),
        Row("LineFeedEndsTheLineWithoutOne", "<RD>\nText", "<RD>\nText"),
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
        Replacing(Row("EarlierReferenceBeforeALineEnd", "<RD>" + kOld + "\r\nx", "<RD>\r\nx")),
        Replacing(LeftJustOnly(Row("EarlierReferenceBeforeAJustifiedRecord", "<RD>" + kOld + "<JU:CN>x",
                                   "<RD><JU:CN>x")))),
    [](const ::testing::TestParamInfo<OpeningCase>& info) { return std::string(info.param.name); });

// The block asks with the bytes it holds; the byte steps read on until the
// opening can be told or the input ends.
TEST(OpeningAfterRecordCode, AsksForMoreUntilItCanTell)
{
    const RecordRules leftJustOnly{true};
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
}

}  // namespace
}  // namespace pellimar
