// Line numbers of positions in an input stream, kept up block by block as the
// stream is filled. A line ends at CR LF, at LF or at a lone CR (so LF CR is
// two line ends, as the text stream reads lines).
#pragma once

#include <cstdint>
#include <span>

namespace pellimar {

class TS_BufferStream;

// Line ends among `bytes`, given the byte before them (0 for none).
std::int64_t CountLineEnds(std::span<const std::uint8_t> bytes, std::uint8_t before);

class LineCounter {
public:
    // Follows the stream's fills from now on; the stream must not have been
    // read yet.
    void Attach(TS_BufferStream& input);

    // The line (from 1) of the byte at `position`, which must lie in the
    // stream's current block. Asked for positions that go forward, it counts
    // each byte once.
    std::int64_t LineOf(std::int64_t position);

private:
    void Filled(TS_BufferStream& input);

    std::span<const std::uint8_t> block_;
    std::int64_t blockStart_ = 0;
    std::int64_t endsBeforeBlock_ = 0;
    std::int64_t endsInBlock_ = 0;      // of the whole current block
    std::uint8_t byteBeforeBlock_ = 0;
    std::uint8_t lastByte_ = 0;          // of the current block, as filled
    std::size_t scanned_ = 0;            // bytes of the block counted into scannedEnds_
    std::int64_t scannedEnds_ = 0;
};

}  // namespace pellimar
