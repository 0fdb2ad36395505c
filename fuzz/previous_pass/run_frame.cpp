// The frame of a run.
#include "previous_pass/run_frame.h"

namespace pellimar::previous {

void OpenInput(RunContext& run, const RunSettings& settings)
{
    run.Input = settings.standardInput
                    ? TS_TextStream::OverStandardInput(settings.blockSize)
                    : std::make_unique<TS_TextStream>(settings.inputPath, fmOpenRead, settings.blockSize);
}

void WithinRun(RunContext& run, RunHost& host, const std::function<void()>& work)
{
    host.EnterRunning();
    try {
        run.InputSize = run.Input->DataSize().value_or(-1);
        work();
    } catch (...) {
        run.Output.reset();
        host.LeaveRunning();
        run.Input.reset();
        throw;
    }
    run.Output.reset();
    host.LeaveRunning();
    run.Input.reset();
}

}  // namespace pellimar::previous
