// Fuzz target: the conversion pass over arbitrary bytes with options taken
// from the input. The output must be what the plain model of the rules
// writes; the input file must be unchanged; progress must only rise and end
// at 100; a cancelled run must leave the earlier output as it was until its
// own is kept, and that must be a prefix of the full output. Apart from
// the model: without references and without removable markers the output
// is the input itself, byte for byte. And the same pass runs again over the
// same input in blocks of another size (1, 2, 3 or 7 bytes, too small to
// hold a code and what follows it, 4 KB, or the whole input at once, as the
// input's length chooses): both must write the same bytes, make the same
// counts, ask the same questions and report the same progress, cancelled or
// not. The first run scans 16 bytes a compare for inputs of odd length and,
// on a processor that has them, 32 for the others.
//
// Running twice must be safe: an input that holds no references of its own
// is converted (A to B) and B converted again, replacing its references with
// the same options (giving B again) and with second options (giving what A
// converted with those gives), and removing them (giving A again).
//
// Input: a switches byte (Not Searched, Remove #'s, Left Justified Only,
// Use <HR>, page question cancelled, and three bits of block size), a cancel
// byte (its top bit: ID record levels; the rest 0 to 100: cancel once that
// percentage is reached, 101: before the first step, above: never), then
// the reference pattern, the page-number pattern, the seven level names and
// the starting-page answer, each ending at a NUL; an earlier-references byte
// (two bits: keep, replace, remove, keep; the rest: the longest earlier
// reference, 0 for the usual, else 12 + 4 times it); the second options'
// switches byte (Not Searched, Remove #'s, Left Justified Only, Use <HR>, ID
// record levels, and three bits by which the level names are turned round)
// and its reference and page-number patterns, each ending at a NUL; and the
// rest is the flat file.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "block_size.h"
#include "check.h"
#include "conversion_model.h"
#include "engine/conversion.h"
#include "engine/earlier_reference.h"
#include "engine/patterns.h"
#include "fuzz_input.h"
#include "scratch_dir.h"
#include "streams/byte_scan.h"
#include "streams/exceptions.h"

namespace pellimar::fuzz {
namespace {

constexpr std::uint8_t kCancelBeforeStart = 101;
// The blocks of the second run.
constexpr std::size_t kOtherBlockSizes[] = {1, 2, 3, 7, 4096, kRunBlockSize};

class FuzzHost : public RunHost {
public:
    FuzzHost(const ConversionOptions& options, std::uint8_t cancelAt)
        : options_(options), cancelAt_(cancelAt), cancel_(cancelAt == kCancelBeforeStart)
    {
    }

    void EnterRunning() override { log.push_back("enter"); }
    void ProgressChanged(std::int32_t runPercent, std::int64_t) override
    {
        FUZZ_CHECK(log == std::vector<std::string>{"enter"}, "progress only while running");
        percents.push_back(runPercent);
        if (cancelAt_ <= 100 && runPercent >= cancelAt_)
            cancel_ = true;
    }
    void LeaveRunning() override { log.push_back("leave"); }
    std::optional<std::string> AskStartingPage(const PagePrompt&) override
    {
        ++pageQuestions;
        return options_.startPage;
    }
    bool SwitchOn(RunSwitch runSwitch) const override { return options_.switches.On(runSwitch); }
    bool CancelRequested() const override { return cancel_; }

