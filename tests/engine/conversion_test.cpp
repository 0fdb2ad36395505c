// The pass as a whole: copying, record codes, where references go, progress,
// cancelling, the end of the input and errors.
#include "engine/conversion.h"

#include <gtest/gtest.h>

#include "engine/convert.h"
#include "streams/exceptions.h"
#include "streams/file_faults.h"
#include "support/expect_throw_msg.h"

namespace pellimar {
namespace {

using testing::Convert;
using testing::ScriptedHost;

std::string Ref(const std::string& text)
{
    return "<CS:Reference>" + text + "<CR>\r\n</CS>";
}

// Level 1 "Book" with the heading "Gen" already seen, pattern "1".
RunSettings BookSettings()
{
    RunSettings settings;
    settings.refPattern = "1";
    settings.levelTexts[0] = "Book";
    return settings;
}
const std::string kBook = "<RD:Book>Gen\r\n";

TEST(ConversionCopy, TextWithoutCodesIsCopiedByteForByte)
{
    std::string input;
    for (int i = 0; i < 70000; ++i)
        input += static_cast<char>(i * 7 % 256 == '<' ? 'x' : i * 7 % 256);
    const auto converted = Convert(input, BookSettings());
    EXPECT_EQ(input, converted.output);
    EXPECT_EQ(0, converted.result.refCount);
}

TEST(ConversionCopy, EmptyInputGivesEmptyOutputAndNoReferences)
{
    ScriptedHost host;
    const auto converted = Convert("", BookSettings(), host);
    EXPECT_EQ("", converted.output);
    EXPECT_EQ(0, converted.result.refCount);
    EXPECT_EQ((std::vector<std::string>{"enter", "output", "leave"}), host.log);
}

// Byte by byte, and after a long text, a block at a time.
TEST(ConversionCopy, CodesAreCopiedAsReadAcrossLines)
{
    for (const std::string& text : {std::string(), std::string(20000, 'x')}) {
        const std::string input = text + "a<>b<bd+\r\nx>b<Rd:chapter>c<JU:CN>";
        EXPECT_EQ(input, Convert(input, BookSettings()).output);
    }
}

// Codes longer than a block, held only as far as their examination needs.
TEST(ConversionCopy, CodesOfMegabytesAreCopiedAndStillExamined)
{
    const std::string filler(3'000'000, 'x');
    const std::string longCode = "<BD" + filler + ">";
    EXPECT_EQ(longCode + "a", Convert(longCode + "a", BookSettings()).output);
    const std::string unclosed = "a<" + filler;
    EXPECT_EQ(unclosed, Convert(unclosed, BookSettings()).output);
    const std::string numbered = "<RD," + std::string(3'000'000, ' ') + "12:Book>Gen\r\n<RD>x";
    EXPECT_EQ(numbered.substr(0, numbered.size() - 1) + Ref("Gen") + "x", Convert(numbered, BookSettings()).output);
}

// Level records with IDs, as later Folio versions write them: read as level
// records with the switch on; without it counted when they name a level, so
// that the user can be told why no reference came.
TEST(ConversionIdRecords, LevelRecordsWithIdsAreReadOnlyWithTheSwitch)
{
    const std::string input = "<RD,ID:1:Book>Gen\r\n<RD,ID:2>x<RD,ID:3:Other,CH>y";
    ScriptedHost on;
    on.switches.Set(RunSwitch::IdRecords, true);
    const auto read = Convert(input, BookSettings(), on);
    EXPECT_EQ("<RD,ID:1:Book>Gen\r\n<RD,ID:2>" + Ref("Gen") + "x<RD,ID:3:Other,CH>y", read.output);
    EXPECT_EQ(0, read.result.findings.Count(Finding::UnreadIdRecords));

    const auto unread = Convert(input, BookSettings());
    EXPECT_EQ(input, unread.output);
    EXPECT_EQ(1, unread.result.findings.Count(Finding::UnreadIdRecords));  // "Other" names no level
}

TEST(ConversionIdRecords, SwitchChangedDuringTheRunTakesEffectAtTheNextCode)
{
    std::string input;
    for (int i = 0; i < 50; ++i)
        input += "<RD,ID:" + std::to_string(i) + ":Book>B" + std::to_string(i) + "\r\n<RD>x\r\n";
    ScriptedHost host;
    host.onProgress = [&](std::int32_t percent) { host.switches.Set(RunSwitch::IdRecords, percent >= 50); };
    const auto converted = Convert(input, BookSettings(), host);
    EXPECT_EQ(std::string::npos, converted.output.find(Ref("B23")));
    EXPECT_NE(std::string::npos, converted.output.find(Ref("B26")));
    EXPECT_GT(converted.result.findings.Count(Finding::UnreadIdRecords), 20);
}

TEST(ConversionRecords, ReferenceGoesRightAfterThePlainRecordCode)
{
    const auto converted = Convert(kBook + "<RD>Text", BookSettings());
    EXPECT_EQ(kBook + "<RD>" + Ref("Gen") + "Text", converted.output);
    EXPECT_EQ(1, converted.result.refCount);
}

TEST(ConversionRecords, EveryFormOfRecordCodeIsRecognised)
{
    for (const std::string code : {"<rd>", "<RD,12>", "<RD, 12>", "<RD,ID:7>", "<rD,id:7:x>"}) {
        const auto converted = Convert(kBook + code + "T", BookSettings());
        EXPECT_EQ(kBook + code + Ref("Gen") + "T", converted.output) << code;
    }
}

TEST(ConversionRecords, CommaFormNamesALevel)
{
    auto settings = BookSettings();
    settings.levelTexts[1] = "Chapter";
    settings.refPattern = "1 2";
    const auto converted = Convert(kBook + "<RD,12:Chapter>Three\n<RD>x", settings);
    EXPECT_EQ(kBook + "<RD,12:Chapter>Three\n<RD>" + Ref("Gen Three") + "x", converted.output);
    EXPECT_EQ("Three", converted.levels.values[1]);
}

TEST(ConversionRecords, RecordCodeEndingItsLineGetsNoReference)
{
    EXPECT_EQ(kBook + "<RD>\r\nText", Convert(kBook + "<RD>\r\nText", BookSettings()).output);
    EXPECT_EQ(kBook + "<RD>\nText", Convert(kBook + "<RD>\nText", BookSettings()).output);
}

TEST(ConversionRecords, LevelRecordGetsNoReferenceItself)
{
    EXPECT_EQ(0, Convert(kBook + "<RD:Book>Exodus\r\n", BookSettings()).result.refCount);
}

TEST(ConversionRecords, ReferenceStandsBeforeAFollowingCode)
{
    const auto converted = Convert(kBook + "<RD><JU:CN>Text", BookSettings());
    EXPECT_EQ(kBook + "<RD>" + Ref("Gen") + "<JU:CN>Text", converted.output);
}

TEST(ConversionRecords, LeftJustOnlySkipsJustifiedAndStyledRecords)
{
    ScriptedHost host;
    host.switches.Set(RunSwitch::LeftJustOnly, true);
    for (const std::string code : {"<JU:CN>", "<ju:RT>", "<PS:Body>"}) {
        const auto converted = Convert(kBook + "<RD>" + code + "T", BookSettings(), host);
        EXPECT_EQ(kBook + "<RD>" + code + "T", converted.output) << code;
    }
    const auto other = Convert(kBook + "<RD><BD+>T", BookSettings(), host);
    EXPECT_EQ(kBook + "<RD>" + Ref("Gen") + "<BD+>T", other.output);
}

TEST(ConversionRecords, RecordCodeRightAfterAnotherGetsItsOwnReference)
{
    const auto converted = Convert(kBook + "<RD><RD>x", BookSettings());
    EXPECT_EQ(kBook + "<RD>" + Ref("Gen") + "<RD>" + Ref("Gen") + "x", converted.output);
    EXPECT_EQ(2, converted.result.refCount);
}

TEST(ConversionRecords, LevelRecordRightAfterARecordCodeSetsItsLevel)
{
    auto settings = BookSettings();
    settings.refPattern = "1";
    const auto converted = Convert(kBook + "<RD><RD:Book>Exodus\r\n<RD>x", settings);
    EXPECT_EQ(kBook + "<RD>" + Ref("Gen") + "<RD:Book>Exodus\r\n<RD>" + Ref("Exodus") + "x", converted.output);
}

TEST(ConversionRecords, ByteAfterARecordCodeIsNotExaminedForMarkers)
{
    auto settings = BookSettings();
    settings.refPattern = "1 #";
    settings.pagePattern = "[#]";
    settings.removePageMarks = true;
    ScriptedHost host;
    host.pageAnswers = {"9"};
    const auto converted = Convert(kBook + "<RD>[5]x", settings, host);
    EXPECT_EQ(kBook + "<RD>" + Ref("Gen 9") + "[5]x", converted.output);
}

// Angle brackets, markers beside codes and level attributes as Folio
// itself reads them: "<<" is a "<" meant as text, a "<" never belongs to a
// failed marker, and a level's name ends where its attributes begin.
struct FolioReadingCase {
    const char* name;
    std::string input;
    std::string expected;
    std::string refPattern;
    std::string pagePattern;
};

FolioReadingCase Reads(const char* name, std::string input, std::string expected, std::string refPattern = "1",
                       std::string pagePattern = "")
{
    return {name, std::move(input), std::move(expected), std::move(refPattern), std::move(pagePattern)};
}

void PrintTo(const FolioReadingCase& c, std::ostream* os)
{
    *os << c.name;
}

class FolioReading : public ::testing::TestWithParam<FolioReadingCase> {};

// Alone, the case is read byte by byte (each byte is a percent of it);
// after a long text, several cases fall between two percents, where the
// pass takes what it can of a block at once.
TEST_P(FolioReading, OutputAsFolioReadsTheFile)
{
    const FolioReadingCase& c = GetParam();
    RunSettings settings = BookSettings();
    settings.levelTexts[1] = "Sub-Heading 1";
    settings.refPattern = c.refPattern;
    settings.pagePattern = c.pagePattern;
    EXPECT_EQ(c.expected, Convert(c.input, settings).output);
    const std::string text = std::string(20000, 'x') + "\r\n";
    EXPECT_EQ(text + c.expected, Convert(text + c.input, settings).output);
}

// A blank line ends the heading: what follows is running text.
const std::string kText = kBook + "\r\n";
const std::string kSub = "<RD:\"Sub-Heading 1\";CH>Sub\r\n";

INSTANTIATE_TEST_SUITE_P(
    Rules, FolioReading,
    ::testing::Values(
        Reads("DoubledOpenIsText", kText + "a << b <RD>c", kText + "a << b <RD>" + Ref("Gen") + "c"),
        Reads("TripledOpenIsTextThenACode", kBook + "<<<RD>c", kBook + "<<<RD>" + Ref("Gen") + "c"),
        Reads("FiveOpensAreTwoTextsThenACode", kBook + "<<<<<RD>c", kBook + "<<<<<RD>" + Ref("Gen") + "c"),
        Reads("MarkerAfterDoubledOpenIsSeen", kBook + "<<[12] <RD>c", kBook + "<<[12] <RD>" + Ref("Gen 12-13") + "c",
              "1 #", "[#]"),
        Reads("DoubledOpenAfterARecordIsItsText", kBook + "<RD><< <RD>c",
              kBook + "<RD>" + Ref("Gen") + "<< <RD>" + Ref("Gen") + "c"),
        Reads("DoubledOpenKeptInAHeading", "<RD:Book>Use << for less\r\n<RD>c",
              "<RD:Book>Use << for less\r\n<RD>" + Ref("Use << for less") + "c"),
        Reads("DoubledOpenInsideACodeGoesWithIt", "<RD:Book>A<B<<C>D\r\n<RD>c",
              "<RD:Book>A<B<<C>D\r\n<RD>" + Ref("AD") + "c"),
        Reads("MarkerTailFailingOnACodeLeavesTheCode", kText + "[12<RD>c", kText + "[12<RD>" + Ref("Gen 1") + "c",
              "1 #", "[#]"),
        Reads("MarkerHeadFailingOnACodeLeavesTheCode", kText + "p<RD>c", kText + "p<RD>" + Ref("Gen 1") + "c", "1 #",
              "p.#"),
        Reads("LevelNameEndsAtItsAttributes", "<RD:Book,CH>Gen\r\n<RD>c", "<RD:Book,CH>Gen\r\n<RD>" + Ref("Gen") + "c"),
        Reads("QuotedLevelNameEndsAtItsAttributes", kSub + "<RD>c", kSub + "<RD>" + Ref("Sub") + "c", "2")),
    [](const ::testing::TestParamInfo<FolioReadingCase>& info) { return std::string(info.param.name); });

TEST(ConversionEnd, CodeWithoutItsCloseIsCopiedAndEndsTheRun)
{
    const auto converted = Convert(kBook + "<RD", BookSettings());
    EXPECT_EQ(kBook + "<RD", converted.output);
    EXPECT_EQ(0, converted.result.refCount);
}

TEST(ConversionEnd, CodeAfterARecordCodeCutOffByTheEndIsCopied)
{
    const auto converted = Convert(kBook + "<RD><BD", BookSettings());
    EXPECT_EQ(kBook + "<RD>" + Ref("Gen") + "<BD", converted.output);
}

TEST(ConversionEnd, RecordCodeAsTheLastBytesEndsNormally)
{
    const auto converted = Convert(kBook + "<RD>", BookSettings());
    EXPECT_EQ(kBook + "<RD>", converted.output);
    EXPECT_EQ(0, converted.result.refCount);
}

TEST(ConversionEnd, HeadingOnTheLastLineIsCopiedAndSetsItsLevel)
{
    const auto converted = Convert("<RD:Book>Genesis", BookSettings());
    EXPECT_EQ("<RD:Book>Genesis", converted.output);
    EXPECT_EQ("Genesis", converted.levels.values[0]);
}

TEST(ConversionEnd, HeadingEndingInCrAtTheEndOfTheInput)
{
    const auto converted = Convert("<RD:Book>Genesis\r", BookSettings());
    EXPECT_EQ("<RD:Book>Genesis\r", converted.output);
    EXPECT_EQ("Genesis", converted.levels.values[0]);
}

TEST(ConversionEnd, ContinuationLineWithoutABreakIsAppended)
{
    const auto converted = Convert("<RD:Book>Gen\r\nesis", BookSettings());
    EXPECT_EQ("<RD:Book>Gen\r\nesis", converted.output);
    EXPECT_EQ("Gen esis", converted.levels.values[0]);
}

TEST(ConversionProgress, EveryPercentIsReportedOnceInOrder)
{
    ScriptedHost host;
    Convert(std::string(1000, 'a') + kBook + "<RD>x" + std::string(3000, 'b'), BookSettings(), host);
    ASSERT_EQ(101u, host.percents.size());
    for (int i = 0; i <= 100; ++i)
        EXPECT_EQ(i, host.percents[i]);
}

TEST(ConversionProgress, SmallFileJumpsStraightToLargerPercents)
{
    ScriptedHost host;
    Convert("abc", BookSettings(), host);
    EXPECT_EQ((std::vector<std::int32_t>{33, 66, 100}), host.percents);
}

TEST(ConversionCancel, StopsBeforeTheNextStepAndKeepsWhatWasCopied)
{
    ScriptedHost host;
    host.onProgress = [&](std::int32_t percent) {
        if (percent == 50)
            host.cancel = true;
    };
    const std::string input(200, 'z');
    const auto converted = Convert(input, BookSettings(), host);
    EXPECT_TRUE(converted.result.cancelled);
    EXPECT_EQ(std::string(100, 'z'), converted.output);
    EXPECT_EQ("leave", host.log.back());
}

TEST(ConversionCancel, ByteHeldForAMarkerStillReachesTheOutput)
{
    auto settings = BookSettings();
    settings.refPattern = "#";
    settings.pagePattern = "[#]";
    ScriptedHost host;
    host.onProgress = [&](std::int32_t percent) {
        if (percent == 50)
            host.cancel = true;
    };
    const auto converted = Convert("abc[12]x", settings, host);
    EXPECT_EQ("abc[", converted.output);
}

ScriptedHost* cancelling = nullptr;

// A cancel that comes while the output is put in place (its last sync, its
// rename) finds the run complete: the output stands, and the result says so.
TEST(ConversionCancel, CancelWhileTheOutputIsPutInPlaceFindsTheRunComplete)
{
    for (const FileCall moment : {FileCall::Sync, FileCall::PutInPlace}) {
        ScriptedHost host;
        cancelling = &host;
        ArmFileEvent(moment, [] { cancelling->cancel = true; });
        const auto converted = Convert("plain text", BookSettings(), host);
        DisarmFileFaults();
        EXPECT_TRUE(host.cancel);
        EXPECT_FALSE(converted.result.cancelled);
        EXPECT_EQ("plain text", converted.output);
    }
}

// Where a run cancelled at a percent stops: one byte per step outside codes,
// and a code's text, once opened, in one step.
std::size_t StopAfterPercent(const std::string& input, int percent)
{
    const std::size_t threshold = (input.size() * static_cast<std::size_t>(percent) + 99) / 100;
    const std::size_t open = input.rfind('<', threshold - 1);
    const bool insideCode = open != std::string::npos && open < threshold - 1 &&
                            input.find('>', open) >= threshold - 1;
    return insideCode ? input.find('>', open) + 1 : threshold;
}

TEST(ConversionCancel, StopsAtTheSameByteWhateverCodesStandAround)
{
    std::string input;
    for (int i = 0; i < 40; ++i)
        input += "ab<BD+>cd<IT->e<JU:CN>f";
    for (int percent = 1; percent < 100; ++percent) {
        ScriptedHost host;
        host.onProgress = [&](std::int32_t at) { host.cancel = at >= percent; };
        const auto converted = Convert(input, BookSettings(), host);
        EXPECT_EQ(input.substr(0, StopAfterPercent(input, percent)), converted.output) << percent;
    }
}

TEST(ConversionSwitches, ChangesDuringTheRunTakeEffectAtTheNextReference)
{
    ScriptedHost host;
    std::string input = kBook;
    for (int i = 0; i < 100; ++i)
        input += "<RD>x\r\n";
    host.onProgress = [&](std::int32_t percent) { host.switches.Set(RunSwitch::UseHR, percent >= 50); };
    const auto converted = Convert(input, BookSettings(), host);
    EXPECT_NE(std::string::npos, converted.output.find("Gen<CR>"));
    EXPECT_NE(std::string::npos, converted.output.find("Gen<HR>"));
    EXPECT_LT(converted.output.find("Gen<CR>"), converted.output.find("Gen<HR>"));
}

TEST(ConversionSwitches, ChangesWhileThePageIsAskedForTakeEffectAtTheReferenceThatAsked)
{
    auto settings = BookSettings();
    settings.refPattern = "1 #";
    ScriptedHost host;
    host.pageAnswers = {"9"};
    host.onPageQuestion = [&] { host.switches.Set(RunSwitch::UseHR, true); };
    const auto converted = Convert(kBook + "<RD>x", settings, host);
    EXPECT_EQ(kBook + "<RD><CS:Reference>Gen 9<HR>\r\n</CS>x", converted.output);
}

TEST(ConversionErrors, MissingInputRaisesBeforeAnythingIsShown)
{
    testing::TempDir dir;
    RunSettings settings = BookSettings();
    settings.inputPath = dir.File("missing.fff");
    settings.outputPath = dir.File("out.fff");
    ScriptedHost host;
    LevelLists levels;
    EXPECT_THROW_MSG(RunConversion(settings, host, levels), EFOpenError, "Cannot open file " + settings.inputPath);
    EXPECT_TRUE(host.log.empty());
    EXPECT_FALSE(std::filesystem::exists(settings.outputPath));
}

TEST(ConversionErrors, UncreatableOutputStillLeavesTheRunningState)
{
    testing::TempDir dir;
    RunSettings settings = BookSettings();
    settings.inputPath = dir.File("in.fff");
    settings.outputPath = dir.File("no/folder/out.fff");
    testing::WriteFileBytes(settings.inputPath, "abc");
    ScriptedHost host;
    LevelLists levels;
    EXPECT_THROW_MSG(RunConversion(settings, host, levels), EFCreateError,
                     "Cannot create file " + settings.outputPath);
    EXPECT_EQ((std::vector<std::string>{"enter", "leave"}), host.log);
}

TEST(ConversionErrors, OutputThatIsTheInputIsRefusedAndTheInputKept)
{
    testing::TempDir dir;
    RunSettings settings = BookSettings();
    settings.inputPath = dir.File("in.fff");
    settings.outputPath = (dir.Path() / "." / "in.fff").string();
    testing::WriteFileBytes(settings.inputPath, kBook + "<RD>x");
    ScriptedHost host;
    LevelLists levels;
    EXPECT_THROW(RunConversion(settings, host, levels), EFCreateError);
    EXPECT_EQ(kBook + "<RD>x", testing::ReadFileBytes(settings.inputPath));
}

}  // namespace
}  // namespace pellimar
