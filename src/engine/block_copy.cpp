// The copy state over a block: plain text, and codes that are not record
// codes, go to the output in one piece up to the next byte that matters (a
// record code, a byte that may begin a page-number marker, the end of the
// block, the next whole percentage). A record code is known by its first two
// bytes, so no other code is read byte by byte. A record code whose handling
// lies wholly within the block is handled here too, and so is the heading of
// a level record when the block holds all of it.
//
// The steps Copy takes in a block are made inside it (always_inline): the
// block's pointers then stay in registers across them, where a call would
// keep them in memory, which cost some 5 % of the pass's instructions.
//
// The result is the same as stepping byte by byte: progress is reported after
// the same bytes (nothing here crosses a progress point), and nothing here
// can change the cancel flag, the switches or the end of the input, which the
// main loop tests between steps.
#include "engine/block_copy.h"

#include <algorithm>

#include "streams/byte_scan.h"
#include "streams/text_util.h"

namespace pellimar {
namespace {

// "<" at `open`, followed by at least two bytes: a code whose text begins
// "RD" in any letter case (a ">" after one byte is no letter).
bool OpensRecordCode(const std::uint8_t* open)
{
    return IsAsciiLetter(open[1], 'R') && IsAsciiLetter(open[2], 'D');
}

const std::uint8_t* FindClose(const std::uint8_t* from, const std::uint8_t* to)
{
    if (from >= to)
        return nullptr;
    const std::uint8_t* close = FindByte(from, to, '>');
    return close != to ? close : nullptr;
}

// Past the "<<" pairs from `from`, each wholly before `point`.
const std::uint8_t* SkipEscapedOpens(const std::uint8_t* from, const std::uint8_t* point)
{
    while (point - from >= 2 && from[0] == '<' && from[1] == '<')
        from += 2;
    return from;
}

std::string_view TextOf(const std::uint8_t* from, const std::uint8_t* to)
{
    return {reinterpret_cast<const char*>(from), static_cast<std::size_t>(to - from)};
}

}  // namespace

// A view of the current block: `next` is the first byte not yet handled,
// `written` the first not yet written; `point` bounds what may be handled
// before the next progress report, `end` is the block's end.
struct BlockCopy::Block {
    const std::uint8_t* start;
    const std::uint8_t* end;
    const std::uint8_t* point;
    // A code's ">" must stand before this, so that the byte after it is
    // still short of the progress point.
    const std::uint8_t* closeBefore;
    const std::uint8_t* written;
    const std::uint8_t* next;
};

// The next "<" or marker start, with the ">" after it when the same round
// saw one.
struct BlockCopy::NarrowScan {
    static const std::uint8_t* Find(const std::uint8_t* from, const std::uint8_t* to, std::uint8_t markerFirst,
                                    const std::uint8_t*& close)
    {
        return FindEitherThenCloser(from, to, '<', markerFirst, '>', close);
    }
};

struct BlockCopy::WideScan {
    PELLIMAR_WIDE_SCANS static const std::uint8_t* Find(const std::uint8_t* from, const std::uint8_t* to,
                                                         std::uint8_t markerFirst, const std::uint8_t*& close)
    {
        return FindEitherThenCloserWide(from, to, '<', markerFirst, '>', close);
    }
};

bool BlockCopy::Copy()
{
    return wide_ ? CopyWide() : CopyWith<NarrowScan>();
}

PELLIMAR_WIDE_SCANS bool BlockCopy::CopyWide()
{
    return CopyWith<WideScan>();
}

template <typename Scan>
[[gnu::always_inline]] inline bool BlockCopy::CopyWith()
{
    const std::span<const std::uint8_t> ahead = work_.input.ReadAhead();
    const std::int64_t room = work_.progress.NextAt() - work_.BytesConsumed();
    if (ahead.empty() || room <= 0)
        return false;
    const std::size_t size = ahead.size();
    const std::size_t toPoint = room > static_cast<std::int64_t>(size) ? size + 1 : static_cast<std::size_t>(room);
    Block block{ahead.data(), ahead.data() + size, ahead.data() + std::min(size, toPoint),
                ahead.data() + std::min(size, toPoint - 1), ahead.data(), ahead.data()};
    const std::uint8_t markerFirst = run_.LooksForMarkers ? run_.PageFirst : '<';
    bool handedOn = false;
    while (block.next < block.point && !handedOn) {
        const std::uint8_t* closeSeen = nullptr;
        const std::uint8_t* found = Scan::Find(block.next, block.point, markerFirst, closeSeen);
        block.next = found;
        if (found == block.point)
            break;
        if (*found != '<') {
            if (!MarkerInBlock(block, found))
                break;
            continue;
        }
        // A code's first two bytes and the ">" after them, or a "<<", must
        // stand in the block; the byte steps take what does not.
        if (block.end - found < 3)
            break;
        // "<<" is a "<" meant as text, taken in steps of two bytes; a run of
        // them opens no code, so no ">" is looked for.
        if (found[1] == '<') {
            block.next = SkipEscapedOpens(found, block.point);
            if (block.next == found)
                break;
            continue;
        }
        const std::uint8_t* close = closeSeen == nullptr           ? FindClose(found + 1, block.closeBefore)
                                    : closeSeen < block.closeBefore ? closeSeen
                                                                    : nullptr;
        if (close == nullptr)
            break;
        if (!OpensRecordCode(found)) {
            block.next = close + 1;
            continue;
        }
        if (!RecordCodeInBlock(block, found, close, handedOn))
            break;
    }
    const bool moved = block.next != block.start || handedOn;
    WriteBlockUpTo(block, block.next);
    work_.input.Consume(static_cast<std::size_t>(block.next - block.start));
    return moved;
}

void BlockCopy::WriteBlockUpTo(Block& block, const std::uint8_t* to)
{
    if (to > block.written)
        work_.output.WriteBytes(block.written, static_cast<std::size_t>(to - block.written));
    block.written = to;
}

// A page-number marker attempt from `first`, the pattern's first byte, when
// the block holds all it takes short of the progress point: a marker to be
// removed is left out of the output; what any other attempt took stays as
// it stood.
[[gnu::always_inline]] inline bool BlockCopy::MarkerInBlock(Block& block, const std::uint8_t* first)
{
    // Attempts that fail at their second byte, one after another while they
    // follow each other, are told here at once.
    while (block.point - first >= 2) {
        const std::size_t length = work_.page.FailsAtSecond(first[1]);
        if (length == 0)
            break;
        first += length;
        block.next = first;
        if (first == block.point || *first != run_.PageFirst)
            return true;
    }
    const std::optional<PageMarkerMatcher::Taken> taken =
        work_.page.AttemptWithin({first, static_cast<std::size_t>(block.end - first)},
                                 static_cast<std::size_t>(block.point - first));
    if (!taken)
        return false;
    if (taken->marker && run_.RemovePageMarks) {
        WriteBlockUpTo(block, first);
        block.written = first + taken->length;
    }
    block.next = first + taken->length;
    return true;
}

// The record code from `open` to `close`, with what follows it when that is
// in the block too. False leaves it to the byte steps. `handedOn`: the pass
// goes on in another state (the code's heading, or the next code's check), or
// the main loop must look at the cancel flag after a page question.
[[gnu::always_inline]] inline bool BlockCopy::RecordCodeInBlock(Block& block, const std::uint8_t* open,
                                                                const std::uint8_t* close, bool& handedOn)
{
    if ((run_.Observer != nullptr && run_.Observer->WantsMore()) || block.end - close < 2)
        return false;
    const bool idRecords = work_.switches.On(RunSwitch::IdRecords);
    // "RD" alone, the common record code, is one however it is read.
    const bool bare = close - open == 3;
    if (!bare)
        work_.code.Read(TextOf(open + 1, close), idRecords);
    const CodeKind kind = bare ? CodeKind::RecordCode : work_.code.Kind(idRecords);
    const bool countUnread = !idRecords && !bare;
    if (kind == CodeKind::LevelRecord) {
        block.next = close + 1;
        if (!HeadingInBlock(block, work_.code.LevelName(idRecords))) {
            work_.headingLevel = work_.code.LevelName(idRecords);
            work_.state = PassState::Heading;
            handedOn = true;
        }
        return true;
    }
    if (kind != CodeKind::RecordCode)
        return false;
    EarlierInBlock earlier{close + 1, close + 1};
    if ((block.end - earlier.end < 2 || (earlier.end[0] == '<' && earlier.end[1] == 'C')) &&
        !EarlierReferencesInBlock(block, earlier))
        return false;
    const std::uint8_t* after = earlier.end;
    const RecordOpening opening =
        OpeningAfterRecordCode({after, static_cast<std::size_t>(block.end - after)}, false, work_.switches);
    switch (opening.start) {
    case RecordStart::LineEnd:
    case RecordStart::Text: return PlainRecordInBlock(block, after, opening, countUnread, earlier, handedOn);
    case RecordStart::Code: return RecordThenCodeInBlock(block, after, opening, countUnread, earlier, handedOn);
    case RecordStart::More:
    case RecordStart::Nothing: break;
    }
    return false;
}

// The heading from `block.next`, right after the level record of `level`,
// when the block holds it whole short of the progress point and no earlier
// reference stands before it: its bytes stay in the block's output.
[[gnu::always_inline]] inline bool BlockCopy::HeadingInBlock(Block& block, std::string_view level)
{
    const std::uint8_t* const from = block.next;
    if (block.end - from < 2 || (from[0] == '<' && from[1] == 'C'))
        return false;
    const std::optional<HeadingSpan> heading = wide_ ? FindHeadingWide(from, block.end) : FindHeading(from, block.end);
    if (!heading || heading->end > block.point)
        return false;
    headings_.TakeLines(level, TextOf(from, heading->end), static_cast<std::size_t>(heading->firstBreak - from),
                        PositionOf(block, from));
    block.next = heading->end;
    return true;
}

// The references earlier runs wrote right after a record code, one after
// another, from `earlier.start`: where they end, and a text after them that
// begins like one but is none. False when the block cannot tell.
[[gnu::always_inline]] inline bool BlockCopy::EarlierReferencesInBlock(Block& block, EarlierInBlock& earlier)
{
    const std::uint8_t*& end = earlier.end;
    while (block.end - end >= 2 && end[0] == '<' && end[1] == 'C') {
        const std::optional<EarlierFrameMatch> match = finder_.Within({end, static_cast<std::size_t>(block.end - end)});
        if (!match)
            return false;
        if (match->kind == EarlierFrame::None)
            return true;
        if (match->kind == EarlierFrame::LookAlike) {
            earlier.lookAlike = end;
            return true;
        }
        ++earlier.found;
        end += match->length;
    }
    // A "<" that the block ends after may open one.
    return block.end - end >= 2 || (block.end - end == 1 && *end != '<');
}

// Once the record code's handling is settled: earlier references found
// after it are counted, and left out unless they are kept (a new reference,
// when due, stands before them); a text that only looks like one is noted.
[[gnu::always_inline]] inline void BlockCopy::TakeEarlierInBlock(Block& block, const EarlierInBlock& earlier)
{
    run_.Found[Finding::EarlierReferences].count += earlier.found;
    if (earlier.lookAlike != nullptr)
        work_.Note(run_.Found[Finding::LookAlikes], PositionOf(block, earlier.lookAlike));
    if (run_.Earlier == EarlierReferences::Keep || earlier.end == earlier.start)
        return;
    WriteBlockUpTo(block, earlier.start);
    block.written = earlier.end;
}

std::int64_t BlockCopy::PositionOf(const Block& block, const std::uint8_t* at) const
{
    return work_.BytesConsumed() + (at - block.start);
}

// A record code followed by its line's end, or by text: a byte or "<<" (a
// "<" meant as text, the step's two bytes), with the reference, when one
// goes, between.
[[gnu::always_inline]] inline bool BlockCopy::PlainRecordInBlock(Block& block, const std::uint8_t* after,
                                                                 const RecordOpening& opening, bool countUnread,
                                                                 const EarlierInBlock& earlier, bool& handedOn)
{
    if (after + opening.length > block.point)
        return false;
    if (countUnread)
        codes_.CountUnreadIdLevelRecord();
    block.next = after + opening.length;
    if (opening.reference && references_.Due()) {
        WriteBlockUpTo(block, earlier.start);
        handedOn = WriteReferenceAsking(block, earlier.start);
    }
    if (opening.laterLineUnreferenced && references_.Due())
        ++run_.Found[Finding::LaterLineRecords].count;
    if (earlier.Any())
        TakeEarlierInBlock(block, earlier);
    return true;
}

// A record code followed at once by another code, which the block holds
// whole: the reference, when the opening wants one, goes between them. A
// record code or level record after it is checked next.
[[gnu::always_inline]] inline bool BlockCopy::RecordThenCodeInBlock(Block& block, const std::uint8_t* open,
                                                                    const RecordOpening& opening, bool countUnread,
                                                                    const EarlierInBlock& earlier, bool& handedOn)
{
    // The step that copies both codes ends after the second ">", which may
    // be the progress point itself.
    const std::uint8_t* close = FindClose(open + 1, block.point);
    if (close == nullptr)
        return false;
    if (countUnread)
        codes_.CountUnreadIdLevelRecord();
    block.next = close + 1;
    if (opening.reference && references_.Due()) {
        WriteBlockUpTo(block, earlier.start);
        handedOn = WriteReferenceAsking(block, earlier.start);
    }
    if (earlier.Any())
        TakeEarlierInBlock(block, earlier);
    if (close - open >= 3 && OpensRecordCode(open)) {
        work_.code.Read(TextOf(open + 1, close));
        work_.state = PassState::CodeCheck;
        handedOn = true;
    }
    return true;
}

// The reference of the record whose text begins at `record`. True when it
// asked for the starting page: the answer may have come with a cancel.
[[gnu::always_inline]] inline bool BlockCopy::WriteReferenceAsking(const Block& block, const std::uint8_t* record)
{
    const bool unknownPage = work_.page.Page() == -1;
    references_.Write({});
    if (references_.Cut())
        work_.Note(run_.Found[Finding::ReferencesCut], PositionOf(block, record));
    return unknownPage && run_.RefPattern.ShowsPage();
}

}  // namespace pellimar
