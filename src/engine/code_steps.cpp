// The byte steps of the code states. Most codes never reach them: the copy
// state takes what it can of the current block at once (block_copy.cpp), and
// leaves here the codes that a block's end or a progress point cuts, and all
// of them while a preview watches.
#include "engine/code_steps.h"

#include <algorithm>
#include <cstring>

#include "engine/levels.h"

namespace pellimar {
namespace {

// The bytes of a record's opening taken before its reference: of "<<" only
// the first, so that a preview's look at the record starts where it always
// has.
std::size_t TakenBeforeReference(const RecordOpening& opening)
{
    return opening.start == RecordStart::Text ? 1 : opening.length;
}

}  // namespace

void CodeSteps::Open()
{
    NoteCodeLine();
    work_.code.Start();
    CopyCodeText();
    work_.state = PassState::Copy;
    CloseCode();
}

// Copies the rest of a code's text, up to its ">", as it comes: a code can
// be of any length, and only what its examination needs is held.
void CodeSteps::CopyCodeText()
{
    while (const std::optional<std::uint8_t> next = work_.Peek()) {
        const std::span<const std::uint8_t> ahead = work_.input.ReadAhead();
        const auto* close = static_cast<const std::uint8_t*>(std::memchr(ahead.data(), '>', ahead.size()));
        const std::size_t length = close != nullptr ? static_cast<std::size_t>(close - ahead.data()) : ahead.size();
        work_.code.Feed(std::string_view(reinterpret_cast<const char*>(ahead.data()), length));
        work_.output.WriteBytes(ahead.data(), length);
        work_.input.Consume(length);
        if (close != nullptr)
            return;
    }
}

// Copies the ">" that ends the code and sends the code to be examined. A
// code cut off by the end of the input is only copied.
void CodeSteps::CloseCode()
{
    if (!work_.Next())
        return;
    work_.Write(work_.ch);
    work_.state = PassState::CodeCheck;
}

void CodeSteps::Check()
{
    work_.state = PassState::Copy;
    const bool idRecords = work_.switches.On(RunSwitch::IdRecords);
    switch (work_.code.Kind(idRecords)) {
    case CodeKind::LevelRecord:
        work_.headingLevel = work_.code.LevelName(idRecords);
        work_.state = PassState::Heading;
        break;
    case CodeKind::RecordCode:
        if (!idRecords)
            CountUnreadIdLevelRecord();
        work_.recordLine = work_.codeLine;
        PlainRecordCode();
        break;
    case CodeKind::Other: break;
    }
}

// A record code that ID record levels would read as a level record for one
// of the level names: the caller can tell the user why such a file gets no
// references.
void CodeSteps::CountUnreadIdLevelRecord()
{
    if (work_.code.Kind(true) != CodeKind::LevelRecord)
        return;
    ++work_.run.Found[Finding::IdFormLevelRecords].count;
    const std::string_view name = work_.code.LevelName(true);
    if (!name.empty() && FindLevel(work_.run.Levels, name) != -1)
        ++work_.run.Found[Finding::UnreadIdRecords].count;
}

// After a plain record code: a reference goes right after its ">", before
// the record's first character or first code, when the record's opening
// wants one and the levels make it due.
void CodeSteps::PlainRecordCode()
{
    work_.recordAt = work_.BytesConsumed();
    earlier_.Take();
    const std::int64_t openingAt = work_.BytesConsumed();
    std::uint8_t bytes[kLongestRecordOpening + 1];
    const RecordOpening opening = ReadRecordOpening(bytes);
    const std::size_t held = TakenBeforeReference(opening);
    const std::string_view taken(reinterpret_cast<const char*>(bytes), held);
    if (opening.start == RecordStart::Code)
        NoteCodeLineAt(openingAt);
    if (opening.reference && references_.Due()) {
        references_.Write(taken);
        references_.NoteCut();
    }
    if (opening.laterLineUnreferenced && references_.Due())
        ++work_.run.Found[Finding::LaterLineRecords].count;
    earlier_.WriteKept();
    work_.Write(taken);
    if (opening.length > held)
        work_.TakeEscapedOpen();
    else if (opening.start == RecordStart::Code)
        CopyRecordCodeLead(taken.substr(1));
}

// Takes the record's opening byte by byte, as far as it must be read to be
// told; a byte read past what is taken before the reference is the one read
// last, and goes back.
RecordOpening CodeSteps::ReadRecordOpening(std::uint8_t (&bytes)[kLongestRecordOpening + 1])
{
    std::size_t read = 0;
    bool ends = false;
    for (;;) {
        const RecordOpening opening = OpeningAfterRecordCode({bytes, read}, ends, work_.switches);
        if (opening.start != RecordStart::More) {
            if (read > TakenBeforeReference(opening))
                work_.Unread();
            return opening;
        }
        if (read == 1 && (work_.ch == '\r' || work_.ch == '\n'))
            return LaterLineOpening();
        if (work_.Next())
            bytes[read++] = work_.ch;
        else
            ends = true;
    }
}

// After a record code that ends its line, its line break read: the bytes
// that follow are looked at without taking them, in steps that double, so
// that a record that soon shows its text costs little.
RecordOpening CodeSteps::LaterLineOpening()
{
    const std::size_t most = 1 + kLaterLineReach + kLongestRecordOpening;
    for (std::size_t wanted = 64;; wanted = std::min(2 * wanted, most)) {
        laterLine_.resize(wanted);
        laterLine_[0] = work_.ch;
        const std::size_t got = work_.input.CopyAhead(0, std::span(laterLine_).subspan(1));
        const bool ends = got < wanted - 1;
        const RecordOpening opening =
            OpeningAfterRecordCode(std::span(laterLine_).first(1 + got), ends, work_.switches);
        if (opening.start != RecordStart::More || ends || wanted == most)
            return opening.start != RecordStart::More ? opening : RecordOpening{RecordStart::LineEnd, 1, false};
    }
}

// The code that opens the record, after its "<" and lead: copied and
// examined in turn, as a record code or level record may follow at once.
void CodeSteps::CopyRecordCodeLead(std::string_view lead)
{
    work_.code.Start();
    work_.code.Feed(lead);
    CopyCodeText();
    CloseCode();
}

// The line of the "<" just read, when a preview watches the references.
void CodeSteps::NoteCodeLine()
{
    NoteCodeLineAt(work_.BytesConsumed() - 1);
}

void CodeSteps::NoteCodeLineAt(std::int64_t position)
{
    if (work_.run.Observer && work_.run.Observer->WantsMore() && work_.run.Lines)
        work_.codeLine = work_.run.Lines->LineOf(position);
}

}  // namespace pellimar
