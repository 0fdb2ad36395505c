// The pass's main loop, the byte step of the copy state, the two page-number
// states, and progress. Most of the input never reaches the byte step: the
// copy state first takes what it can of the current block at once
// (block_copy.cpp).
#include "engine/conversion_pass.h"

namespace pellimar {

ConversionPass::ConversionPass(RunContext& run, RunHost& host)
    : work_(run, host),
      references_(work_),
      earlier_(work_),
      codes_(work_, references_, earlier_),
      headings_(work_, earlier_),
      blocks_(work_, references_, codes_, headings_)
{
}

void ConversionPass::Run()
{
    RunContext& run = work_.run;
    RunHost& host = work_.host;
    while (!work_.input.Eof() && !host.CancelRequested() && !(run.Observer && run.Observer->Enough())) {
        Step();
        UpdateProgress();
    }
    FinishHeldByte();
    // Without a size there is no 100%: the caller learns the whole count.
    if (run.InputSize < 0 && !host.CancelRequested())
        host.ProgressChanged(-1, work_.BytesConsumed());
    work_.places.FindLines(work_.input);
}

void ConversionPass::Step()
{
    switch (work_.state) {
    case PassState::Copy: CopyStep(); break;
    case PassState::CodeOpen: codes_.Open(); break;
    case PassState::CodeCheck: codes_.Check(); break;
    case PassState::Heading: headings_.Capture(); break;
    case PassState::PageMatch: MatchPageMark(); break;
    case PassState::PageCommit: PageCommit(); break;
    }
}

void ConversionPass::CopyStep()
{
    if (blocks_.Copy() || !work_.Next())
        return;
    const std::uint8_t ch = work_.ch;
    if (work_.run.LooksForMarkers && ch == work_.run.PageFirst) {
        work_.state = PassState::PageMatch;
        return;
    }
    work_.Write(ch);
    if (ch == '<' && !work_.TakeEscapedOpen())
        work_.state = PassState::CodeOpen;
}

// Entered with ch, the pattern's first byte, read but not written.
void ConversionPass::MatchPageMark()
{
    work_.state = work_.page.Attempt(work_.input, work_.ch, work_.output) ? PassState::PageCommit : PassState::Copy;
}

void ConversionPass::PageCommit()
{
    work_.page.Commit();
    work_.state = PassState::Copy;
}

// A byte held back for a marker attempt that never ran (the input ended or
// the run was cancelled right after it) still belongs in the output.
void ConversionPass::FinishHeldByte()
{
    if (work_.state == PassState::PageMatch) {
        work_.Write(work_.ch);
        work_.state = PassState::Copy;
    }
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
