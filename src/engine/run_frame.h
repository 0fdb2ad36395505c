// What every run does around the pass: the input opened before the host is
// told the run is on, and, whatever ends the run, the output freed, the host
// told it is over, and the input freed, in that order.
#pragma once

#include <functional>
#include <string>

#include "engine/run_context.h"
#include "engine/run_host.h"
#include "streams/exceptions.h"

namespace pellimar {

// The input changed under the run: what was made of it is neither the old
// file's conversion nor the new one's. Its message says what became of the
// output.
class EInputChanged : public Exception {
public:
    using Exception::Exception;
};

// Raises "Cannot open file %s" before anything is shown.
void OpenInput(RunContext& run, const RunSettings& settings);

// Runs `work` (which creates the output and runs the pass) between
// EnterRunning and LeaveRunning, with the input's size taken first. A
// stream error raised once the host asks to cancel is that cancel, not a
// failure: it does not leave.
void WithinRun(RunContext& run, RunHost& host, const std::function<void()>& work);

// Raises EInputChanged, "INPUT changed while it was being read; " and what
// `outcome` says became of the output (asked only then), when another
// program changed the input since it was opened.
void CheckInputUnchanged(const RunContext& run, const RunSettings& settings,
                         const std::function<std::string()>& outcome);

}  // namespace pellimar
