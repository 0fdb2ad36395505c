// The elapsed and remaining time of a run, as the window shows them: the
// remaining time is a straight-line estimate made at 1, 5, 9, ... 97 percent.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pellimar {

inline constexpr const char* kZeroClock = "00:00:00";

// "hh:mm:ss", each part at least two digits.
std::string FormatClock(std::int64_t hours, std::int64_t minutes, std::int64_t seconds);

// Seconds still to go after `elapsedMs` at `percent`, or nothing when the
// estimate is not a time of day (24 hours or more, or negative).
std::optional<std::int32_t> EstimateRemaining(std::int64_t elapsedMs, std::int32_t percent);

class RunTimeDisplay {
public:
    // Readings are milliseconds since midnight.
    void Start(std::int64_t nowMs);
    void Update(std::int64_t nowMs, std::int32_t runPercent);

    std::string ElapsedText() const { return elapsed_; }
    std::string RemainingText() const;

private:
    std::int64_t startTime_ = 0;
    std::optional<std::int32_t> remainingEstimate_;
    std::string elapsed_ = kZeroClock;
};

}  // namespace pellimar
