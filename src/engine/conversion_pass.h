// The steps of the conversion pass over one run's working record.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "engine/code_head.h"
#include "engine/earlier_reference.h"
#include "engine/held_text.h"
#include "engine/levels.h"
#include "engine/page_tracker.h"
#include "engine/progress_points.h"
#include "engine/record_opening.h"
#include "engine/reference_writer.h"
#include "engine/run_context.h"
#include "engine/run_host.h"

namespace pellimar {

enum class PassState { Copy, CodeOpen, CodeCheck, Heading, PageMatch, PageCommit };

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
    bool TakeEscapedOpen();
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
    void CodeOpenStep();
    void CopyCodeText();
    void CloseCode();
    void CodeCheckStep();
    void CountUnreadIdLevelRecord();
    void NoteCodeLine();
    void NoteCodeLineAt(std::int64_t position);
    void PlainRecordCode();
    RecordOpening ReadRecordOpening(std::uint8_t (&bytes)[kLongestRecordOpening + 1]);
    void CopyRecordCodeLead(std::string_view lead);
    RecordOpening LaterLineOpening();
    void TakeEarlierReferences();
    bool EarlierReferenceMayStart();
    void TakeBytes(std::size_t count, HeldText* into);
    void WriteKeptEarlierReferences();
    void CaptureHeading();
    bool CopyHeadingLine(std::optional<HeadingValue>& value);
    bool HeadingContinues();
    void MatchPageMark();
    void PageCommit();
    void FinishHeldByte();
    void UpdateProgress();
    // One more event for the user to be told of, at `position` of the input.
    void Note(Tally& tally, std::int64_t position);

    // The switches, read again only where the host may change them: after
    // a progress report and after the page question.
    void ReadSwitches();
    bool ReferenceDue() const;
    // `taken`: the record's bytes already read past its code. The caller
    // notes a reference that was cut.
    void WriteReference(std::string_view taken);
    void NoteCutReference();
    void TellObserver(std::string_view taken);

    // Every byte the pass takes comes through these; the input stream itself
    // knows how far it has been read, so nothing is counted by hand.
    // Reads the next byte into Ch; false at the end of the input.
    bool Next() { return run_.Input->TryReadByte(ch_); }
    // Makes Ch the next byte read again.
    void Unread() { run_.Input->PutBack(ch_); }
    // The next byte without taking it; nothing at the end of the input.
    std::optional<std::uint8_t> Peek();
    std::int64_t BytesConsumed() const { return run_.Input->ReadPosition(); }

    void Write(std::uint8_t ch) { run_.Output->WriteChar(ch); }
    void Write(std::string_view text) { run_.Output->WriteStr(text); }

    RunContext& run_;
    RunHost& host_;

    struct Switches {
        RecordRules records;
        bool useHR = false;
        bool idRecords = false;
    };
    Switches switches_;
    PassState state_ = PassState::Copy;
    std::uint8_t ch_ = 0;  // the byte read last
    CodeHead code_;        // what the examination needs of the current code
    std::string headingLevel_;

    PageTracker page_;
    ReferenceWriter writer_;
    ProgressPoints progress_;
    EarlierReferenceFinder earlier_;
    NotedPlaces places_;
    // The earlier references after the current record code, when they are
    // kept: they follow its new reference.
    HeldText keptEarlier_;
    // What follows a record code that ends its line, looked at to find
    // where its record begins.
    std::vector<std::uint8_t> laterLine_;

    // For a preview: the lines of the current code and of the record code.
    std::int64_t codeLine_ = 0;
    std::int64_t recordLine_ = 0;
    // Where the current record's text begins in the input, right after its
    // record code, for the byte steps: the place of a reference cut to fit.
    std::int64_t recordAt_ = 0;
};

}  // namespace pellimar
