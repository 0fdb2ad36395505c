// The command line's progress display.
#include "cli/progress_bar.h"

#include <algorithm>

namespace pellimar::cli {

std::string FormatClock(std::int64_t seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}

std::string ProgressLine(std::int32_t percent, std::int64_t elapsedSeconds)
{
    constexpr int kWidth = 30;
    const int clamped = std::clamp(percent, 0, 100);
    const int filled = clamped * kWidth / 100;
    std::string line = "[" + std::string(filled, '#') + std::string(kWidth - filled, '.') + "] ";
    line += (clamped < 10 ? "  " : clamped < 100 ? " " : "") + std::to_string(clamped) + "%  ";
    line += FormatClock(elapsedSeconds) + " elapsed  ";
    if (clamped == 0)
        line += "--:--:--";
    else
        line += FormatClock(elapsedSeconds * (100 - clamped) / clamped);
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
