// The command line's progress display.
#include "cli/progress_bar.h"

#include <algorithm>

#include "run/run_time.h"

namespace pellimar::cli {

std::string ProgressLine(std::int32_t percent, std::int64_t elapsedSeconds)
{
    constexpr int kWidth = 30;
    const int clamped = std::clamp(percent, 0, 100);
    const int filled = clamped * kWidth / 100;
    std::string line = "[" + std::string(filled, '#') + std::string(kWidth - filled, '.') + "] ";
    line += (clamped < 10 ? "  " : clamped < 100 ? " " : "") + std::to_string(clamped) + "%  ";
    line += FormatClock(elapsedSeconds) + " elapsed  ";
    const std::optional<std::int32_t> remaining = EstimateRemaining(elapsedSeconds * 1000, clamped);
    line += remaining ? FormatClock(*remaining) : "--:--:--";
    return line + " remaining";
}

void ProgressBar::Start()
{
    start_ = std::chrono::steady_clock::now();
}

void ProgressBar::Show(std::int32_t percent)
{
    const auto elapsed = std::chrono::steady_clock::now() - start_;
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
    std::fprintf(stream_, "\r%s", ProgressLine(percent, seconds).c_str());
    std::fflush(stream_);
    shown_ = true;
}

void ProgressBar::Finish()
{
    if (shown_)
        std::fputc('\n', stream_);
    shown_ = false;
}

}  // namespace pellimar::cli
