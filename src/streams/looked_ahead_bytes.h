// Bytes a buffered stream read from its source past its block, kept for its
// next fills: they let a reader look at a construct longer than the block
// before taking any of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "streams/stream.h"

namespace pellimar {

class LookedAheadBytes {
public:
    // Those not yet taken by a fill.
    std::size_t Left() const { return bytes_.size() - taken_; }
    // Copies those left from `offset` on into `into`, as many as fit or are
    // left; returns how many.
    std::size_t CopyFrom(std::size_t offset, std::span<std::uint8_t> into) const;
    // Takes the next ones into `into`, at most `most`; returns how many.
    std::size_t Take(std::uint8_t* into, std::size_t most);
    // Reads up to `count` more from `source`; false when none came.
    bool ReadFurther(TStream& source, std::size_t count);
    void Forget();

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t taken_ = 0;
};

}  // namespace pellimar
