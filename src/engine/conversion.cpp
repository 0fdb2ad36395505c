// Opening and closing a run around the pass's main loop.
#include "engine/conversion.h"

#include "engine/conversion_pass.h"

namespace pellimar {

RunResult RunConversion(const RunSettings& settings, RunHost& host, LevelLists& levels)
{
    RunContext run(settings, levels);
    run.Input = settings.standardInput ? TS_TextStream::OverStandardInput()
                                       : std::make_unique<TS_TextStream>(settings.inputPath, fmOpenRead);
    host.EnterRunning();
    std::unique_ptr<OutputFile> output;
    try {
        run.InputSize = run.Input->DataSize().value_or(-1);
        if (settings.standardOutput) {
            run.Output = TS_TextStream::OverStandardOutput();
        } else {
            // Made while the input is open, so that an output that is the
            // input under another name is refused before anything is written.
            output = std::make_unique<OutputFile>(settings.outputPath);
            run.Output = output->CreateStream();
        }
        ConversionPass(run, host).Run();
        // Closing reports a last block that could not be written.
        run.Output->Close();
        if (output && !host.CancelRequested())
            output->PutInPlace();
    } catch (...) {
        run.Output.reset();
        output.reset();
        host.LeaveRunning();
        run.Input.reset();
        throw;
    }
    run.Output.reset();
    host.LeaveRunning();
    run.Input.reset();
    RunResult result{run.RefCount, host.CancelRequested(), run.UnreadIdLevelRecords, nullptr};
    if (result.cancelled)
        result.partialOutput = std::move(output);
    return result;
}

}  // namespace pellimar
