// The command line's progress display: one line on standard error, redrawn
// in place. For an input with a size it is a bar with the percentage and the
// elapsed and remaining time; for one without (a pipe), the bytes read, the
// speed and the elapsed time. It fits the terminal's width, follows changes
// of it, and is drawn at most ten times a second, so that a slow terminal
// cannot slow the run.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace pellimar::cli {

// The line for a percentage (-1: the input has no size), the bytes read so
// far and the seconds gone, in at most `width` - 1 columns (the last column
// is left free, so that no terminal wraps the line). A label ("3/12
// book3.fff") goes first, shortened or left out where the rest needs room.
std::string ProgressLine(std::int32_t percent, std::int64_t bytes, double elapsedSeconds, int width,
                         const std::string& label = {});

class ProgressBar {
public:
    void Start();
    void Show(std::int32_t percent, std::int64_t bytes);
    // Shown before the bar from its next drawing on.
    void SetLabel(std::string label);
    // Draws the last state if it was held back, and ends the line.
    void Finish();

private:
    using Clock = std::chrono::steady_clock;

    void Draw();
    double Elapsed() const;

    int width_ = 0;
    Clock::time_point start_;
    Clock::time_point lastDrawn_;
    std::int32_t percent_ = 0;
    std::int64_t bytes_ = 0;
    bool shown_ = false;
    bool pending_ = false;
    std::size_t lastLength_ = 0;
    std::string label_;
};

}  // namespace pellimar::cli
