// The conversion pass over one run's working record: its main loop, and the
// steps of its states, each kept by the piece whose job it is.
#pragma once

#include <cstdint>

#include "engine/code_steps.h"
#include "engine/earlier_reference.h"
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
    struct Block;
    // The earlier references between a record code and its record in a
    // block: `found` of them from `start`, right after the code, to `end`,
    // and where a text that only looks like one follows them, if one does.
    struct EarlierInBlock {
        const std::uint8_t* start;
        const std::uint8_t* end;
        std::int32_t found = 0;
        const std::uint8_t* lookAlike = nullptr;

        bool Any() const { return end != start || lookAlike != nullptr; }
    };
    bool CopyBlock();
    bool MarkerInBlock(Block& block, const std::uint8_t* first);
    void WriteBlockUpTo(Block& block, const std::uint8_t* to);
    bool RecordCodeInBlock(Block& block, const std::uint8_t* open, const std::uint8_t* close, bool& handedOn);
    bool EarlierReferencesInBlock(Block& block, EarlierInBlock& earlier);
    void TakeEarlierInBlock(Block& block, const EarlierInBlock& earlier);
    std::int64_t PositionOf(const Block& block, const std::uint8_t* at) const;
    bool PlainRecordInBlock(Block& block, const std::uint8_t* after, const RecordOpening& opening, bool countUnread,
                            const EarlierInBlock& earlier, bool& handedOn);
    bool RecordThenCodeInBlock(Block& block, const std::uint8_t* open, const RecordOpening& opening,
                               bool countUnread, const EarlierInBlock& earlier, bool& handedOn);
    bool WriteReferenceAsking(const Block& block, const std::uint8_t* record);
    void MatchPageMark();
    void PageCommit();
    void FinishHeldByte();
    void UpdateProgress();

    RunContext& run_;
    PassWork work_;
    PassReferences references_;
    EarlierReferenceTaker earlier_;
    CodeSteps codes_;
    HeadingCapture headings_;
    // Frames are told here only within the block's bytes.
    EarlierReferenceFinder finder_;
};

}  // namespace pellimar
