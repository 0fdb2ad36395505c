// The elapsed and remaining time of a run: the clock format both front ends
// show, the straight-line estimate of the time still to go, and the window's
// readouts, which estimate afresh only at 1, 5, 9, ... 97 percent.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace pellimar {

inline constexpr const char* kZeroClock = "00:00:00";

// "hh:mm:ss" of a number of seconds, each part at least two digits.
std::string FormatClock(std::int64_t seconds);

// Milliseconds from one local time of day to a later one; a run that goes
// on past midnight counts on.
std::int64_t ElapsedMs(std::int64_t startMs, std::int64_t nowMs);

// Whole seconds still to go after `elapsedMs` at `percent`, or nothing when
// that is not a time of day (24 hours or more, negative, or no percent yet).
std::optional<std::int32_t> EstimateRemaining(std::int64_t elapsedMs, std::int32_t percent);

class RunTimeDisplay {
public:
    // Readings are milliseconds since midnight.
    void Start(std::int64_t nowMs);
    void Update(std::int64_t nowMs, std::int32_t runPercent);
    // Time the run stood still waiting for the user (a question) counts
    // neither as elapsed nor in the estimate.
    void LeaveOut(std::int64_t waitedMs) { waitedMs_ += waitedMs; }

    std::string ElapsedText() const { return elapsed_; }
    std::string RemainingText() const;

private:
    std::int64_t startTime_ = 0;
    std::int64_t waitedMs_ = 0;
    std::optional<std::int32_t> remainingEstimate_;
    std::string elapsed_ = kZeroClock;
};

}  // namespace pellimar
