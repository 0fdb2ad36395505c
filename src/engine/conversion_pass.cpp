// The pass's main loop, the copy and code states, and progress.
//
// Plain text between codes is the bulk of a flat file, so the copy state
// moves runs of ordinary bytes block to block at once. A run never crosses a
// byte at which the whole percentage changes, so the caller sees progress
// after exactly the same bytes as with one byte per step.
#include "engine/conversion_pass.h"

#include <cstring>

#include "engine/levels.h"
#include "engine/patterns.h"
#include "streams/text_util.h"

namespace pellimar {

void ResetRunState(RunContext& context, const RunSettings& settings)
{
    context.Levels->values.fill(kNotSet);
    context.PagePattern = settings.pagePattern;
    context.PageNumber = -1;
    context.NotSearched = settings.notSearched;
    context.RemovePageMarks = settings.removePageMarks;
    context.RefHasPage = settings.refPattern.find('#') != std::string::npos;
    context.RefCount = 0;
}

bool ConversionPass::Next()
{
    if (!c.Input->TryReadByte(c.Ch))
        return false;
    ++c.BytesConsumed;
    return true;
}

void ConversionPass::Run()
{
    while (!c.Input->Eof() && !host.CancelRequested()) {
        Step();
        UpdateProgress();
    }
    FinishHeldByte();
}

void ConversionPass::Step()
{
    switch (c.State) {
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
    if (c.Ch != '<' && c.RefHasPage && c.PageLead >= 0 && c.Ch == c.PageFirst) {
        c.State = PassState::PageMatch;
        return;
    }
    Write(c.Ch);
    if (c.Ch == '<')
        c.State = PassState::CodeOpen;
}

// Copies bytes that neither open a code nor may begin a marker, as far as
// the current input block and the next progress point allow. False when the
// next byte needs the single-byte step.
bool ConversionPass::CopyPlainRun()
{
    const std::span<const std::uint8_t> ahead = c.Input->ReadAhead();
    const std::int64_t untilProgress = c.NextPercentAt - c.BytesConsumed;
    if (ahead.empty() || untilProgress <= 0)
        return false;
    std::size_t length = std::min<std::size_t>(ahead.size(), static_cast<std::size_t>(untilProgress));
    if (const void* code = std::memchr(ahead.data(), '<', length))
        length = static_cast<const std::uint8_t*>(code) - ahead.data();
    if (c.RefHasPage && c.PageLead >= 0) {
        if (const void* mark = std::memchr(ahead.data(), c.PageFirst, length))
            length = static_cast<const std::uint8_t*>(mark) - ahead.data();
    }
    if (length == 0)
        return false;
    c.Output->WriteBytes(ahead.data(), length);
    c.Input->Consume(length);
    c.BytesConsumed += static_cast<std::int64_t>(length);
    return true;
}

// Copies a code that is not a record code in one go when all of it is in
// the current block and no progress point falls inside it: the three steps
// that would copy and examine it one after another then have nothing to
// show in between.
bool ConversionPass::CopyWholeCode()
{
    const std::span<const std::uint8_t> ahead = c.Input->ReadAhead();
    if (ahead.size() < 3 || ahead[0] != '<')
        return false;
    const std::int64_t room = c.NextPercentAt - c.BytesConsumed;
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
    c.Output->WriteBytes(ahead.data(), length);
    c.Input->Consume(length);
    c.BytesConsumed += static_cast<std::int64_t>(length);
    return true;
}

void ConversionPass::CodeOpenStep()
{
    c.CodeText = c.Input->ReadUntil(">");
    c.BytesConsumed += static_cast<std::int64_t>(c.CodeText.size());
    Write(c.CodeText);
    c.State = PassState::Copy;
    CloseCode();
}

// Copies the ">" that ends the code in CodeText and sends the code to be
// examined. A code cut off by the end of the input is only copied.
void ConversionPass::CloseCode()
{
    if (!Next())
        return;
    Write(c.Ch);
    MakeUpperAscii(c.CodeText);
    c.State = PassState::CodeCheck;
}

void ConversionPass::CodeCheckStep()
{
    c.State = PassState::Copy;
    std::string& code = c.CodeText;
    if (code.starts_with("RD,")) {
        // «RD,12:BOOK» reads as «RD:BOOK», «RD, 5» as «RD».
        const std::size_t kept = code.find_first_not_of(" 0123456789", 3);
        code.erase(2, (kept == std::string::npos ? code.size() : kept) - 2);
    }
    if (code.starts_with("RD:")) {
        const std::size_t name = code.find_first_not_of(' ', 3);
        c.HeadingLevel = name == std::string::npos ? std::string() : code.substr(name);
        c.State = PassState::Heading;
    } else if (code.starts_with("RD")) {
        PlainRecordCode();
    }
}

// After a plain record code: a reference goes right after its ">", before
// the record's first character or first code, unless the code ends its line.
void ConversionPass::PlainRecordCode()
{
    if (!Next())
        return;
    if (c.Ch == '\r' || c.Ch == '\n') {
        Write(c.Ch);
        return;
    }
    if (c.Ch != '<') {
        if (ReferenceDue())
            WriteReference();
        Write(c.Ch);
        return;
    }
    c.CodeText = c.Input->ReadUntil(">");
    c.BytesConsumed += static_cast<std::int64_t>(c.CodeText.size());
    const std::string_view head = std::string_view(c.CodeText).substr(0, 3);
    const bool justified = EqualsIgnoreAsciiCase(head, "JU:") || EqualsIgnoreAsciiCase(head, "PS:");
    if (!(host.LeftJustOnly() && justified) && ReferenceDue())
        WriteReference();
    Write('<');
    Write(c.CodeText);
    CloseCode();
}

// A byte held back for a marker attempt that never ran (the input ended or
// the run was cancelled right after it) still belongs in the output.
void ConversionPass::FinishHeldByte()
{
    if (c.State == PassState::PageMatch) {
        Write(c.Ch);
        c.State = PassState::Copy;
    }
}

void ConversionPass::UpdateProgress()
{
    if (c.BytesConsumed < c.NextPercentAt)
        return;
    const std::int64_t size = c.InputSize;
    std::int64_t percent = 100;
    if (size > 0)
        percent = c.BytesConsumed / size * 100 + c.BytesConsumed % size * 100 / size;
    c.RunPercent = static_cast<std::int32_t>(std::min<std::int64_t>(percent, 100));
    if (c.RunPercent != c.LastPercent) {
        host.ProgressChanged(c.RunPercent);
        c.LastPercent = c.RunPercent;
    }
    // The first byte count at which the whole percentage reaches the next value.
    if (size > 0 && c.RunPercent < 100) {
        const std::int64_t next = c.RunPercent + 1;
        c.NextPercentAt = size / 100 * next + (size % 100 * next + 99) / 100;
    } else {
        c.NextPercentAt = INT64_MAX;
    }
}

}  // namespace pellimar
