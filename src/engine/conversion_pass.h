// The steps of the conversion pass over one run's working record.
#pragma once

#include <string_view>

#include "engine/run_context.h"
#include "engine/run_host.h"

namespace pellimar {

// The reference pattern cut at each level digit and "#".
std::vector<RefPiece> SplitRefPattern(std::string_view pattern);

// The run-start reset of the level values, patterns, page and switches.
void ResetRunState(RunContext& context, const RunSettings& settings);

class ConversionPass {
public:
    ConversionPass(RunContext& context, RunHost& host) : c(context), host(host) {}

    // The main loop: one step of the current state, then the progress check,
    // until the input ends or a cancel is requested.
    void Run();

private:
    void Step();
    void CopyStep();
    bool CopyPlainRun();
    bool CopyWholeCode();
    void CodeOpenStep();
    void CloseCode();
    void CodeCheckStep();
    void PlainRecordCode();
    void CaptureHeading();
    void MatchPageMark();
    void PageCommit();
    void FinishHeldByte();
    void UpdateProgress();

    bool ReferenceDue() const;
    void WriteReference();
    void BuildReference(std::string& text, bool midLine, bool useHR);
    void AppendPage(std::string& text, bool midLine);

    // Reads the next input byte into Ch and counts it; false at the end of the input.
    bool Next();
    void Write(std::uint8_t ch) { c.Output->WriteChar(ch); }
    void Write(std::string_view text) { c.Output->WriteStr(text); }

    RunContext& c;
    RunHost& host;
};

}  // namespace pellimar
