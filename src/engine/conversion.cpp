// Opening and closing a run around the pass's main loop.
#include "engine/conversion.h"

#include "engine/conversion_pass.h"

namespace pellimar {

RunResult RunConversion(const RunSettings& settings, RunHost& host, LevelLists& levels)
{
    RunContext run(settings, levels);
    run.Input = std::make_unique<TS_TextStream>(settings.inputPath, fmOpenRead);
    host.EnterRunning();
    try {
        run.InputSize = run.Input->Size();
        run.Output = std::make_unique<TS_TextStream>(settings.outputPath, fmCreate);
        ConversionPass(run, host).Run();
        // Closing reports a last block that could not be written.
        run.Output->Close();
    } catch (...) {
        run.Output.reset();
        host.LeaveRunning();
        run.Input.reset();
        throw;
    }
    run.Output.reset();
    host.LeaveRunning();
    run.Input.reset();
    return {run.RefCount, host.CancelRequested()};
}

}  // namespace pellimar
