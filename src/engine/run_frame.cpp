// The frame of a run.
#include "engine/run_frame.h"

#include <exception>

#include "streams/exceptions.h"

namespace pellimar {

void OpenInput(RunContext& run, const RunSettings& settings)
{
    run.Input = settings.standardInput
                    ? TS_TextStream::OverStandardInput(settings.blockSize)
                    : std::make_unique<TS_TextStream>(settings.inputPath, fmOpenRead, settings.blockSize);
}

void WithinRun(RunContext& run, RunHost& host, const std::function<void()>& work)
{
    host.EnterRunning();
    std::exception_ptr failure;
    try {
        run.InputSize = run.Input->DataSize().value_or(-1);
        work();
        run.BytesRead = run.Input->ReadPosition();
    } catch (const EStreamError&) {
        // A cancel given while a read or write waited (on a terminal, an
        // idle pipe) cuts that transfer short: the run was cancelled, and
        // ends as any cancelled run does.
        if (!host.CancelRequested())
            failure = std::current_exception();
    } catch (...) {
        failure = std::current_exception();
    }
    run.Output.reset();
    host.LeaveRunning();
    run.Input.reset();
    if (failure)
        std::rethrow_exception(failure);
}

void CheckInputUnchanged(const RunContext& run, const RunSettings& settings,
                         const std::function<std::string()>& outcome)
{
    if (!run.Input->ChangedSinceOpened())
        return;
    const std::string input = settings.standardInput ? "standard input" : settings.inputPath;
    throw EInputChanged(input + " changed while it was being read; " + outcome());
}

}  // namespace pellimar
