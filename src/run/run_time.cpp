// Time readouts of a run.
#include "run/run_time.h"

#include <algorithm>

#include <cstdio>

namespace pellimar {
namespace {

constexpr std::int64_t kDayMs = 24LL * 3600 * 1000;

}  // namespace

std::string FormatClock(std::int64_t seconds)
{
    char text[64];
    std::snprintf(text, sizeof text, "%2.2lld:%2.2lld:%2.2lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}

std::int64_t ElapsedMs(std::int64_t startMs, std::int64_t nowMs)
{
    const std::int64_t elapsed = nowMs - startMs;
    return elapsed < 0 ? elapsed + kDayMs : elapsed;
}

std::optional<std::int32_t> EstimateRemaining(std::int64_t elapsedMs, std::int32_t percent)
{
    if (percent <= 0)
        return std::nullopt;
    const std::int64_t elapsedSeconds = elapsedMs / 1000;
    const std::int64_t remaining = elapsedSeconds * (100 - percent) / percent;
    if (remaining < 0 || remaining >= 24 * 3600)
        return std::nullopt;
    return static_cast<std::int32_t>(remaining);
}

void RunTimeDisplay::Start(std::int64_t nowMs)
{
    startTime_ = nowMs;
    waitedMs_ = 0;
    remainingEstimate_.reset();
    elapsed_ = kZeroClock;
}

void RunTimeDisplay::Update(std::int64_t nowMs, std::int32_t runPercent)
{
    const std::int64_t elapsed = std::max<std::int64_t>(0, ElapsedMs(startTime_, nowMs) - waitedMs_);
    elapsed_ = FormatClock(elapsed / 1000);
    if (runPercent <= 0)
        remainingEstimate_.reset();
    else if (runPercent % 4 == 1)
        remainingEstimate_ = EstimateRemaining(elapsed, runPercent);
}

std::string RunTimeDisplay::RemainingText() const
{
    return remainingEstimate_ ? FormatClock(*remainingEstimate_) : kZeroClock;
}

}  // namespace pellimar
