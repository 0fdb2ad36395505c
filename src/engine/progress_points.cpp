// The progress points of a run.
#include "engine/progress_points.h"

#include <algorithm>

namespace pellimar {
namespace {

constexpr std::int64_t kUnsizedProgressStep = 1 << 20;

}  // namespace

std::optional<std::int32_t> ProgressPoints::Reached(std::int64_t consumed)
{
    if (consumed < nextAt_)
        return std::nullopt;
    if (size_ < 0) {
        nextAt_ = consumed + kUnsizedProgressStep;
        return -1;
    }
    std::int64_t percent = 100;
    if (size_ > 0)
        percent = consumed / size_ * 100 + consumed % size_ * 100 / size_;
    const auto now = static_cast<std::int32_t>(std::min<std::int64_t>(percent, 100));
    // The first byte count at which the whole percentage reaches the next value.
    if (size_ > 0 && now < 100) {
        const std::int64_t next = now + 1;
        nextAt_ = size_ / 100 * next + (size_ % 100 * next + 99) / 100;
    } else {
        nextAt_ = INT64_MAX;
    }
    if (now == last_)
        return std::nullopt;
    last_ = now;
    return now;
}

}  // namespace pellimar
