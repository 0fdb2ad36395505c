// Set-up and tear-down of a run around the pass's main loop.
#include "engine/conversion.h"

#include "engine/conversion_pass.h"
#include "engine/levels.h"
#include "engine/patterns.h"

namespace pellimar {
namespace {

void SetUp(RunContext& c, const RunSettings& settings, LevelLists& levels)
{
    c.RunPercent = 0;
    c.LastPercent = -2;
    c.Levels = &levels;
    levels.names = PrepareLevelNames(settings.levelTexts);
    ResetRunState(c, settings);
    c.MidLinePage = false;
    c.RefPattern = settings.refPattern;
    c.RefPieces = SplitRefPattern(c.RefPattern);
    c.RefLevel = FirstPatternLevel(c.RefPattern);
    if (!c.PagePattern.empty()) {
        c.PageFirst = static_cast<std::uint8_t>(c.PagePattern[0]);
        const std::size_t hash = c.PagePattern.find('#');
        c.PageLead = hash == std::string::npos ? -1 : static_cast<std::int32_t>(hash);
    }
}

}  // namespace

RunResult RunConversion(const RunSettings& settings, RunHost& host, LevelLists& levels)
{
    RunContext c;
    SetUp(c, settings, levels);
    c.Input = std::make_unique<TS_TextStream>(settings.inputPath, fmOpenRead);
    host.EnterRunning();
    try {
        c.BytesConsumed = 0;
        c.InputSize = c.Input->Size();
        c.Output = std::make_unique<TS_TextStream>(settings.outputPath, fmCreate);
        c.State = PassState::Copy;
        ConversionPass(c, host).Run();
        // Closing reports a last block that could not be written.
        c.Output->Close();
    } catch (...) {
        c.Output.reset();
        host.LeaveRunning();
        c.Input.reset();
        throw;
    }
    c.Output.reset();
    host.LeaveRunning();
    c.Input.reset();
    return {c.RefCount, host.CancelRequested()};
}

}  // namespace pellimar
