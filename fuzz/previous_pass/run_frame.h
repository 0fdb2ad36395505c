// What every run does around the pass: the input opened before the host is
// told the run is on, and, whatever ends the run, the output freed, the host
// told it is over, and the input freed, in that order.
#pragma once

#include <functional>

#include "previous_pass/run_context.h"
#include "engine/run_host.h"

namespace pellimar::previous {

// Raises "Cannot open file %s" before anything is shown.
void OpenInput(RunContext& run, const RunSettings& settings);

// Runs `work` (which creates the output and runs the pass) between
// EnterRunning and LeaveRunning, with the input's size taken first.
void WithinRun(RunContext& run, RunHost& host, const std::function<void()>& work);

}  // namespace pellimar::previous
