// The conversion pass over one run's working record: its main loop, which
// takes the pass's steps block by block and reports progress between them.
#pragma once

#include "engine/block_loop.h"
#include "engine/pass_references.h"
#include "engine/pass_work.h"
#include "engine/run_context.h"
#include "engine/run_host.h"

namespace pellimar {

// The pass over one run: its own working state, and the run's settings,
// streams, level lists and results in the run's record.
class ConversionPass {
public:
    ConversionPass(RunContext& run, RunHost& host);

    // The main loop: the steps up to the next progress point, then the
    // progress check, until the input ends or a cancel is requested.
    void Run();

private:
    void UpdateProgress();

    PassWork work_;
    PassReferences references_;
    BlockLoop loop_;
};

}  // namespace pellimar
