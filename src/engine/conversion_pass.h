// The steps of the conversion pass over one run's working record.
#pragma once

#include <optional>
#include <string_view>

#include "engine/run_context.h"
#include "engine/run_host.h"

namespace pellimar {

class ConversionPass {
public:
    ConversionPass(RunContext& run, RunHost& host) : run_(run), host_(host) {}

    // The main loop: one step of the current state, then the progress check,
    // until the input ends or a cancel is requested.
    void Run();

private:
    void Step();
    void CopyStep();
    struct Block;
    bool CopyBlock();
    void WriteBlockUpTo(Block& block, const std::uint8_t* to);
    bool RecordCodeInBlock(Block& block, const std::uint8_t* open, const std::uint8_t* close, bool& handedOn);
    bool PlainRecordInBlock(Block& block, const std::uint8_t* after, bool countUnread, bool& handedOn);
    bool RecordThenCodeInBlock(Block& block, const std::uint8_t* open, bool countUnread, bool& handedOn);
    bool WriteReferenceAsking();
    void CodeOpenStep();
    void CopyCodeText();
    std::string ReadCodeLead();
    void CloseCode();
    void CodeCheckStep();
    void CountUnreadIdLevelRecord();
    void NoteCodeLine();
    void PlainRecordCode();
    void CaptureHeading();
    std::string_view LineText(std::string& spill);
    void SkipLineFeedAfterReturn();
    bool HeadingContinues();
    void MatchPageMark();
    void NoteMidLinePage();
    void PageCommit();
    void FinishHeldByte();
    void UpdateProgress();

    bool ReferenceDue() const;
    // `taken`: the record's bytes already read past its code.
    void WriteReference(std::string_view taken);
    void TellObserver(std::string_view taken);
    void BuildReferenceText(bool midLine, bool useHR);

    // Every byte the pass takes comes through these; the input stream itself
    // knows how far it has been read, so nothing is counted by hand.
    // Reads the next byte into Ch; false at the end of the input.
    bool Next() { return run_.Input->TryReadByte(run_.Ch); }
    // Makes Ch the next byte read again.
    void Unread() { run_.Input->PutBack(run_.Ch); }
    // The next byte without taking it; nothing at the end of the input.
    std::optional<std::uint8_t> Peek();
    // Text up to the first byte of delimiters, which stays unread.
    std::string ReadText(std::string_view delimiters) { return run_.Input->ReadUntil(delimiters); }
    // Copies the first `length` bytes of the current read-ahead.
    void CopyAhead(std::size_t length);
    std::int64_t BytesConsumed() const { return run_.Input->ReadPosition(); }

    void Write(std::uint8_t ch) { run_.Output->WriteChar(ch); }
    void Write(std::string_view text) { run_.Output->WriteStr(text); }

    RunContext& run_;
    RunHost& host_;
};

}  // namespace pellimar
