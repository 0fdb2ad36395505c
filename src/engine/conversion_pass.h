// The steps of the conversion pass over one run's working record.
#pragma once

#include <optional>
#include <string_view>

#include "engine/code_head.h"
#include "engine/page_marker.h"
#include "engine/reference_builder.h"
#include "engine/run_context.h"
#include "engine/run_host.h"

namespace pellimar {

enum class PassState { Copy, CodeOpen, CodeCheck, Heading, PageMatch, PageCommit };

// What the text of a reference depends on besides the pattern.
struct ReferenceInputs {
    std::uint64_t levelsVersion = 0;
    std::int32_t page = -1;
    bool midLine = false;
    bool useHR = false;
    bool operator==(const ReferenceInputs&) const = default;
};

// Most records share their reference with the record before: the last
// reference written is kept with what it showed, where its text stands in
// its frame and where its page stands in that.
struct ReferenceCache {
    std::string written;
    std::size_t textStart = 0;
    std::size_t textLength = 0;
    std::size_t pageAt = std::string::npos;
    std::size_t pageLength = 0;
    ReferenceInputs inputs;
    bool valid = false;  // written shows the inputs
    bool built = false;  // written shows the level values of builtVersion
    std::uint64_t builtVersion = 0;
    bool builtUseHR = false;
};

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
    bool CopyBlock();
    void WriteBlockUpTo(Block& block, const std::uint8_t* to);
    bool RecordCodeInBlock(Block& block, const std::uint8_t* open, const std::uint8_t* close, bool& handedOn);
    bool PlainRecordInBlock(Block& block, const std::uint8_t* after, std::size_t stepLength, bool countUnread,
                            bool& handedOn);
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
    bool Next() { return run_.Input->TryReadByte(ch_); }
    // Makes Ch the next byte read again.
    void Unread() { run_.Input->PutBack(ch_); }
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

    PassState state_ = PassState::Copy;
    std::uint8_t ch_ = 0;  // the byte read last
    CodeHead code_;        // what the examination needs of the current code
    std::string headingLevel_;

    // What the references show besides the level values.
    std::uint64_t levelsVersion_ = 0;  // counts changes of the level values
    std::int32_t pageNumber_ = -1;     // -1 while no page is known
    PageMarkerMatcher marker_;
    bool midLinePage_ = false;  // a marker stood inside a line since the last reference
    ReferenceCache cache_;

    // Progress.
    std::int32_t runPercent_ = 0;
    std::int32_t lastPercent_ = -2;   // so that the first step always reports
    std::int64_t nextPercentAt_ = 0;  // bytes consumed at which runPercent_ can next change

    // For a preview: the lines of the current code and of the record code.
    std::int64_t codeLine_ = 0;
    std::int64_t recordLine_ = 0;
};

}  // namespace pellimar
