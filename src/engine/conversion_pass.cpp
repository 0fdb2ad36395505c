// The pass's main loop and progress. The steps themselves are taken block by
// block (block_loop.cpp), which returns here at each progress point and
// wherever the run must be looked at before the next step.
#include "engine/conversion_pass.h"

namespace pellimar {

ConversionPass::ConversionPass(RunContext& run, RunHost& host)
    : work_(run, host), references_(work_), loop_(work_, references_)
{
}

void ConversionPass::Run()
{
    RunContext& run = work_.run;
    RunHost& host = work_.host;
    while (!work_.input.Eof() && !host.CancelRequested() && !(run.Observer && run.Observer->Enough())) {
        loop_.Advance();
        UpdateProgress();
    }
    loop_.Finish();
    // Without a size there is no 100%: the caller learns the whole count.
    if (run.InputSize < 0 && !host.CancelRequested())
        host.ProgressChanged(-1, work_.BytesConsumed());
    work_.places.FindLines(work_.input);
}

void ConversionPass::UpdateProgress()
{
    const std::int64_t consumed = work_.BytesConsumed();
    if (consumed < work_.progress.NextAt())
        return;
    if (const std::optional<std::int32_t> percent = work_.progress.Reached(consumed)) {
        work_.host.ProgressChanged(*percent, consumed);
        work_.ReadSwitches();
    }
}

}  // namespace pellimar
