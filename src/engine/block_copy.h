// The copy state over the current block: what needs no byte step goes to the
// output in one piece, record codes whose handling lies wholly within the
// block included.
#pragma once

#include <cstdint>

#include "engine/code_steps.h"
#include "engine/earlier_reference.h"
#include "engine/heading_capture.h"
#include "engine/pass_references.h"
#include "engine/pass_work.h"
#include "engine/record_opening.h"
#include "streams/byte_scan.h"

namespace pellimar {

class BlockCopy {
public:
    BlockCopy(PassWork& work, PassReferences& references, CodeSteps& codes, HeadingCapture& headings)
        : run_(work.run),
          work_(work),
          references_(references),
          codes_(codes),
          headings_(headings),
          finder_(work.run.LongestEarlierReference),
          wide_(WideScansAvailable())
    {
    }

    // False when it took nothing: the byte steps go on.
    bool Copy();

private:
    struct NarrowScan;
    struct WideScan;
    // The copy, made once for each scan: the wide one is built for
    // processors that have its compares.
    template <typename Scan>
    [[gnu::always_inline]] bool CopyWith();
    PELLIMAR_WIDE_SCANS bool CopyWide();

    struct Block;
    // The earlier references between a record code and its record in a
    // block: `found` of them from `start`, right after the code, to `end`,
    // and where a text that only looks like one follows them, if one does.
    struct EarlierInBlock {
        const std::uint8_t* start;
        const std::uint8_t* end;
        std::int32_t found = 0;
        const std::uint8_t* lookAlike = nullptr;

        bool Any() const { return end != start || lookAlike != nullptr; }
    };

    bool MarkerInBlock(Block& block, const std::uint8_t* first);
    void WriteBlockUpTo(Block& block, const std::uint8_t* to);
    bool HeadingInBlock(Block& block, std::string_view level);
    bool RecordCodeInBlock(Block& block, const std::uint8_t* open, const std::uint8_t* close, bool& handedOn);
    bool EarlierReferencesInBlock(Block& block, EarlierInBlock& earlier);
    void TakeEarlierInBlock(Block& block, const EarlierInBlock& earlier);
    std::int64_t PositionOf(const Block& block, const std::uint8_t* at) const;
    bool PlainRecordInBlock(Block& block, const std::uint8_t* after, const RecordOpening& opening, bool countUnread,
                            const EarlierInBlock& earlier, bool& handedOn);
    bool RecordThenCodeInBlock(Block& block, const std::uint8_t* open, const RecordOpening& opening,
                               bool countUnread, const EarlierInBlock& earlier, bool& handedOn);
    bool WriteReferenceAsking(const Block& block, const std::uint8_t* record);

    RunContext& run_;
    PassWork& work_;
    PassReferences& references_;
    CodeSteps& codes_;
    HeadingCapture& headings_;
    // Frames are told here only within the block's bytes.
    EarlierReferenceFinder finder_;
    bool wide_;
};

}  // namespace pellimar
