// When a run tells its host how far it has got: each time the whole
// percentage of the input consumed changes, and for an input without a size
// (a pipe) after each further megabyte. The points are worked out ahead, so
// that a step need only compare a byte count.
#pragma once

#include <cstdint>
#include <optional>

namespace pellimar {

class ProgressPoints {
public:
    // `inputSize`: -1 for an input without a size.
    explicit ProgressPoints(std::int64_t inputSize) : size_(inputSize) {}

    // The byte count at which the next report may be due.
    std::int64_t NextAt() const { return nextAt_; }
    // After a step that left `consumed` bytes consumed: the percentage to
    // report when it changed (-1 for an input without a size), else nothing.
    std::optional<std::int32_t> Reached(std::int64_t consumed);

private:
    std::int64_t size_;
    std::int64_t nextAt_ = 0;
    std::int32_t last_ = -2;  // so that the first step always reports
};

}  // namespace pellimar
