// The pass's one driver: its steps taken over the input's blocks. Each
// construct is read by its own reader over the bytes at hand (a code's text,
// what follows a record code, an earlier reference's frame, a heading, a
// page-number marker); where one reaches past the block, the stream's look
// further ahead or the next block supplies the rest.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/earlier_reference.h"
#include "engine/heading_capture.h"
#include "engine/held_text.h"
#include "engine/pass_references.h"
#include "engine/pass_work.h"
#include "engine/record_opening.h"
#include "streams/byte_scan.h"

namespace pellimar {

class BlockLoop {
public:
    BlockLoop(PassWork& work, PassReferences& references);

    // Takes the pass's steps from where it stands to the first step that ends
    // at or past the next progress point, or where the main loop must look at
    // the run before the next step: the input's block used up, a page
    // question asked, a reference made that a watcher counts.
    void Advance();
    // The run has ended between two steps: a byte taken for a marker attempt
    // that never ran still belongs in the output.
    void Finish();

private:
    // Where the pass stands in the current block: `next` is the first byte
    // not yet taken, `written` the first not yet written or left out; a
    // step that ends at `point` or past it is the last of the advance. At
    // the input's end it is empty. Held in registers through an advance,
    // it holds only what the steps move; where the block stands in the
    // input is kept apart.
    struct Cursor {
        const std::uint8_t* end;
        const std::uint8_t* point;
        const std::uint8_t* written;
        const std::uint8_t* next;
    };
    struct NarrowScan;
    struct WideScan;
    // The earlier references right after a record code or a level record:
    // those in the block from `start` to `end`, and whether any were found,
    // left out of the block or only looked like one.
    struct Frames {
        const std::uint8_t* start;
        const std::uint8_t* end;
        bool any = false;
        std::int32_t found = 0;
        std::int64_t lookAlikeAt = -1;  // where a text that only looks like one begins
    };
    // What a step leaves: the advance stops, goes on in the text, or a code
    // has been read to its ">" and is examined next.
    enum class After : std::uint8_t { Stop, GoOn, Code };
    // Where the pass stands between two advances, besides the running text.
    enum class Pending : std::uint8_t {
        None,
        CodeOpened,     // a code's "<" was taken: its text comes next
        CodeRead,       // a code was read to its ">": it is examined next
        MarkerStarted,  // the page pattern's first byte was taken, not written
    };

    // The steps in a block keep their cursor in registers. What is made
    // apart, as it is rare, finds it in `c_` and leaves it there.
    template <typename Scan>
    [[gnu::always_inline]] void AdvanceWith();
    PELLIMAR_WIDE_SCANS void AdvanceWide();
    template <typename F>
    [[gnu::always_inline]] auto Apart(Cursor& c, F made);

    std::int64_t PositionOf(const std::uint8_t* at) const { return blockBase_ + (at - blockStart_); }
    bool Open();
    void Close();
    bool NextBlock();
    void WriteUpTo(Cursor& c, const std::uint8_t* to);
    void Write(const std::uint8_t* from, const std::uint8_t* to);
    std::span<const std::uint8_t> Window(const std::uint8_t* from, std::size_t wanted, bool& inputEnds);
    std::optional<std::uint8_t> ByteAt(const std::uint8_t* at);
    void Pass(std::size_t count);

    template <typename Scan>
    After Code(Cursor& c, const std::uint8_t* closeSeen);
    After CodeNearBlockEnd();
    template <bool headInBlock>
    After CodeAt(Cursor& c, const std::uint8_t* closeSeen);
    bool OpenAtBlockEnd();
    bool EscapedOpens(Cursor& c);
    bool ReadCode(Cursor& c, const std::uint8_t* text);
    bool LongCode(const std::uint8_t* text);
    template <typename Scan>
    bool Examine(Cursor& c);
    void NoteCodeLine(std::int64_t open);
    void CountUnreadIdLevelRecord();

    After RecordStep(Cursor& c, bool idRecords);
    // What TakeFramesInBlock made of the frames after a record code: where
    // they end and what is written once they are settled; else held in
    // `frames_` to be settled apart, or to be read apart (no end).
    struct FramesTaken {
        const std::uint8_t* end;
        const std::uint8_t* written;

        static FramesTaken ReadApart(const std::uint8_t* written) { return {nullptr, written}; }
        static FramesTaken Held(const std::uint8_t* end) { return {end, nullptr}; }
        bool Settled() const { return end != nullptr && written != nullptr; }
    };
    bool FramesWithin(Frames& frames, const std::uint8_t* blockEnd) const;
    FramesTaken TakeFramesInBlock(const std::uint8_t* from, const std::uint8_t* blockEnd, const std::uint8_t* written);
    void LeaveOutFrames(Cursor& c, const std::uint8_t* start, const std::uint8_t* end);
    void ReadFrames();
    void FramesAcross();
    void TakeFrame(std::size_t length);
    void SettleFrames();
    RecordOpening OpeningAcross(const std::uint8_t* at);
    void WriteReference(const std::uint8_t* opening);
    std::string RecordShown(const std::uint8_t* opening, RecordOpening taken);

    template <typename Scan>
    bool Heading(bool idRecords);
    void HeadingAcross(const std::uint8_t* from);

    bool Marker(Cursor& c);
    bool MarkerAcross(const std::uint8_t* first);

    RunContext& run_;
    PassWork& work_;
    PassReferences& references_;
    HeadingCapture headings_;
    EarlierReferenceFinder finder_;
    bool wide_;
    // What the scan for the next code or marker looks for.
    SpreadBytes codeBytes_;
    // A watcher is told of references and of the lines they stand on.
    bool observing_;
    // Whether a record's reference is due, as the levels stand: they change
    // only at headings.
    bool due_;
    Pending pending_ = Pending::None;
    bool started_ = false;
    // The step that ends now asked the page question or made a reference a
    // watcher counts: the main loop looks at the run before the next one.
    bool handBack_ = false;
    Cursor c_{};
    // Where the text of the record whose code was just read begins, and
    // what a watcher is shown of its opening.
    std::int64_t recordAt_ = 0;
    RecordOpening watchedOpening_{};
    // The current block's first byte, and its position in the input.
    const std::uint8_t* blockStart_ = nullptr;
    std::int64_t blockBase_ = 0;
    // The frames of the current record code, while they are read apart.
    Frames frames_{};
    // The earlier references after the current code that reached past a
    // block, when they are kept: they follow its new reference.
    HeldText kept_;
    // The bytes of a marker attempt that reached past a block, while it is
    // not known whether they are a marker to be removed.
    HeldText held_;
    // What is looked at past the block.
    std::vector<std::uint8_t> window_;
};

}  // namespace pellimar
