// The steps of the conversion pass over one run's working record.
#pragma once

#include <optional>
#include <string_view>

#include "previous_pass/run_context.h"
#include "engine/run_host.h"

namespace pellimar::previous {

class ConversionPass {
public:
    ConversionPass(RunContext& run, RunHost& host) : run_(run), host_(host) {}

    // The main loop: one step of the current state, then the progress check,
    // until the input ends or a cancel is requested.
    void Run();

private:
    void Step();
    void CopyStep();
    bool CopyPlainRun();
    bool CopyWholeCode();
    void CodeOpenStep();
    void CopyCodeText();
    std::string ReadCodeLead();
    void CloseCode();
    void CodeCheckStep();
    void CountUnreadIdLevelRecord();
    void NoteCodeLine();
    void PlainRecordCode();
    void CaptureHeading();
    void SkipLineFeedAfterReturn();
    bool HeadingContinues();
    void MatchPageMark();
    bool ReadMarker(HeldText& held);
    bool MatchPageHead(HeldText& held);
    std::optional<std::uint8_t> ReadPageDigits(HeldText& held, std::size_t& count);
    bool MatchPageTail(HeldText& held, std::optional<std::uint8_t> afterDigits);
    void NoteMidLinePage();
    void PageCommit();
    void FinishHeldByte();
    void UpdateProgress();

    bool ReferenceDue() const;
    // `taken`: the record's bytes already read past its code.
    void WriteReference(std::string_view taken);
    void TellObserver(std::string_view taken);
    void BuildReference(std::string& text, bool midLine, bool useHR);
    void AppendPage(std::string& text, bool midLine);

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

}  // namespace pellimar::previous
