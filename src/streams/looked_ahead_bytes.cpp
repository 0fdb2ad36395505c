// The bytes read past a buffered stream's block.
#include "streams/looked_ahead_bytes.h"

#include <algorithm>
#include <cstring>

namespace pellimar {

std::size_t LookedAheadBytes::CopyFrom(std::size_t offset, std::span<std::uint8_t> into) const
{
    const std::size_t available = Left() > offset ? Left() - offset : 0;
    const std::size_t count = std::min(available, into.size());
    if (count != 0)
        std::memcpy(into.data(), bytes_.data() + taken_ + offset, count);
    return count;
}

std::size_t LookedAheadBytes::Take(std::uint8_t* into, std::size_t most)
{
    const std::size_t count = std::min(Left(), most);
    std::memcpy(into, bytes_.data() + taken_, count);
    taken_ += count;
    if (taken_ == bytes_.size())
        Forget();
    return count;
}

void LookedAheadBytes::Forget()
{
    bytes_.clear();
    taken_ = 0;
}

// What the fills have taken goes first, so that the bytes kept never grow
// past what is looked at.
bool LookedAheadBytes::ReadFurther(TStream& source, std::size_t count)
{
    bytes_.erase(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(taken_));
    taken_ = 0;
    const std::size_t kept = bytes_.size();
    bytes_.resize(kept + count);
    std::int64_t n = 0;
    try {
        n = source.Read(bytes_.data() + kept, static_cast<std::int64_t>(count));
    } catch (...) {
        bytes_.resize(kept);
        throw;
    }
    bytes_.resize(kept + static_cast<std::size_t>(std::max<std::int64_t>(n, 0)));
    return n > 0;
}

}  // namespace pellimar
