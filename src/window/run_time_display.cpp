// Time readouts of a run.
#include "window/run_time_display.h"

#include <cstdio>

namespace pellimar {
namespace {

constexpr std::int64_t kDayMs = 24LL * 3600 * 1000;

}  // namespace

std::string FormatClock(std::int64_t hours, std::int64_t minutes, std::int64_t seconds)
{
    char text[64];
    std::snprintf(text, sizeof text, "%2.2lld:%2.2lld:%2.2lld", static_cast<long long>(hours),
                  static_cast<long long>(minutes), static_cast<long long>(seconds));
    return text;
}

std::optional<std::int32_t> EstimateRemaining(std::int64_t elapsedMs, std::int32_t percent)
{
    if (percent == 0)
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
    remainingEstimate_.reset();
    elapsed_ = kZeroClock;
}

void RunTimeDisplay::Update(std::int64_t nowMs, std::int32_t runPercent)
{
    std::int64_t elapsed = nowMs - startTime_;
    if (elapsed < 0)
        elapsed += kDayMs;  // the run went on past midnight
    elapsed_ = FormatClock(elapsed / 3600000, elapsed / 60000 % 60, elapsed / 1000 % 60);
    if (runPercent <= 0)
        remainingEstimate_.reset();
    else if (runPercent % 4 == 1)
        remainingEstimate_ = EstimateRemaining(elapsed, runPercent);
}

std::string RunTimeDisplay::RemainingText() const
{
    if (!remainingEstimate_)
        return kZeroClock;
    const std::int32_t r = *remainingEstimate_;
    return FormatClock(r / 3600, r / 60 % 60, r % 60);
}

}  // namespace pellimar
