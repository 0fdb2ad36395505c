// The block size of a stream, chosen by the fuzz input. Small blocks put
// block boundaries inside short inputs, where fills, put-backs and the
// look-ahead of line ends meet them; the behaviour must not depend on it.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace pellimar::fuzz {

// A block is never smaller than `smallest`: a file of many blocks of a few
// bytes costs a system call per byte and slows the search down without
// reaching anything new.
inline std::size_t ChosenBlockSize(std::uint8_t choice, std::size_t smallest = 1)
{
    static constexpr std::array<std::size_t, 8> kSizes{8192, 1, 2, 3, 4, 7, 16, 64};
    return std::max(kSizes[choice % kSizes.size()], std::min<std::size_t>(smallest, 8192));
}

}  // namespace pellimar::fuzz
