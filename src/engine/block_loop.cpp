// The steps of the pass over the input's blocks. Plain text, and codes that
// are not record codes, go to the output in one piece up to the next byte
// that matters (a "<", a byte that may begin a page-number marker, the next
// progress point); each construct there is handed to its reader with the
// bytes the block holds, and the bytes past the block are supplied only
// where a construct reaches them: what decides before anything is taken (an
// earlier reference's frame, what follows a record code, "<<", the byte after
// a marker) is looked at through the stream's look further ahead; what may be
// of any length (a code's text, a heading, a marker's digits) is read on over
// the next blocks, its reader keeping where it stands.
//
// Steps end where the pass has always ended them: after each byte of text,
// after a "<<", after the "<" of a code and again after its ">", after the
// handling of a record code (its earlier references, its reference, and
// what opens its record, a code to its ">"), after a heading, after a
// marker's first byte and again after the attempt. Progress is reported
// after the first step that reaches the progress point, and the main loop
// looks at the cancel flag and a watcher between steps only there: nothing
// else can change them, but a page question, after which the loop looks too.
//
// The steps taken in a block are made inside it (always_inline): its
// pointers then stay in registers, where a call would keep them in memory.
// What reaches past a block is rare, and is made apart.
#include "engine/block_loop.h"

#include <algorithm>
#include <string>
#include <type_traits>
#include <utility>

#include "engine/levels.h"
#include "streams/byte_scan.h"
#include "streams/text_util.h"

