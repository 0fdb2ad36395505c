// Runs a stream under a block size chosen by the fuzz input. Small blocks put
// block boundaries inside short inputs, where fills, put-backs and the
// look-ahead of line ends meet them; the behaviour must not depend on it.
#pragma once

#include <array>
#include <cstdint>

#include "streams/buffer_stream.h"

namespace pellimar::fuzz {

class BlockSizeScope {
public:
    explicit BlockSizeScope(std::uint8_t choice) : saved_(StreamBufferSize)
    {
        static constexpr std::array<std::int32_t, 8> kSizes{8192, 1, 2, 3, 4, 7, 16, 64};
        StreamBufferSize = kSizes[choice % kSizes.size()];
    }
    ~BlockSizeScope() { StreamBufferSize = saved_; }
    BlockSizeScope(const BlockSizeScope&) = delete;
    BlockSizeScope& operator=(const BlockSizeScope&) = delete;

private:
    std::int32_t saved_;
};

}  // namespace pellimar::fuzz