    std::vector<std::string> log;
    std::vector<std::int32_t> percents;
    int pageQuestions = 0;

private:
    const ConversionOptions& options_;
    std::uint8_t cancelAt_;
    bool cancel_;
};

struct Case {
    ConversionOptions options;
    ConversionOptions second;
    std::uint8_t cancelAt = 0;
    std::uint8_t blockSize = 0;
    std::string input;
};

EarlierReferences EarlierOf(std::uint8_t choice)
{
    switch (choice & 3) {
    case 1: return EarlierReferences::Replace;
    case 2: return EarlierReferences::Remove;
    default: return EarlierReferences::Keep;
    }
}

ConversionOptions SecondOptions(FuzzInput& in, const ConversionOptions& first)
{
    ConversionOptions second = first;
    const std::uint8_t switches = in.Byte();
    second.notSearched = (switches & 1) != 0;
    second.removePageMarks = (switches & 2) != 0;
    second.switches.Set(RunSwitch::LeftJustOnly, (switches & 4) != 0);
    second.switches.Set(RunSwitch::UseHR, (switches & 8) != 0);
    second.switches.Set(RunSwitch::IdRecords, (switches & 16) != 0);
    std::rotate(second.levelTexts.begin(), second.levelTexts.begin() + (switches >> 5) % 7, second.levelTexts.end());
    second.refPattern = in.Field('\0');
    second.pagePattern = in.Field('\0');
    second.earlier = EarlierReferences::Keep;
    second.longestEarlier = kLongestEarlierReference;
    return second;
}

Case ReadCase(FuzzInput& in)
{
    Case c;
    const std::uint8_t switches = in.Byte();
    c.options.notSearched = (switches & 1) != 0;
    c.options.removePageMarks = (switches & 2) != 0;
    c.options.switches.Set(RunSwitch::LeftJustOnly, (switches & 4) != 0);
    c.options.switches.Set(RunSwitch::UseHR, (switches & 8) != 0);
    c.blockSize = static_cast<std::uint8_t>(switches >> 5);
    const std::uint8_t cancel = in.Byte();
    c.options.switches.Set(RunSwitch::IdRecords, (cancel & 0x80) != 0);
    c.cancelAt = cancel & 0x7F;
    c.options.refPattern = in.Field('\0');
    c.options.pagePattern = in.Field('\0');
    for (std::string& name : c.options.levelTexts)
        name = in.Field('\0');
    std::string answer = in.Field('\0');
    if ((switches & 16) == 0)
        c.options.startPage = answer;
    const std::uint8_t earlier = in.Byte();
    c.options.earlier = EarlierOf(earlier);
    c.options.switches.Set(RunSwitch::LineEndRecords, (earlier & 0x80) != 0);
    if (const std::size_t longest = (earlier >> 2) & 0x1F; longest != 0)
        c.options.longestEarlier = 12 + 4 * longest;
    c.second = SecondOptions(in, c.options);
    c.input = in.Rest();
    return c;
}

RunSettings SettingsOf(const ConversionOptions& options, const std::string& inputPath, const std::string& outputPath)
{
    RunSettings settings;
    settings.inputPath = inputPath;
    settings.outputPath = outputPath;
    settings.refPattern = options.refPattern;
    settings.pagePattern = options.pagePattern;
    for (std::size_t k = 0; k < settings.levelTexts.size(); ++k)
        settings.levelTexts[k] = options.levelTexts[k];
    settings.notSearched = options.notSearched;
    settings.removePageMarks = options.removePageMarks;
    settings.earlierReferences = options.earlier;
    settings.longestEarlierReference = options.longestEarlier;
    return settings;
}

RunSettings SettingsOf(const Case& c, const std::string& inputPath, const std::string& outputPath, bool otherBlocks)
{
    RunSettings settings = SettingsOf(c.options, inputPath, outputPath);
    // Inputs of a few hundred bytes still meet blocks of one byte.
    settings.blockSize = otherBlocks ? kOtherBlockSizes[c.input.size() % std::size(kOtherBlockSizes)]
                                     : ChosenBlockSize(c.blockSize, c.input.size() / 128);
    return settings;
}

struct Outcome {
    RunResult result;
    std::string output;
    LevelLists levels;
    std::vector<std::int32_t> percents;
    int pageQuestions = 0;
};

bool MarkersCanBeRemoved(const ConversionOptions& options)
{
    return options.removePageMarks && options.refPattern.find('#') != std::string::npos &&
           options.pagePattern.find('#') != std::string::npos;
}

bool IsPrefix(std::string_view prefix, std::string_view of)
{
    return of.substr(0, prefix.size()) == prefix;
}

void CheckProgress(const FuzzHost& host, bool cancelled)
{
    FUZZ_CHECK((host.log == std::vector<std::string>{"enter", "leave"}), "entered and left once");
    for (std::size_t i = 0; i < host.percents.size(); ++i) {
        FUZZ_CHECK(host.percents[i] >= 0 && host.percents[i] <= 100, "a percentage");
        FUZZ_CHECK(i == 0 || host.percents[i] > host.percents[i - 1], "progress only rises");
    }
    if (!cancelled)
        FUZZ_CHECK(!host.percents.empty() && host.percents.back() == 100, "a finished run reports 100%");
}

// Without references and without markers to remove, every byte consumed is
// written as it was read.
void CheckPlainCopy(const Case& c, const Outcome& run)
{
    const std::string& output = run.output;
    const bool cancelled = run.result.cancelled;
    const bool earlierTakenOut = run.result.EarlierReferences() != 0 && c.options.earlier != EarlierReferences::Keep;
    if (run.result.refCount != 0 || MarkersCanBeRemoved(c.options) || earlierTakenOut)
        return;
    if (!cancelled) {
        FUZZ_CHECK_EQ(c.input, output, "no references and no markers removed: the output is the input");
        return;
    }
    FUZZ_CHECK(IsPrefix(output, c.input), "a cancelled plain copy is a prefix of the input");
    if (!run.percents.empty() && !c.input.empty()) {
        const auto consumed = static_cast<std::int64_t>(output.size());
        FUZZ_CHECK_EQ(run.percents.back(), consumed * 100 / static_cast<std::int64_t>(c.input.size()),
                      "the last percentage shown is the share of the input copied");
    }
}

void CheckTally(const Counted& expected, const Tally& tally, const std::string& what)
{
    FUZZ_CHECK_EQ(expected.count, tally.count, what);
    FUZZ_CHECK_EQ(expected.firstLine, tally.firstLine, "the line of the first of the " + what);
}

void CheckAgainstModel(const Case& c, const Outcome& run)
{
    const std::string& output = run.output;
    const RunResult& result = run.result;
    const LevelLists& levels = run.levels;
    const ConversionOutcome expected = ConvertModel(c.input, c.options);
    if (!result.cancelled) {
        FUZZ_CHECK_EQ(expected.output, output, "the converted output");
        FUZZ_CHECK_EQ(expected.refCount, result.refCount, "the reference count");
        FUZZ_CHECK_EQ(expected.pageQuestions, run.pageQuestions, "starting-page questions");
        FUZZ_CHECK_EQ(expected.unreadIdLevelRecords, result.findings.Count(Finding::UnreadIdRecords),
                      "unread ID level records");
        FUZZ_CHECK_EQ(expected.laterLineRecords, result.findings.Count(Finding::LaterLineRecords),
                      "records on a later line left out");
        FUZZ_CHECK_EQ(expected.earlierReferences, result.EarlierReferences(), "earlier references found");
        CheckTally(expected.earlierLookAlikes, result.findings[Finding::LookAlikes],
                   "texts that look like earlier references");
        CheckTally(expected.referencesCut, result.findings[Finding::ReferencesCut], "references cut");
        CheckTally(expected.headingsCut, result.findings[Finding::HeadingsCut], "headings cut");
        for (std::size_t k = 0; k < levels.values.size(); ++k)
            FUZZ_CHECK_EQ(expected.levelValues[k], levels.values[k], "level " + std::to_string(k + 1) + " at the end");
        return;
    }
    // A byte held for a marker attempt that the cancel cut short is written
    // as it stood, where the full run might have dropped it with the marker.
    const std::string_view written = output;
    const bool held = !output.empty() && !c.options.pagePattern.empty() && output.back() == c.options.pagePattern[0];
    FUZZ_CHECK(IsPrefix(written, expected.output) ||
                   (held && IsPrefix(written.substr(0, written.size() - 1), expected.output)),
               "a cancelled run's output is a prefix of the full output");
    FUZZ_CHECK(result.refCount <= expected.refCount, "a cancelled run writes no more references");
}

Outcome Convert(const Case& c, const std::string& inputPath, const std::string& outputPath, bool otherBlocks = false)
{
    const std::string earlier = "an earlier output";
    WriteScratchFile(outputPath, earlier);
    FuzzHost host(c.options, c.cancelAt);
    Outcome outcome;
    try {
        outcome.result = RunConversion(SettingsOf(c, inputPath, outputPath, otherBlocks), host, outcome.levels);
    } catch (const Exception& error) {
        Fail(__FILE__, __LINE__, "a run over a readable input", "no error", error.what());
    }
    if (outcome.result.cancelled) {
        FUZZ_CHECK_EQ(earlier, ReadScratchFile(outputPath), "a cancelled run leaves the earlier output");
        outcome.result.partialOutput->PutInPlace();
    }
    outcome.output = ReadScratchFile(outputPath);
    outcome.percents = host.percents;
    outcome.pageQuestions = host.pageQuestions;
    CheckProgress(host, outcome.result.cancelled);
    return outcome;
}

// The pass is the same run whatever its blocks.
void CheckAgainstOtherBlocks(const Outcome& blocks, const Outcome& other)
{
    FUZZ_CHECK_EQ(other.output, blocks.output, "the output in other blocks");
    FUZZ_CHECK_EQ(other.result.refCount, blocks.result.refCount, "the reference count in other blocks");
    FUZZ_CHECK(other.result.cancelled == blocks.result.cancelled, "cancelled as in other blocks");
    for (std::size_t kind = 0; kind < kFindingKinds; ++kind) {
        const auto finding = static_cast<Finding>(kind);
        FUZZ_CHECK_EQ(other.result.findings[finding].count, blocks.result.findings[finding].count,
                      "the findings in other blocks");
        FUZZ_CHECK_EQ(other.result.findings[finding].firstLine, blocks.result.findings[finding].firstLine,
                      "the findings' first lines in other blocks");
    }
    FUZZ_CHECK_EQ(other.pageQuestions, blocks.pageQuestions, "the page questions in other blocks");
    FUZZ_CHECK(other.percents == blocks.percents, "the progress in other blocks");
    for (std::size_t k = 0; k < blocks.levels.values.size(); ++k)
        FUZZ_CHECK_EQ(other.levels.values[k], blocks.levels.values[k], "level values as in other blocks");
}

constexpr std::size_t kRoundTripBlockSize = 8192;

// A whole run to its end, for the round trips.
struct RoundTripRun {
    std::string output;
    RunResult result;
};

// Each with a real run's longest earlier reference, which its own
// references are cut to fit: what one run writes, the next recognises.
RoundTripRun ConvertWhole(const std::string& input, const ConversionOptions& options)
{
    const std::string inputPath = ScratchFile("trip-in.fff");
    const std::string outputPath = ScratchFile("trip-out.fff");
    WriteScratchFile(inputPath, input);
    FuzzHost host(options, kCancelBeforeStart + 1);
    RunSettings settings = SettingsOf(options, inputPath, outputPath);
    settings.longestEarlierReference = kLongestEarlierReference;
    // The run's blocks of a quarter megabyte cost more to allocate than
    // these small inputs take to convert; the block size is the main runs'
    // concern.
    settings.blockSize = kRoundTripBlockSize;
    LevelLists levels;
    RoundTripRun run;
    try {
        run.result = RunConversion(settings, host, levels);
    } catch (const Exception& error) {
        Fail(__FILE__, __LINE__, "a round trip's run", "no error", error.what());
    }
    run.output = ReadScratchFile(outputPath);
    return run;
}

// Codes are read alike in two runs unless ID record levels change which
// codes open headings, or a page-number pattern with a "<" past its first
// byte takes a "<" into a marker attempt: only then may a run miss
// references the other wrote.
bool ReadAlike(const ConversionOptions& a, const ConversionOptions& b)
{
    const auto takesOpen = [](const ConversionOptions& o) { return o.pagePattern.find('<', 1) != std::string::npos; };
    const bool sameIds = a.switches.On(RunSwitch::IdRecords) == b.switches.On(RunSwitch::IdRecords);
    return sameIds && !takesOpen(a) && !takesOpen(b);
}

// Whether a frame stands anywhere in the text, after a record code or not:
// texts that only begin like one do not count.
bool HoldsAFrame(std::string_view text)
{
    for (std::size_t at = text.find("<CS:Reference>"); at != std::string_view::npos;
         at = text.find("<CS:Reference>", at + 1)) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data()) + at;
        const std::optional<EarlierFrameMatch> match = ReadFrame({bytes, text.size() - at});
        if (match && match->kind == EarlierFrame::Found)
            return true;
    }
    return false;
}

