// A conversion: the pass between its input and an output that is put in
// place only when the run ends well.
#include "engine/conversion.h"

#include "engine/conversion_pass.h"
#include "engine/run_frame.h"

namespace pellimar {
namespace {

// Each run's output is held to its own input, as named and as opened, and
// to the other files of the collection it is part of.
OutputGuard GuardOf(const RunSettings& settings, const TS_TextStream& input)
{
    std::shared_ptr<RunFiles> files = settings.runFiles;
    if (settings.standardInput)
        return {std::move(files), settings.inputPath};
    if (!files) {
        files = std::make_shared<RunFiles>();
        files->AddInput(settings.inputPath);
    }
    if (const std::optional<FileIdentity> opened = input.RegularFile())
        files->AddOpenedInput(*opened, settings.inputPath);
    return {std::move(files), settings.inputPath};
}

// What becomes of the output of a run whose input changed under it: a file
// under the output's name stays as it was, one written in place is removed
// as after a cancel.
std::string OutputOfChangedInput(const RunSettings& settings, OutputFile* output)
{
    if (output == nullptr)
        return "what went to standard output may be incomplete";
    const std::string& path = settings.outputPath;
    if (output->WritesToDevice())
        return "what went to " + path + " may be incomplete";
    if (!output->WritesInPlace())
        return path + (output->ReplacesFile() ? " was left as it was" : " was not written");
    if (output->Discard())
        return path + " was removed";
    return path + " could not be removed (" + LastFailureReason() + ") and holds what was written";
}

}  // namespace

RunResult RunConversion(const RunSettings& settings, RunHost& host, LevelLists& levels)
{
    if (settings.dryRun)
        return RunToNowhere(settings, host, levels);
    RunContext run(settings, levels);
    OpenInput(run, settings);
    std::unique_ptr<OutputFile> output;
    WithinRun(run, host, [&] {
        if (settings.standardOutput) {
            run.Output = TS_TextStream::OverStandardOutput(settings.blockSize);
        } else {
            // Made while the input is open, so that an output that is the
            // input under another name is refused before anything is written.
            output = std::make_unique<OutputFile>(settings.outputPath, settings.replaceOutput,
                                                  GuardOf(settings, *run.Input));
            run.Output = output->CreateStream(settings.blockSize);
        }
        if (output)
            host.OutputOpened(*output);
        ConversionPass(run, host).Run();
        // Closing reports a last block that could not be written.
        run.BytesWritten = run.Output->Position();
        run.Output->Close();
        if (!host.CancelRequested())
            CheckInputUnchanged(run, settings, [&] { return OutputOfChangedInput(settings, output.get()); });
    });
    // Asked once: a cancel that comes while the file is being put in place
    // finds the run complete, and the run is reported as it ended.
    RunResult result{run.RefCount, host.CancelRequested(), run.Found,       std::move(run.LevelsSeen),
                     nullptr,      run.BytesRead,          run.BytesWritten};
    if (result.cancelled)
        result.partialOutput = std::move(output);
    else if (output)
        output->PutInPlace();
    return result;
}

}  // namespace pellimar
