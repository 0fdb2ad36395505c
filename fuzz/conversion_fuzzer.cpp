// Fuzz target: the conversion pass over arbitrary bytes with options taken
// from the input. The output must be what the plain model of the rules
// writes; the input file must be unchanged; progress must only rise and end
// at 100; a cancelled run must leave the earlier output as it was until its
// own is kept, and that must be a prefix of the full output. Apart from
// the model: without references and without removable markers the output
// is the input itself, byte for byte. And the same pass runs again over the
// same input with blocks of two bytes, too small to hold a "<" and the two
// bytes that say what it opens, so that every code goes through the byte
// steps: both must write the same bytes, make the same counts, ask the same
// questions and report the same progress, cancelled or not.
//
// Input: a switches byte (Not Searched, Remove #'s, Left Justified Only,
// Use <HR>, page question cancelled, and three bits of block size), a cancel
// byte (its top bit: ID record levels; the rest 0 to 100: cancel once that
// percentage is reached, 101: before the first step, above: never), then
// the reference pattern, the page-number
// pattern, the seven level names and the starting-page answer, each ending
// at a NUL, and the rest is the flat file.
#include <cstdint>
#include <string>
#include <vector>

#include "block_size.h"
#include "check.h"
#include "conversion_model.h"
#include "engine/conversion.h"
#include "fuzz_input.h"
#include "scratch_dir.h"
#include "streams/exceptions.h"

namespace pellimar::fuzz {
namespace {

constexpr std::uint8_t kCancelBeforeStart = 101;
constexpr std::size_t kByteStepBlockSize = 2;

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
    bool SwitchOn(RunSwitch runSwitch) const override
    {
        switch (runSwitch) {
        case RunSwitch::LeftJustOnly: return options_.leftJustOnly;
        case RunSwitch::UseHR: return options_.useHR;
        case RunSwitch::IdRecords: return options_.idRecords;
        }
        return false;
    }
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
    std::uint8_t cancelAt = 0;
    std::uint8_t blockSize = 0;
    std::string input;
};

Case ReadCase(FuzzInput& in)
{
    Case c;
    const std::uint8_t switches = in.Byte();
    c.options.notSearched = (switches & 1) != 0;
    c.options.removePageMarks = (switches & 2) != 0;
    c.options.leftJustOnly = (switches & 4) != 0;
    c.options.useHR = (switches & 8) != 0;
    c.blockSize = static_cast<std::uint8_t>(switches >> 5);
    const std::uint8_t cancel = in.Byte();
    c.options.idRecords = (cancel & 0x80) != 0;
    c.cancelAt = cancel & 0x7F;
    c.options.refPattern = in.Field('\0');
    c.options.pagePattern = in.Field('\0');
    for (std::string& name : c.options.levelTexts)
        name = in.Field('\0');
    std::string answer = in.Field('\0');
    if ((switches & 16) == 0)
        c.options.startPage = answer;
    c.input = in.Rest();
    return c;
}

RunSettings SettingsOf(const Case& c, const std::string& inputPath, const std::string& outputPath, bool byteBlocks)
{
    RunSettings settings;
    settings.inputPath = inputPath;
    settings.outputPath = outputPath;
    settings.refPattern = c.options.refPattern;
    settings.pagePattern = c.options.pagePattern;
    for (std::size_t k = 0; k < settings.levelTexts.size(); ++k)
        settings.levelTexts[k] = c.options.levelTexts[k];
    settings.notSearched = c.options.notSearched;
    settings.removePageMarks = c.options.removePageMarks;
    // Inputs of a few hundred bytes still meet blocks of one byte.
    settings.blockSize = byteBlocks ? kByteStepBlockSize : ChosenBlockSize(c.blockSize, c.input.size() / 128);
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
    if (run.result.refCount != 0 || MarkersCanBeRemoved(c.options))
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
        FUZZ_CHECK_EQ(expected.unreadIdLevelRecords, result.unreadIdLevelRecords, "unread ID level records");
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

Outcome Convert(const Case& c, const std::string& inputPath, const std::string& outputPath, bool byteBlocks = false)
{
    const std::string earlier = "an earlier output";
    WriteScratchFile(outputPath, earlier);
    FuzzHost host(c.options, c.cancelAt);
    Outcome outcome;
    try {
        outcome.result = RunConversion(SettingsOf(c, inputPath, outputPath, byteBlocks), host, outcome.levels);
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

// The pass takes what it can of a block at once; with the smallest blocks
// it goes byte by byte, and both ways must be the same run.
void CheckAgainstByteSteps(const Outcome& blocks, const Outcome& bytes)
{
    FUZZ_CHECK_EQ(bytes.output, blocks.output, "the output of the byte steps");
    FUZZ_CHECK_EQ(bytes.result.refCount, blocks.result.refCount, "the byte steps' reference count");
    FUZZ_CHECK(bytes.result.cancelled == blocks.result.cancelled, "cancelled as in the byte steps");
    FUZZ_CHECK_EQ(bytes.result.unreadIdLevelRecords, blocks.result.unreadIdLevelRecords,
                  "the byte steps' unread ID level records");
    FUZZ_CHECK_EQ(bytes.pageQuestions, blocks.pageQuestions, "the byte steps' page questions");
    FUZZ_CHECK(bytes.percents == blocks.percents, "the byte steps' progress");
    for (std::size_t k = 0; k < blocks.levels.values.size(); ++k)
        FUZZ_CHECK_EQ(bytes.levels.values[k], blocks.levels.values[k], "level values as in the byte steps");
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

    const Outcome now = Convert(c, inputPath, ScratchFile("out.fff"));
    FUZZ_CHECK_EQ(c.input, ReadScratchFile(inputPath), "the input file is never changed");
    const Outcome byteSteps = Convert(c, inputPath, ScratchFile("bytes.fff"), true);
    CheckAgainstByteSteps(now, byteSteps);

    CheckPlainCopy(c, now);
    CheckAgainstModel(c, now);
    return 0;
}
