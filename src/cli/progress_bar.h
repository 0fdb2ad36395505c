// A one-line progress bar with percentage, elapsed and remaining time.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace pellimar::cli {

// The line shown for a percentage after some seconds; the remaining time is
// estimated from the pace so far ("--:--:--" before there is any).
std::string ProgressLine(std::int32_t percent, std::int64_t elapsedSeconds);

class ProgressBar {
public:
    explicit ProgressBar(std::FILE* stream) : stream_(stream) {}
    void Start();
    void Show(std::int32_t percent);
    void Finish();

private:
    std::FILE* stream_;
    std::chrono::steady_clock::time_point start_;
    bool shown_ = false;
};

}  // namespace pellimar::cli
