// Counting line ends block by block.
#include "engine/line_counter.h"

#include <algorithm>

#include "streams/buffer_stream.h"
#include "streams/byte_scan.h"

namespace pellimar {

void LineCounter::Attach(TS_BufferStream& input)
{
    input.SetAfterFill([this](TS_BufferStream& stream) { Filled(stream); });
}

// Right after a fill the read-ahead is the whole new block. The block's
// memory is the stream's and is filled again in place, so its last byte is
// kept for the next block.
void LineCounter::Filled(TS_BufferStream& input)
{
    byteBeforeBlock_ = lastByte_;
    endsBeforeBlock_ += endsInBlock_;
    block_ = input.ReadAhead();
    if (!block_.empty())
        lastByte_ = block_.back();
    blockStart_ = input.ReadPosition();
    endsInBlock_ = CountLineEnds(block_, byteBeforeBlock_);
    scanned_ = 0;
    scannedEnds_ = 0;
}

std::int64_t CountLineEnds(std::span<const std::uint8_t> bytes, std::uint8_t before)
{
    return CountLineEndBytes(bytes.data(), bytes.data() + bytes.size(), before);
}

std::int64_t LineCounter::LineOf(std::int64_t position)
{
    const auto offset = static_cast<std::size_t>(std::clamp<std::int64_t>(position - blockStart_, 0,
                                                                          static_cast<std::int64_t>(block_.size())));
    if (offset < scanned_) {
        scanned_ = 0;
        scannedEnds_ = 0;
    }
    if (offset > scanned_) {
        const std::uint8_t before = scanned_ == 0 ? byteBeforeBlock_ : block_[scanned_ - 1];
        scannedEnds_ += CountLineEnds(block_.subspan(scanned_, offset - scanned_), before);
        scanned_ = offset;
    }
    return endsBeforeBlock_ + scannedEnds_ + 1;
}

}  // namespace pellimar
