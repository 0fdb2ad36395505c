// The pass's main loop, the byte steps of the copy and code states, and
// progress. Most of the input never reaches the byte steps: the copy state
// first takes what it can of the current block at once (block_copy.cpp).
#include "engine/conversion_pass.h"

#include <algorithm>
#include <cstring>

#include "engine/levels.h"
#include "engine/patterns.h"

namespace pellimar {
namespace {

std::size_t LongestName(const LevelLists& levels)
{
    std::size_t longest = 0;
    for (const std::string& name : levels.names)
        longest = std::max(longest, name.size());
    return longest;
}

// The bytes of a record's opening taken before its reference: of "<<" only
// the first, so that a preview's look at the record starts where it always
// has.
std::size_t TakenBeforeReference(const RecordOpening& opening)
{
    return opening.start == RecordStart::Text ? 1 : opening.length;
}

}  // namespace

ConversionPass::ConversionPass(RunContext& run, RunHost& host)
    : run_(run),
      host_(host),
      code_(std::max(LongestName(run.Levels), kLongestCountedLevelName)),
      page_(run.PagePattern, run.RemovePageMarks),
      writer_(run.RefPattern, run.NotSearched, run.LongestEarlierReference),
      progress_(run.InputSize),
      earlier_(run.LongestEarlierReference)
{
    ReadSwitches();
    // An input without a size cannot be read again to find the lines of
    // what the run tells of: its lines are followed as it is read.
    if (!run_.Lines && run_.InputSize < 0) {
        run_.Lines = std::make_unique<LineCounter>();
        run_.Lines->Attach(*run_.Input);
    }
}

std::optional<std::uint8_t> ConversionPass::Peek()
{
    std::uint8_t next;
    if (!run_.Input->TryReadByte(next))
        return std::nullopt;
    run_.Input->PutBack(next);
    return next;
}

void ConversionPass::Run()
{
    while (!run_.Input->Eof() && !host_.CancelRequested() && !(run_.Observer && run_.Observer->Enough())) {
        Step();
        UpdateProgress();
    }
    FinishHeldByte();
    // Without a size there is no 100%: the caller learns the whole count.
    if (run_.InputSize < 0 && !host_.CancelRequested())
        host_.ProgressChanged(-1, BytesConsumed());
    places_.FindLines(*run_.Input);
}

void ConversionPass::Note(Tally& tally, std::int64_t position)
{
    places_.Note(tally, position, run_.Lines.get());
}

void ConversionPass::Step()
{
    switch (state_) {
    case PassState::Copy: CopyStep(); break;
    case PassState::CodeOpen: CodeOpenStep(); break;
    case PassState::CodeCheck: CodeCheckStep(); break;
    case PassState::Heading: CaptureHeading(); break;
    case PassState::PageMatch: MatchPageMark(); break;
    case PassState::PageCommit: PageCommit(); break;
    }
}

void ConversionPass::CopyStep()
{
    if (CopyBlock() || !Next())
        return;
    if (run_.LooksForMarkers && ch_ == run_.PageFirst) {
        state_ = PassState::PageMatch;
        return;
    }
    Write(ch_);
    if (ch_ == '<' && !TakeEscapedOpen())
        state_ = PassState::CodeOpen;
}

// After a "<": a second "<" makes the two a "<" meant as text, copied as
// they stand; the pass stays in the text. True when it was so.
bool ConversionPass::TakeEscapedOpen()
{
    if (Peek() != std::optional<std::uint8_t>('<'))
        return false;
    Next();
    Write(ch_);
    return true;
}

void ConversionPass::CodeOpenStep()
{
    NoteCodeLine();
    code_.Start();
    CopyCodeText();
    state_ = PassState::Copy;
    CloseCode();
}

// Copies the rest of a code's text, up to its ">", as it comes: a code can
// be of any length, and only what its examination needs is held.
void ConversionPass::CopyCodeText()
{
    while (const std::optional<std::uint8_t> next = Peek()) {
        const std::span<const std::uint8_t> ahead = run_.Input->ReadAhead();
        const auto* close = static_cast<const std::uint8_t*>(std::memchr(ahead.data(), '>', ahead.size()));
        const std::size_t length = close != nullptr ? static_cast<std::size_t>(close - ahead.data()) : ahead.size();
        code_.Feed(std::string_view(reinterpret_cast<const char*>(ahead.data()), length));
        run_.Output->WriteBytes(ahead.data(), length);
        run_.Input->Consume(length);
        if (close != nullptr)
            return;
    }
}

// Copies the ">" that ends the code and sends the code to be examined. A
// code cut off by the end of the input is only copied.
void ConversionPass::CloseCode()
{
    if (!Next())
        return;
    Write(ch_);
    state_ = PassState::CodeCheck;
}

void ConversionPass::CodeCheckStep()
{
    state_ = PassState::Copy;
    const bool idRecords = switches_.idRecords;
    switch (code_.Kind(idRecords)) {
    case CodeKind::LevelRecord:
        headingLevel_ = code_.LevelName(idRecords);
        state_ = PassState::Heading;
        break;
    case CodeKind::RecordCode:
        if (!idRecords)
            CountUnreadIdLevelRecord();
        recordLine_ = codeLine_;
        PlainRecordCode();
        break;
    case CodeKind::Other: break;
    }
}

// A record code that ID record levels would read as a level record for one
// of the level names: the caller can tell the user why such a file gets no
// references.
void ConversionPass::CountUnreadIdLevelRecord()
{
    if (code_.Kind(true) != CodeKind::LevelRecord)
        return;
    const std::string_view name = code_.LevelName(true);
    if (!name.empty() && FindLevel(run_.Levels, name) != -1)
        ++run_.UnreadIdLevelRecords;
}

// After a plain record code: a reference goes right after its ">", before
// the record's first character or first code, when the record's opening
// wants one and the levels make it due.
void ConversionPass::PlainRecordCode()
{
    recordAt_ = BytesConsumed();
    TakeEarlierReferences();
    const std::int64_t openingAt = BytesConsumed();
    std::uint8_t bytes[kLongestRecordOpening + 1];
    const RecordOpening opening = ReadRecordOpening(bytes);
    const std::size_t held = TakenBeforeReference(opening);
    const std::string_view taken(reinterpret_cast<const char*>(bytes), held);
    if (opening.start == RecordStart::Code)
        NoteCodeLineAt(openingAt);
    if (opening.reference && ReferenceDue()) {
        WriteReference(taken);
        NoteCutReference();
    }
    if (opening.laterLineUnreferenced && ReferenceDue())
        ++run_.LaterLineRecords;
    WriteKeptEarlierReferences();
    Write(taken);
    if (opening.length > held)
        TakeEscapedOpen();
    else if (opening.start == RecordStart::Code)
        CopyRecordCodeLead(taken.substr(1));
}

// Takes the record's opening byte by byte, as far as it must be read to be
// told; a byte read past what is taken before the reference is the one read
// last, and goes back.
RecordOpening ConversionPass::ReadRecordOpening(std::uint8_t (&bytes)[kLongestRecordOpening + 1])
{
    std::size_t read = 0;
    bool ends = false;
    for (;;) {
        const RecordOpening opening = OpeningAfterRecordCode({bytes, read}, ends, switches_.records);
        if (opening.start != RecordStart::More) {
            if (read > TakenBeforeReference(opening))
                Unread();
            return opening;
        }
        if (read == 1 && (ch_ == '\r' || ch_ == '\n'))
            return LaterLineOpening();
        if (Next())
            bytes[read++] = ch_;
        else
            ends = true;
    }
}

// After a record code that ends its line, its line break read: the bytes
// that follow are looked at without taking them, in steps that double, so
// that a record that soon shows its text costs little.
RecordOpening ConversionPass::LaterLineOpening()
{
    const std::size_t most = 1 + kLaterLineReach + kLongestRecordOpening;
    for (std::size_t wanted = 64;; wanted = std::min(2 * wanted, most)) {
        laterLine_.resize(wanted);
        laterLine_[0] = ch_;
        const std::size_t got = run_.Input->CopyAhead(0, std::span(laterLine_).subspan(1));
        const bool ends = got < wanted - 1;
        const RecordOpening opening =
            OpeningAfterRecordCode(std::span(laterLine_).first(1 + got), ends, switches_.records);
        if (opening.start != RecordStart::More || ends || wanted == most)
            return opening.start != RecordStart::More ? opening : RecordOpening{RecordStart::LineEnd, 1, false};
    }
}

// The code that opens the record, after its "<" and lead: copied and
// examined in turn, as a record code or level record may follow at once.
void ConversionPass::CopyRecordCodeLead(std::string_view lead)
{
    code_.Start();
    code_.Feed(lead);
    CopyCodeText();
    CloseCode();
}

// Right after a record code: the references earlier runs wrote there, one
// after another, are taken out before anything reads what follows the code,
// so that they are never part of a heading, their markers are not seen, and
// the record's first code is the one after them. Kept, they are written
// again after the record's new reference.
void ConversionPass::TakeEarlierReferences()
{
    while (EarlierReferenceMayStart()) {
        const EarlierFrameMatch match = earlier_.At(*run_.Input);
        if (match.kind == EarlierFrame::LookAlike)
            Note(run_.EarlierLookAlikes, BytesConsumed());
        if (match.kind != EarlierFrame::Found)
            return;
        ++run_.EarlierReferencesFound;
        TakeBytes(match.length, run_.Earlier == EarlierReferences::Keep ? &keptEarlier_ : nullptr);
    }
}

// Most records open with text or with another code, which the block shows
// at once; at its end the finder looks further.
bool ConversionPass::EarlierReferenceMayStart()
{
    const std::span<const std::uint8_t> ahead = run_.Input->ReadAhead();
    if (ahead.size() >= 2)
        return ahead[0] == '<' && ahead[1] == 'C';
    return Peek() == std::optional<std::uint8_t>('<');
}

// Takes `count` bytes that are known to be there, holding them in `into`
// when given.
void ConversionPass::TakeBytes(std::size_t count, HeldText* into)
{
    while (count > 0 && Peek()) {
        const std::span<const std::uint8_t> ahead = run_.Input->ReadAhead();
        const std::size_t taken = std::min(count, ahead.size());
        if (into != nullptr)
            into->Append(std::string_view(reinterpret_cast<const char*>(ahead.data()), taken));
        run_.Input->Consume(taken);
        count -= taken;
    }
}

void ConversionPass::WriteKeptEarlierReferences()
{
    if (keptEarlier_.Empty())
        return;
    keptEarlier_.WriteTo(*run_.Output);
    keptEarlier_.Clear();
}

// The line of the "<" just read, when a preview watches the references.
void ConversionPass::NoteCodeLine()
{
    NoteCodeLineAt(BytesConsumed() - 1);
}

void ConversionPass::NoteCodeLineAt(std::int64_t position)
{
    if (run_.Observer && run_.Lines)
        codeLine_ = run_.Lines->LineOf(position);
}

// A byte held back for a marker attempt that never ran (the input ended or
// the run was cancelled right after it) still belongs in the output.
void ConversionPass::FinishHeldByte()
{
    if (state_ == PassState::PageMatch) {
        Write(ch_);
        state_ = PassState::Copy;
    }
}

void ConversionPass::UpdateProgress()
{
    const std::int64_t consumed = BytesConsumed();
    if (consumed < progress_.NextAt())
        return;
    if (const std::optional<std::int32_t> percent = progress_.Reached(consumed)) {
        host_.ProgressChanged(*percent, consumed);
        ReadSwitches();
    }
}

void ConversionPass::ReadSwitches()
{
    switches_ = {{host_.LeftJustOnly(), host_.LineEndRecords()}, host_.UseHR(), host_.IdRecords()};
}

}  // namespace pellimar