// A to B, then B again: replaced with the same options, replaced with the
// second options, and removed. Holds whenever A holds no reference of its
// own (texts that only look like one it may hold), the first conversion
// kept its markers, and its pattern is one whose references a later run can
// recognise (the runs refuse any other).
void CheckRoundTrips(const Case& c)
{
    const ConversionOptions& first = c.options;
    if (HoldsAFrame(c.input) || MarkersCanBeRemoved(first) || UnrecognisableReferences(first.refPattern))
        return;
    ConversionOptions keep = first;
    keep.earlier = EarlierReferences::Keep;
    const RoundTripRun b = ConvertWhole(c.input, keep);

    ConversionOptions again = keep;
    again.earlier = EarlierReferences::Replace;
    const RoundTripRun same = ConvertWhole(b.output, again);
    FUZZ_CHECK_EQ(b.result.refCount, same.result.EarlierReferences(), "B's references found again");
    FUZZ_CHECK_EQ(b.result.findings[Finding::LookAlikes].count, same.result.findings[Finding::LookAlikes].count,
                  "B's look-alikes are A's");
    FUZZ_CHECK_EQ(b.output, same.output, "B with its references replaced alike");

    ConversionOptions second = c.second;
    second.earlier = EarlierReferences::Replace;
    const RoundTripRun other = ConvertWhole(b.output, second);
    if (ReadAlike(first, second))
        FUZZ_CHECK_EQ(b.result.refCount, other.result.EarlierReferences(), "B's references found with other options");
    FUZZ_CHECK(other.result.EarlierReferences() <= b.result.refCount, "no more references found than B has");
    if (other.result.EarlierReferences() == b.result.refCount) {
        const RoundTripRun direct = ConvertWhole(c.input, c.second);
        FUZZ_CHECK_EQ(direct.output, other.output, "B replaced with other options is A converted with them");
        FUZZ_CHECK_EQ(direct.result.refCount, other.result.refCount, "as many references as A converted directly");
    }

    ConversionOptions remove;
    remove.switches.Set(RunSwitch::IdRecords, first.switches.On(RunSwitch::IdRecords));
    remove.earlier = EarlierReferences::Remove;
    const RoundTripRun removed = ConvertWhole(b.output, remove);
    if (ReadAlike(first, remove))
        FUZZ_CHECK_EQ(b.result.refCount, removed.result.EarlierReferences(), "B's references found to remove");
    if (removed.result.EarlierReferences() == b.result.refCount)
        FUZZ_CHECK_EQ(c.input, removed.output, "B with its references removed is A");
    FUZZ_CHECK_EQ(0, removed.result.refCount, "removing writes no reference");
}

}  // namespace
}  // namespace pellimar::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace pellimar;
    using namespace pellimar::fuzz;
    FuzzInput in(data, size);
    const Case c = ReadCase(in);
    const std::string inputPath = ScratchFile("in.fff");
    WriteScratchFile(inputPath, c.input);

    // The block scans 16 or (where the processor has them) 32 bytes a
    // compare: which, the input's length says, so that both meet the model.
    TurnOffWideScans(c.input.size() % 2 == 1);
    const Outcome now = Convert(c, inputPath, ScratchFile("out.fff"));
    TurnOffWideScans(false);
    FUZZ_CHECK_EQ(c.input, ReadScratchFile(inputPath), "the input file is never changed");
    const Outcome other = Convert(c, inputPath, ScratchFile("other.fff"), true);
    CheckAgainstOtherBlocks(now, other);

    CheckPlainCopy(c, now);
    CheckAgainstModel(c, now);
    CheckRoundTrips(c);
    return 0;
}
