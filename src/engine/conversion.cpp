// A conversion: the pass between its input and an output that is put in
// place only when the run ends well.
#include "engine/conversion.h"

#include "engine/conversion_pass.h"
#include "engine/run_frame.h"

namespace pellimar {

RunResult RunConversion(const RunSettings& settings, RunHost& host, LevelLists& levels)
{
    RunContext run(settings, levels);
    OpenInput(run, settings);
    std::unique_ptr<OutputFile> output;
    WithinRun(run, host, [&] {
        if (settings.standardOutput) {
            run.Output = TS_TextStream::OverStandardOutput(settings.blockSize);
        } else {
            // Made while the input is open, so that an output that is the
            // input under another name is refused before anything is written.
            output = std::make_unique<OutputFile>(settings.outputPath, settings.replaceOutput);
            run.Output = output->CreateStream(settings.blockSize);
        }
        if (output)
            host.OutputOpened(*output);
        ConversionPass(run, host).Run();
        // Closing reports a last block that could not be written.
        run.Output->Close();
    });
    // Asked once: a cancel that comes while the file is being put in place
    // finds the run complete, and the run is reported as it ended.
    RunResult result{run.RefCount,          host.CancelRequested(), run.UnreadIdLevelRecords,
                     run.EarlierReferencesFound, run.EarlierLookAlikes,   run.ReferencesCut,
                     run.HeadingsCut,          nullptr};
    if (result.cancelled)
        result.partialOutput = std::move(output);
    else if (output)
        output->PutInPlace();
    return result;
}

}  // namespace pellimar