namespace pellimar {
namespace {

std::string_view TextOf(const std::uint8_t* from, const std::uint8_t* to)
{
    return {reinterpret_cast<const char*>(from), static_cast<std::size_t>(to - from)};
}

// The bytes of a record's opening taken before its reference: of "<<" only
// the first, so that a watcher's look at the record starts where it always
// has.
std::size_t TakenBeforeReference(const RecordOpening& opening)
{
    return opening.start == RecordStart::Text ? 1 : opening.length;
}

// How much of the record a watcher is shown past what was taken of it.
constexpr std::size_t kRecordLook = 160;

}  // namespace

// The next "<" or marker start, with the ">" after it when the same round
// saw one, and a heading's end.
struct BlockLoop::NarrowScan {
    static const std::uint8_t* Find(const SpreadBytes& wanted, const std::uint8_t* from, const std::uint8_t* to,
                                    const std::uint8_t*& close)
    {
        return FindEitherThenCloser(from, to, '<', wanted.b[0], '>', close);
    }
    static const std::uint8_t* HeadingEnd(HeadingCapture& headings, const std::uint8_t* from, const std::uint8_t* end)
    {
        return headings.Find(from, end, false);
    }
    static const std::uint8_t* HeadingEndGiving(HeadingCapture& headings, const std::uint8_t* from,
                                                const std::uint8_t* end)
    {
        return headings.FindGiving(from, end);
    }
};

struct BlockLoop::WideScan {
    PELLIMAR_WIDE_SCANS static const std::uint8_t* Find(const SpreadBytes& wanted, const std::uint8_t* from,
                                                        const std::uint8_t* to, const std::uint8_t*& close)
    {
        return FindEitherThenCloserWide(from, to, wanted, close);
    }
    PELLIMAR_WIDE_SCANS static const std::uint8_t* HeadingEnd(HeadingCapture& headings, const std::uint8_t* from,
                                                              const std::uint8_t* end)
    {
        return headings.FindWide(from, end, false);
    }
    PELLIMAR_WIDE_SCANS static const std::uint8_t* HeadingEndGiving(HeadingCapture& headings, const std::uint8_t* from,
                                                                    const std::uint8_t* end)
    {
        return headings.FindGivingWide(from, end);
    }
};

BlockLoop::BlockLoop(PassWork& work, PassReferences& references)
    : run_(work.run),
      work_(work),
      references_(references),
      headings_(work),
      finder_(work.run.LongestEarlierReference),
      wide_(WideScansAvailable()),
      codeBytes_('<', work.run.LooksForMarkers ? work.run.PageFirst : '<', '>'),
      observing_(work.run.Observer != nullptr && work.run.Lines != nullptr),
      due_(references.Due())
{
}

void BlockLoop::Advance()
{
    if (wide_)
        AdvanceWide();
    else
        AdvanceWith<NarrowScan>();
}

PELLIMAR_WIDE_SCANS void BlockLoop::AdvanceWide()
{
    AdvanceWith<WideScan>();
}

template <typename F>
[[gnu::always_inline]] inline auto BlockLoop::Apart(Cursor& c, F made)
{
    c_ = c;
    if constexpr (std::is_void_v<decltype(made())>) {
        made();
        c = c_;
    } else {
        const auto result = made();
        c = c_;
        return result;
    }
}

template <typename Scan>
[[gnu::always_inline]] inline void BlockLoop::AdvanceWith()
{
    if (!Open())
        return;
    Cursor c = c_;
    handBack_ = false;
    // The run's first step ends at a progress point wherever it ends.
    if (!started_) {
        started_ = true;
        c.point = std::max(c.point, blockStart_ + 1);
    }
    bool examine = false;
    switch (std::exchange(pending_, Pending::None)) {
    case Pending::None: break;
    case Pending::CodeOpened: examine = ReadCode(c, c.next); break;
    case Pending::CodeRead: examine = true; break;
    case Pending::MarkerStarted:
        if (!Apart(c, [&] { return MarkerAcross(nullptr); }))
            c.point = c.next;
        break;
    }
    for (;;) {
        if (examine && !Examine<Scan>(c))
            break;
        if (c.next >= c.point)
            break;
        const std::uint8_t* closeSeen = nullptr;
        const std::uint8_t* const found = Scan::Find(codeBytes_, c.next, c.point, closeSeen);
        c.next = found;
        if (found == c.point)
            break;
        if (*found != '<') {
            examine = false;
            if (!Marker(c))
                break;
            continue;
        }
        const After after = Code<Scan>(c, closeSeen);
        if (after == After::Stop)
            break;
        examine = after == After::Code;
    }
    c_ = c;
    Close();
}

void BlockLoop::Finish()
{
    if (pending_ == Pending::MarkerStarted && run_.WritesOutput)
        work_.output.WriteByte(run_.PageFirst);
    pending_ = Pending::None;
}

// The block at the read position into `c_`, filled when it is used up;
// false, and `c_` empty, at the input's end.
[[gnu::noinline]] bool BlockLoop::Open()
{
    TS_TextStream& input = work_.input;
    c_ = Cursor{};
    blockStart_ = nullptr;
    blockBase_ = input.ReadPosition();
    if (input.ReadAhead().empty() && !input.Refill())
        return false;
    const std::span<const std::uint8_t> ahead = input.ReadAhead();
    if (ahead.empty())
        return false;
    blockBase_ = input.ReadPosition();
    blockStart_ = c_.written = c_.next = ahead.data();
    c_.end = ahead.data() + ahead.size();
    const std::int64_t room = work_.progress.NextAt() - blockBase_;
    c_.point = blockStart_ + std::clamp<std::int64_t>(room, 0, static_cast<std::int64_t>(ahead.size()));
    return true;
}

[[gnu::noinline]] void BlockLoop::Close()
{
    WriteUpTo(c_, c_.next);
    work_.input.Consume(static_cast<std::size_t>(c_.next - blockStart_));
}

// The block's bytes from `written` on are written, and the next block is
// read: false, and the cursor empty, at the input's end.
[[gnu::noinline]] bool BlockLoop::NextBlock()
{
    c_.next = c_.end;
    Close();
    return Open();
}

[[gnu::always_inline]] inline void BlockLoop::WriteUpTo(Cursor& c, const std::uint8_t* to)
{
    if (to <= c.written)
        return;
    if (run_.WritesOutput)
        Write(c.written, to);
    c.written = to;
}

// Made apart: the copy calls out, and would have the steps' cursor saved
// around it.
[[gnu::noinline]] void BlockLoop::Write(const std::uint8_t* from, const std::uint8_t* to)
{
    work_.output.WriteBytes(from, static_cast<std::size_t>(to - from));
}

// The bytes from `from`, at least `wanted` of them where the input has them:
// the block's own when it holds them, else a copy of what lies ahead.
// `inputEnds`: none follow those given.
[[gnu::noinline]] std::span<const std::uint8_t> BlockLoop::Window(const std::uint8_t* from, std::size_t wanted,
                                                                  bool& inputEnds)
{
    const auto held = static_cast<std::size_t>(c_.end - from);
    inputEnds = false;
    if (held >= wanted)
        return {from, held};
    window_.resize(wanted);
    const std::size_t got = work_.input.CopyAhead(static_cast<std::size_t>(from - blockStart_), window_);
    inputEnds = got < wanted;
    return std::span<const std::uint8_t>(window_).first(got);
}

std::optional<std::uint8_t> BlockLoop::ByteAt(const std::uint8_t* at)
{
    if (at < c_.end)
        return *at;
    bool inputEnds;
    const std::span<const std::uint8_t> bytes = Window(at, 1, inputEnds);
    return bytes.empty() ? std::nullopt : std::optional<std::uint8_t>(bytes[0]);
}

// `count` bytes from `next` on, written as they stand, over as many blocks
// as they take.
[[gnu::noinline]] void BlockLoop::Pass(std::size_t count)
{
    while (count > static_cast<std::size_t>(c_.end - c_.next)) {
        count -= static_cast<std::size_t>(c_.end - c_.next);
        if (!NextBlock())
            return;
    }
    c_.next += count;
}

// At a "<": "<<" is a "<" meant as text; any other opens a code, whose "<"
// is a step of its own. Most "<" stand with two bytes after them in the
// block, which is asked once; those nearer its end are made apart.
template <typename Scan>
[[gnu::always_inline]] inline BlockLoop::After BlockLoop::Code(Cursor& c, const std::uint8_t* closeSeen)
{
    if (c.end - c.next < 3)
        return Apart(c, [&] { return CodeNearBlockEnd(); });
    return CodeAt<true>(c, closeSeen);
}

[[gnu::noinline]] BlockLoop::After BlockLoop::CodeNearBlockEnd()
{
    if (c_.end - c_.next < 2)
        return OpenAtBlockEnd() ? After::GoOn : After::Stop;
    return CodeAt<false>(c_, nullptr);
}

// `headInBlock`: the two bytes after the "<" stand in the block.
template <bool headInBlock>
[[gnu::always_inline]] inline BlockLoop::After BlockLoop::CodeAt(Cursor& c, const std::uint8_t* closeSeen)
{
    const std::uint8_t* const open = c.next;
    if (open[1] == '<')
        return EscapedOpens(c) ? After::GoOn : After::Stop;
    c.next = open + 1;
    if (c.next >= c.point) {
        if (observing_)
            NoteCodeLine(PositionOf(open));
        pending_ = Pending::CodeOpened;
        return After::Stop;
    }
    const std::uint8_t* close = closeSeen;
    if (close == nullptr) {
        close = FindByte(c.next, c.end, '>');
        if (close == c.end) {
            if (observing_)
                NoteCodeLine(PositionOf(open));
            return Apart(c, [&] { return LongCode(open + 1); }) ? After::Code : After::Stop;
        }
    }
    c.next = close + 1;
    // Most codes are neither record codes nor level records: nothing more
    // is asked of them.
    if ((!headInBlock && close - open < 3) || !CodeHead::MayBeRecordCode(open[1], open[2]))
        return c.next < c.point ? After::GoOn : After::Stop;
    if (observing_)
        NoteCodeLine(PositionOf(open));
    // "RD" alone, the common record code, is one however it is read.
    if (close - open == 3)
        work_.code.ReadRecordCode();
    else
        work_.code.Read(TextOf(open + 1, close));
    return After::Code;
}

// A "<" that ends the block: the next byte tells whether it opens a code.
[[gnu::noinline]] bool BlockLoop::OpenAtBlockEnd()
{
    if (ByteAt(c_.next + 1) == std::optional<std::uint8_t>('<')) {
        Pass(2);
        return c_.next < c_.point;
    }
    if (observing_)
        NoteCodeLine(PositionOf(c_.next));
    ++c_.next;
    pending_ = Pending::CodeOpened;
    return false;
}

// "<<" pairs, each a step of its own; a run of them opens no code.
[[gnu::always_inline]] inline bool BlockLoop::EscapedOpens(Cursor& c)
{
    const std::uint8_t* at = c.next;
    do {
        at += 2;
    } while (at < c.point && c.end - at >= 2 && at[0] == '<' && at[1] == '<');
    c.next = at;
    return at < c.point;
}

// A code's text from `text` on, to its ">". False when the input ends before
// the code does: it is then only copied.
[[gnu::always_inline]] inline bool BlockLoop::ReadCode(Cursor& c, const std::uint8_t* text)
{
    const std::uint8_t* const close = FindByte(text, c.end, '>');
    if (close == c.end)
        return Apart(c, [&] { return LongCode(text); });
    c.next = close + 1;
    if (close - text >= 2 && CodeHead::MayBeRecordCode(text[0], text[1]))
        work_.code.Read(TextOf(text, close));
    else
        work_.code.ReadOther();
    return true;
}

// A code whose ">" lies past the block: its text is read as the blocks come.
[[gnu::noinline]] bool BlockLoop::LongCode(const std::uint8_t* text)
{
    CodeHead& code = work_.code;
    code.Start();
    for (const std::uint8_t* from = text;; from = c_.next) {
        const std::uint8_t* const close = FindByte(from, c_.end, '>');
        if (close != c_.end) {
            code.Feed(TextOf(from, close), true);
            c_.next = close + 1;
            return true;
        }
        code.Feed(TextOf(from, c_.end));
        if (!NextBlock())
            return false;
    }
}

// A code just read, to its ">" at `next`: a record code's step or a level
// record's heading follow, after the step of the code itself; a record
// opened by another code goes on to that one.
template <typename Scan>
[[gnu::always_inline]] inline bool BlockLoop::Examine(Cursor& c)
{
    for (;;) {
        const bool idRecords = work_.switches.On(RunSwitch::IdRecords);
        const CodeKind kind = work_.code.Kind(idRecords);
        if (kind == CodeKind::Other)
            return !handBack_;
        if (handBack_ || c.next >= c.point) {
            pending_ = Pending::CodeRead;
            return false;
        }
        if (kind == CodeKind::LevelRecord)
            return Apart(c, [&] { return Heading<Scan>(idRecords); });
        const After after = RecordStep(c, idRecords);
        if (after != After::Code)
            return after == After::GoOn;
    }
}

[[gnu::noinline]] void BlockLoop::NoteCodeLine(std::int64_t open)
{
    work_.codeLine = run_.Lines->LineOf(open);
}

// A record code that ID record levels would read as a level record for one
// of the level names: the caller can tell the user why such a file gets no
// references.
[[gnu::noinline]] void BlockLoop::CountUnreadIdLevelRecord()
{
    ++run_.Found[Finding::IdFormLevelRecords].count;
    const std::string_view name = work_.code.LevelName(true);
    if (!name.empty() && FindLevel(run_.Levels, name) != -1)
        ++run_.Found[Finding::UnreadIdRecords].count;
}

// After a record code: the earlier references there, then a reference right
// before the record's first byte or code, when the opening wants one and the
// levels make it due, then the opening itself.
[[gnu::always_inline]] inline BlockLoop::After BlockLoop::RecordStep(Cursor& c, bool idRecords)
{
    if (!idRecords && work_.code.Kind(true) == CodeKind::LevelRecord)
        CountUnreadIdLevelRecord();
    if (observing_)
        work_.recordLine = work_.codeLine;
    recordAt_ = PositionOf(c.next);
    const std::uint8_t* framesStart = c.next;
    const std::uint8_t* opening = c.next;
    bool frames = false;
    if (c.end - opening < 2 || EarlierReferenceFinder::MayStart(opening[0], opening[1])) {
        const FramesTaken inBlock = TakeFramesInBlock(opening, c.end, c.written);
        if (inBlock.Settled()) {
            opening = inBlock.end;
            c.written = inBlock.written;
        } else {
            if (inBlock.end == nullptr)
                Apart(c, [&] { ReadFrames(); });
            framesStart = frames_.start;
            opening = frames_.end;
            frames = frames_.any;
        }
    }
    RecordOpening taken =
        OpeningAfterRecordCode({opening, static_cast<std::size_t>(c.end - opening)}, false, work_.switches);
    if (taken.start == RecordStart::More)
        taken = Apart(c, [&] { return OpeningAcross(opening); });
    if (taken.reference && due_) {
        WriteUpTo(c, framesStart);
        // A watcher is shown the record as the cursor finds it.
        if (observing_) {
            c_ = c;
            watchedOpening_ = taken;
        }
        WriteReference(opening);
    }
    if (taken.laterLineUnreferenced && due_)
        ++run_.Found[Finding::LaterLineRecords].count;
    if (frames)
        Apart(c, [&] { SettleFrames(); });
    c.next = opening;
    switch (taken.start) {
    case RecordStart::LineEnd:
    case RecordStart::Text:
        if (static_cast<std::size_t>(c.end - c.next) >= taken.length)
            c.next += taken.length;
        else
            Apart(c, [&] { Pass(taken.length); });
        return !handBack_ && c.next < c.point ? After::GoOn : After::Stop;
    case RecordStart::Code:
        if (c.next == c.end && !Apart(c, [&] { return NextBlock(); }))
            return After::Stop;
        if (observing_)
            NoteCodeLine(PositionOf(c.next));
        return ReadCode(c, c.next + 1) ? After::Code : After::Stop;
    case RecordStart::Nothing:
    case RecordStart::More: break;
    }
    return After::Stop;
}

// Earlier references from `start` to `end` go, unless they are kept.
[[gnu::always_inline]] inline void BlockLoop::LeaveOutFrames(Cursor& c, const std::uint8_t* start,
                                                             const std::uint8_t* end)
{
    if (run_.Earlier != EarlierReferences::Keep && end != start) {
        WriteUpTo(c, start);
        c.written = end;
    }
}

// The frames from `frames.end` on that the block holds whole: `frames`
// moves past them, up to the first byte that is not one, or to a text that
// only looks like one. False when the block ends before that can be told.
[[gnu::always_inline]] inline bool BlockLoop::FramesWithin(Frames& frames, const std::uint8_t* blockEnd) const
{
    for (;;) {
        const std::uint8_t* const at = frames.end;
        // A "<" that the block ends after may open one.
        if (blockEnd - at < 2)
            return blockEnd - at == 1 && *at != '<';
        if (!EarlierReferenceFinder::MayStart(at[0], at[1]))
            return true;
        frames.any = true;
        const std::optional<EarlierFrameMatch> match =
            finder_.Within({at, static_cast<std::size_t>(blockEnd - at)}, false);
        if (!match)
            return false;
        if (match->kind == EarlierFrame::None)
            return true;
        if (match->kind == EarlierFrame::LookAlike) {
            frames.lookAlikeAt = PositionOf(at);
            return true;
        }
        ++frames.found;
        frames.end += match->length;
    }
}

// The frames after a record code when the block holds them whole, as in a
// file converted before: counted, and left out unless they are kept, the
// text before them written. Whether a reference follows does not matter: a
// frame left out leaves nothing for it to stand before, and one kept stays
// where it is. A text that only looks like one is noted after the
// reference: the frames are then held in `frames_` and settled apart. Those
// the block cannot tell are read apart. The answer comes back in registers,
// so the steps' cursor stays in them.
[[gnu::noinline]] BlockLoop::FramesTaken BlockLoop::TakeFramesInBlock(const std::uint8_t* from,
                                                                      const std::uint8_t* blockEnd,
                                                                      const std::uint8_t* written)
{
    Frames frames{from, from};
    if (!FramesWithin(frames, blockEnd))
        return FramesTaken::ReadApart(written);
    if (frames.lookAlikeAt >= 0) {
        frames_ = frames;
        return FramesTaken::Held(frames.end);
    }
    run_.Found[Finding::EarlierReferences].count += frames.found;
    Cursor c{blockEnd, blockEnd, written, from};
    LeaveOutFrames(c, from, frames.end);
    return {frames.end, c.written};
}

// The frames from `next` on, those the block holds, then those it cannot
// tell, looked at further ahead and taken over as many blocks as they reach.
[[gnu::noinline]] void BlockLoop::ReadFrames()
{
    frames_ = Frames{c_.next, c_.next};
    if (!FramesWithin(frames_, c_.end))
        FramesAcross();
}

void BlockLoop::FramesAcross()
{
    Frames& frames = frames_;
    for (;;) {
        std::optional<EarlierFrameMatch> match;
        for (std::size_t wanted = 2; !match;) {
            bool inputEnds;
            const std::span<const std::uint8_t> bytes = Window(frames.end, wanted, inputEnds);
            if (bytes.size() < 2 || !EarlierReferenceFinder::MayStart(bytes[0], bytes[1]))
                return;
            frames.any = true;
            match = finder_.Within(bytes, inputEnds);
            wanted = std::min(std::max<std::size_t>(256, 2 * bytes.size()), finder_.Longest());
        }
        if (match->kind == EarlierFrame::None)
            return;
        if (match->kind == EarlierFrame::LookAlike) {
            frames.lookAlikeAt = PositionOf(frames.end);
            return;
        }
        ++frames.found;
        TakeFrame(match->length);
    }
}

// A frame of `length` bytes at the frames' end. One that reaches past the
// block takes the frames before it out of the block with it: kept, they are
// held until the record's reference is written.
void BlockLoop::TakeFrame(std::size_t length)
{
    Frames& frames = frames_;
    if (static_cast<std::size_t>(c_.end - frames.end) >= length) {
        frames.end += length;
        return;
    }
    const bool keep = run_.Earlier == EarlierReferences::Keep;
    WriteUpTo(c_, frames.start);
    std::size_t left = length - static_cast<std::size_t>(c_.end - frames.end);
    if (keep)
        kept_.Append(TextOf(frames.start, c_.end));
    c_.written = c_.end;
    while (left > 0 && NextBlock()) {
        const std::size_t taken = std::min(left, static_cast<std::size_t>(c_.end - c_.next));
        if (keep)
            kept_.Append(TextOf(c_.next, c_.next + taken));
        c_.next += taken;
        c_.written = c_.next;
        left -= taken;
    }
    frames.start = frames.end = c_.next;
}

// Once the record's reference is written: earlier references found are
// counted, and left out unless they are kept (those held are written now);
// a text that only looks like one is noted.
[[gnu::noinline]] void BlockLoop::SettleFrames()
{
    const Frames& frames = frames_;
    run_.Found[Finding::EarlierReferences].count += frames.found;
    if (frames.lookAlikeAt >= 0)
        work_.Note(run_.Found[Finding::LookAlikes], frames.lookAlikeAt);
    if (!kept_.Empty()) {
        WriteUpTo(c_, frames.start);
        if (run_.WritesOutput)
            kept_.WriteTo(work_.output);
        kept_.Clear();
    }
    LeaveOutFrames(c_, frames.start, frames.end);
}

// An opening the block cannot tell, looked at further ahead in steps that
// double, so that a record that soon shows its text costs little.
[[gnu::noinline]] RecordOpening BlockLoop::OpeningAcross(const std::uint8_t* at)
{
    constexpr std::size_t kMost = 1 + kLaterLineReach + kLongestRecordOpening;
    for (std::size_t wanted = std::max<std::size_t>(64, 2 * static_cast<std::size_t>(c_.end - at));;
         wanted = std::min(2 * wanted, kMost)) {
        bool inputEnds;
        const std::span<const std::uint8_t> bytes = Window(at, std::min(wanted, kMost), inputEnds);
        const RecordOpening opening = OpeningAfterRecordCode(bytes, inputEnds, work_.switches);
        if (opening.start != RecordStart::More)
            return opening;
        if (inputEnds || wanted >= kMost)
            return {RecordStart::LineEnd, 1, false};
    }
}

// The reference of the record whose text begins at `recordAt_`, before its
// opening at `opening`. A page question, and a watcher, want the main loop
// to look at the run before the next step.
[[gnu::noinline]] void BlockLoop::WriteReference(const std::uint8_t* opening)
{
    const bool unknownPage = work_.page.Page() == -1;
    references_.Write();
    if (references_.Cut())
        work_.Note(run_.Found[Finding::ReferencesCut], recordAt_);
    if (observing_) {
        references_.TellObserver(RecordShown(opening, watchedOpening_));
        // A watcher that has all it wants leaves the rest of the run to
        // go on unwatched.
        observing_ = run_.Observer->WantsMore();
        handBack_ = true;
    }
    if (unknownPage && run_.RefPattern.ShowsPage())
        handBack_ = true;
}

std::string BlockLoop::RecordShown(const std::uint8_t* opening, RecordOpening taken)
{
    const std::size_t most = TakenBeforeReference(taken) + kRecordLook;
    bool inputEnds;
    const std::span<const std::uint8_t> bytes = Window(opening, most, inputEnds);
    const std::string_view text = TextOf(bytes.data(), bytes.data() + std::min(bytes.size(), most));
    return std::string(text.substr(0, std::min(text.find_first_of("\r\n"), text.size())));
}

// After a level record: the earlier references there, then its heading,
// copied as it stands and made the value of its level.
template <typename Scan>
[[gnu::noinline]] bool BlockLoop::Heading(bool idRecords)
{
    const std::int64_t start = PositionOf(c_.next);
    ReadFrames();
    if (frames_.any)
        SettleFrames();
    c_.next = frames_.end;
    // A level record that ends the input, once they are out, has no heading.
    if (c_.next == c_.end && !ByteAt(c_.next))
        return false;
    headings_.Begin(work_.code.LevelName(idRecords), start);
    const std::uint8_t* const from = c_.next;
    // A value read only to tell whether it was cut needs the bytes of a
    // long heading alone: the heading is found first.
    const bool giving = headings_.NeedsEveryByte();
    const std::uint8_t* const end =
        giving ? Scan::HeadingEndGiving(headings_, from, c_.end) : Scan::HeadingEnd(headings_, from, c_.end);
    if (end == nullptr) {
        HeadingAcross(giving ? c_.end : from);
    } else {
        if (!giving && headings_.NeedsBytes(static_cast<std::size_t>(end - from)))
            headings_.Give(from, end);
        c_.next = end;
    }
    headings_.Finish();
    due_ = references_.Due();
    return c_.next < c_.point;
}

// A heading that reaches past the block, read on as the blocks come; its
// value is given each block's part before the block goes.
void BlockLoop::HeadingAcross(const std::uint8_t* from)
{
    for (;;) {
        if (headings_.NeedsBytes(SIZE_MAX))
            headings_.Give(from, c_.end);
        if (!NextBlock())
            return;
        from = c_.next;
        const std::uint8_t* const end = headings_.Find(from, c_.end, false);
        if (end != nullptr) {
            if (headings_.NeedsBytes(SIZE_MAX))
                headings_.Give(from, end);
            c_.next = end;
            return;
        }
    }
}

// At the page pattern's first byte: a marker attempt, whose first byte is a
// step of its own. Attempts that fail at their second byte, one after
// another while they follow each other, are told without the reader.
[[gnu::always_inline]] inline bool BlockLoop::Marker(Cursor& c)
{
    const std::uint8_t* first = c.next;
    PageMarkerMatcher& marker = work_.page.Marker();
    for (;;) {
        if (first + 1 >= c.point) {
            WriteUpTo(c, first);
            c.written = c.next = first + 1;
            pending_ = Pending::MarkerStarted;
            return false;
        }
        const std::size_t length = marker.FailsAtSecond(first[1]);
        if (length == 0)
            break;
        first += length;
        c.next = first;
        if (first >= c.point || *first != run_.PageFirst)
            return first < c.point;
    }
    marker.Begin();
    const std::optional<PageMarkerMatcher::Taken> taken =
        marker.Read({first + 1, static_cast<std::size_t>(c.end - first - 1)}, false);
    if (!taken)
        return Apart(c, [&] { return MarkerAcross(first); });
    const std::uint8_t* const after = first + 1 + taken->length;
    if (taken->marker) {
        work_.page.MarkerRead(after < c.end ? std::optional<std::uint8_t>(*after)
                                            : Apart(c, [&] { return ByteAt(after); }));
        if (run_.RemovePageMarks) {
            WriteUpTo(c, first);
            c.written = after;
        }
    }
    c.next = after;
    return after < c.point;
}

// A marker attempt that reaches past the block, from `first`, or from the
// block's start when its first byte was taken at the end of the last
// advance. While it is not known whether they are a marker to be removed,
// its bytes are held.
[[gnu::noinline]] bool BlockLoop::MarkerAcross(const std::uint8_t* first)
{
    PageMarkerMatcher& marker = work_.page.Marker();
    const bool remove = run_.RemovePageMarks;
    const bool writes = run_.WritesOutput;
    held_.Clear();
    std::optional<PageMarkerMatcher::Taken> taken;
    if (first == nullptr) {
        marker.Begin();
        if (remove)
            held_.Append(static_cast<char>(run_.PageFirst));
        else if (writes)
            work_.output.WriteByte(run_.PageFirst);
        taken = marker.Read({c_.next, static_cast<std::size_t>(c_.end - c_.next)}, false);
    } else {
        WriteUpTo(c_, first);
        c_.next = first;
    }
    while (!taken) {
        if (remove) {
            held_.Append(TextOf(c_.next, c_.end));
            c_.written = c_.end;
        }
        if (!NextBlock()) {
            taken = marker.Read({}, true);
            break;
        }
        taken = marker.Read({c_.next, static_cast<std::size_t>(c_.end - c_.next)}, false);
    }
    const std::uint8_t* const after = c_.next + taken->length;
    if (taken->marker) {
        work_.page.MarkerRead(ByteAt(after));
        if (remove)
            c_.written = after;
    } else if (remove && writes) {
        held_.WriteTo(work_.output);
    }
    c_.next = after;
    return after < c_.point;
}

}  // namespace pellimar
