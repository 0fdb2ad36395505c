// The pass's main loop, the copy and code states, and progress.
//
// Plain text between codes is the bulk of a flat file, so the copy state
// moves runs of ordinary bytes block to block at once. A run never crosses a
// byte at which the whole percentage changes, so the caller sees progress
// after exactly the same bytes as with one byte per step.
#include "previous_pass/conversion_pass.h"

#include <algorithm>
#include <cstring>

#include "engine/levels.h"
#include "engine/patterns.h"
#include "streams/text_util.h"

namespace pellimar::previous {
namespace {

// An input without a size reports progress after each such many bytes.
constexpr std::int64_t kUnsizedProgressStep = 1 << 20;

}  // namespace

std::optional<std::uint8_t> ConversionPass::Peek()
{
    std::uint8_t next;
    if (!run_.Input->TryReadByte(next))
        return std::nullopt;
    run_.Input->PutBack(next);
    return next;
}

void ConversionPass::CopyAhead(std::size_t length)
{
    run_.Output->WriteBytes(run_.Input->ReadAhead().data(), length);
    run_.Input->Consume(length);
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
}

void ConversionPass::Step()
{
    switch (run_.State) {
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
    if (CopyPlainRun() || CopyWholeCode() || !Next())
        return;
    // A pattern that starts with "<" must not swallow codes: the code wins.
    if (run_.Ch != '<' && run_.RefHasPage && run_.PageLead >= 0 && run_.Ch == run_.PageFirst) {
        run_.State = PassState::PageMatch;
        return;
    }
    Write(run_.Ch);
    if (run_.Ch == '<')
        run_.State = PassState::CodeOpen;
}

// Copies bytes that neither open a code nor may begin a marker, as far as
// the current input block and the next progress point allow. False when the
// next byte needs the single-byte step.
bool ConversionPass::CopyPlainRun()
{
    const std::span<const std::uint8_t> ahead = run_.Input->ReadAhead();
    const std::int64_t untilProgress = run_.NextPercentAt - BytesConsumed();
    if (ahead.empty() || untilProgress <= 0)
        return false;
    std::size_t length = std::min<std::size_t>(ahead.size(), static_cast<std::size_t>(untilProgress));
    if (const void* code = std::memchr(ahead.data(), '<', length))
        length = static_cast<const std::uint8_t*>(code) - ahead.data();
    if (run_.RefHasPage && run_.PageLead >= 0) {
        if (const void* mark = std::memchr(ahead.data(), run_.PageFirst, length))
            length = static_cast<const std::uint8_t*>(mark) - ahead.data();
    }
    if (length == 0)
        return false;
    CopyAhead(length);
    return true;
}

// Copies a code that is not a record code in one go when all of it is in
// the current block and no progress point falls inside it: the three steps
// that would copy and examine it one after another then have nothing to
// show in between.
bool ConversionPass::CopyWholeCode()
{
    const std::span<const std::uint8_t> ahead = run_.Input->ReadAhead();
    if (ahead.size() < 3 || ahead[0] != '<')
        return false;
    const std::int64_t room = run_.NextPercentAt - BytesConsumed();
    const std::size_t within = std::min<std::size_t>(ahead.size(), room > 0 ? static_cast<std::size_t>(room) : 0);
    if (within < 3)
        return false;
    const void* close = std::memchr(ahead.data() + 1, '>', within - 1);
    if (close == nullptr)
        return false;
    const auto length = static_cast<std::size_t>(static_cast<const std::uint8_t*>(close) - ahead.data()) + 1;
    const bool recordCode = ToUpperAscii(static_cast<char>(ahead[1])) == 'R' &&
                            ToUpperAscii(static_cast<char>(ahead[2])) == 'D';
    if (recordCode || static_cast<std::int64_t>(length) >= room)
        return false;
    CopyAhead(length);
    return true;
}

void ConversionPass::CodeOpenStep()
{
    NoteCodeLine();
    run_.Code.Start();
    CopyCodeText();
    run_.State = PassState::Copy;
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
        run_.Code.Feed(std::string_view(reinterpret_cast<const char*>(ahead.data()), length));
        CopyAhead(length);
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
    Write(run_.Ch);
    run_.State = PassState::CodeCheck;
}

void ConversionPass::CodeCheckStep()
{
    run_.State = PassState::Copy;
    const bool idRecords = host_.IdRecords();
    switch (run_.Code.Kind(idRecords)) {
    case CodeKind::LevelRecord:
        run_.HeadingLevel = run_.Code.LevelName(idRecords);
        run_.State = PassState::Heading;
        break;
    case CodeKind::RecordCode:
        if (!idRecords)
            CountUnreadIdLevelRecord();
        run_.RecordLine = run_.CodeLine;
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
    if (run_.Code.Kind(true) != CodeKind::LevelRecord)
        return;
    const std::string_view name = run_.Code.LevelName(true);
    if (!name.empty() && FindLevel(run_.Levels, name) != -1)
        ++run_.UnreadIdLevelRecords;
}

// After a plain record code: a reference goes right after its ">", before
// the record's first character or first code, unless the code ends its line.
void ConversionPass::PlainRecordCode()
{
    if (!Next())
        return;
    if (run_.Ch == '\r' || run_.Ch == '\n') {
        Write(run_.Ch);
        return;
    }
    if (run_.Ch != '<') {
        if (ReferenceDue())
            WriteReference(std::string_view(reinterpret_cast<const char*>(&run_.Ch), 1));
        Write(run_.Ch);
        return;
    }
    // The code that follows decides, by its first three bytes, whether the
    // record opens justified or styled.
    NoteCodeLine();
    const std::string lead = ReadCodeLead();
    const bool justified = EqualsIgnoreAsciiCase(lead, "JU:") || EqualsIgnoreAsciiCase(lead, "PS:");
    if (!(host_.LeftJustOnly() && justified) && ReferenceDue())
        WriteReference("<" + lead);
    Write('<');
    Write(lead);
    run_.Code.Start();
    run_.Code.Feed(lead);
    CopyCodeText();
    CloseCode();
}

// The line of the "<" just read, when a preview watches the references.
void ConversionPass::NoteCodeLine()
{
    if (run_.Lines)
        run_.CodeLine = run_.Lines->LineOf(BytesConsumed() - 1);
}

// Up to three bytes of a code's text, stopping before its ">".
std::string ConversionPass::ReadCodeLead()
{
    std::string lead;
    while (lead.size() < 3 && Next()) {
        if (run_.Ch == '>') {
            Unread();
            break;
        }
        lead += static_cast<char>(run_.Ch);
    }
    return lead;
}

// A byte held back for a marker attempt that never ran (the input ended or
// the run was cancelled right after it) still belongs in the output.
void ConversionPass::FinishHeldByte()
{
    if (run_.State == PassState::PageMatch) {
        Write(run_.Ch);
        run_.State = PassState::Copy;
    }
}

void ConversionPass::UpdateProgress()
{
    const std::int64_t consumed = BytesConsumed();
    if (consumed < run_.NextPercentAt)
        return;
    const std::int64_t size = run_.InputSize;
    if (size < 0) {
        host_.ProgressChanged(-1, consumed);
        run_.NextPercentAt = consumed + kUnsizedProgressStep;
        return;
    }
    std::int64_t percent = 100;
    if (size > 0)
        percent = consumed / size * 100 + consumed % size * 100 / size;
    run_.RunPercent = static_cast<std::int32_t>(std::min<std::int64_t>(percent, 100));
    if (run_.RunPercent != run_.LastPercent) {
        host_.ProgressChanged(run_.RunPercent, consumed);
        run_.LastPercent = run_.RunPercent;
    }
    // The first byte count at which the whole percentage reaches the next value.
    if (size > 0 && run_.RunPercent < 100) {
        const std::int64_t next = run_.RunPercent + 1;
        run_.NextPercentAt = size / 100 * next + (size % 100 * next + 99) / 100;
    } else {
        run_.NextPercentAt = INT64_MAX;
    }
}

}  // namespace pellimar::previous
