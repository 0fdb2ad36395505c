// The conversion pass over one run's working record: its main loop, and the
// steps of its states, each kept by the piece whose job it is.
#pragma once

#include "engine/block_copy.h"
#include "engine/code_steps.h"
#include "engine/earlier_reference_taker.h"
#include "engine/heading_capture.h"
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

    // The main loop: one step of the current state, then the progress check,
    // until the input ends or a cancel is requested.
    void Run();

private:
    void Step();
    void CopyStep();
    void MatchPageMark();
    void PageCommit();
    void FinishHeldByte();
    void UpdateProgress();

    PassWork work_;
    PassReferences references_;
    EarlierReferenceTaker earlier_;
    CodeSteps codes_;
    HeadingCapture headings_;
    BlockCopy blocks_;
};

}  // namespace pellimar
