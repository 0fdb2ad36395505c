// What every run does around the pass: the input opened before the host is
// told the run is on, and, whatever ends the run, the output freed, the host
// told it is over, and the input freed, in that order.
#pragma once

#include <functional>

#include "engine/run_context.h"
#include "engine/run_host.h"

namespace pellimar {

// Raises "Cannot open file %s" before anything is shown.
void OpenInput(RunContext& run, const RunSettings& settings);

// Runs `work` (which creates the output and runs the pass) between
// EnterRunning and LeaveRunning, with the input's size taken first. A
// stream error raised once the host asks to cancel is that cancel, not a
// failure: it does not leave.
void WithinRun(RunContext& run, RunHost& host, const std::function<void()>& work);

}  // namespace pellimar
