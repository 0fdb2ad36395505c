// Runs a stream under a block size chosen by the fuzz input. Small blocks put
// block boundaries inside short inputs, where fills, put-backs and the
// look-ahead of line ends meet them; the behaviour must not depend on it.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "streams/buffer_stream.h"

namespace pellimar::fuzz {

class BlockSizeScope {
public:
    // A block is never smaller than `smallest`: a file of many blocks of a
    // few bytes costs a system call per byte and slows the search down
    // without reaching anything new.
    explicit BlockSizeScope(std::uint8_t choice, std::size_t smallest = 1) : saved_(StreamBufferSize)
    {
        static constexpr std::array<std::int32_t, 8> kSizes{8192, 1, 2, 3, 4, 7, 16, 64};
        const auto floor = static_cast<std::int32_t>(std::min<std::size_t>(smallest, 8192));
        StreamBufferSize = std::max(kSizes[choice % kSizes.size()], floor);
    }
    ~BlockSizeScope() { StreamBufferSize = saved_; }
    BlockSizeScope(const BlockSizeScope&) = delete;
    BlockSizeScope& operator=(const BlockSizeScope&) = delete;

private:
    std::int32_t saved_;
};

}  // namespace pellimar::fuzz
