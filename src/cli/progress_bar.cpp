// The command line's progress display.
#include "cli/progress_bar.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <utility>

#include "cli/console.h"
#include "run/run_time.h"

namespace pellimar::cli {
namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr std::size_t kNarrowestBar = 10;
// What a label leaves the bar and its times at least, and the shortest
// label worth showing.
constexpr std::size_t kRoomBesideLabel = 40;
constexpr std::size_t kShortestLabel = 8;

std::string Megabytes(double bytes)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", bytes / 1e6);
    return text;
}

std::string Percent(std::int32_t percent)
{
    const int clamped = std::clamp(percent, 0, 100);
    std::string text = std::to_string(clamped) + "%";
    return std::string(5 - text.size(), ' ') + text;
}

// The first of the texts that fits `room` columns; the last one cut short.
std::string Fitting(std::initializer_list<std::string> texts, std::size_t room)
{
    for (const std::string& text : texts) {
        if (text.size() <= room)
            return text;
    }
    return std::string(*(texts.end() - 1)).substr(0, room);
}

std::string Bar(std::int32_t percent, std::size_t width)
{
    const std::size_t filled = width * static_cast<std::size_t>(std::clamp(percent, 0, 100)) / 100;
    return "[" + std::string(filled, '#') + std::string(width - filled, '.') + "]";
}

// The longest text after the bar that leaves the bar room enough; in a very
// narrow terminal, the percentage alone.
std::string SizedLine(std::int32_t percent, double elapsed, std::size_t room)
{
    const auto seconds = static_cast<std::int64_t>(elapsed);
    const std::optional<std::int32_t> remaining = EstimateRemaining(seconds * 1000, percent);
    const std::string left = remaining ? FormatClock(*remaining) : "--:--:--";
    const std::string shortest = Percent(percent);
    for (const std::string& tail : {shortest + "  " + FormatClock(seconds) + " elapsed  " + left + " remaining",
                                    shortest + "  " + FormatClock(seconds) + " / " + left, shortest}) {
        if (tail.size() + 2 + kNarrowestBar <= room)
            return Bar(percent, room - tail.size() - 2) + tail;
    }
    return Fitting({shortest, std::to_string(std::clamp(percent, 0, 100)) + "%"}, room);
}

std::string UnsizedLine(std::int64_t bytes, double elapsed, std::size_t room)
{
    const std::string read = Megabytes(static_cast<double>(bytes)) + " read";
    const std::string speed = Megabytes(elapsed > 0 ? static_cast<double>(bytes) / elapsed : 0) + "/s";
    const std::string clock = FormatClock(static_cast<std::int64_t>(elapsed)) + " elapsed";
    return Fitting({read + "  " + speed + "  " + clock, read + "  " + speed, read}, room);
}

// The terminal's width, else $COLUMNS, else 80.
int TerminalWidth()
{
    if (const std::optional<int> columns = TerminalColumns())
        return *columns;
    if (const char* columns = std::getenv("COLUMNS")) {
        const int value = std::atoi(columns);
        if (value > 0)
            return value;
    }
    return 80;
}

}  // namespace

std::string ProgressLine(std::int32_t percent, std::int64_t bytes, double elapsedSeconds, int width,
                         const std::string& label)
{
    std::size_t room = width > 1 ? static_cast<std::size_t>(width - 1) : 0;
    std::string shown;
    if (!label.empty() && room >= kRoomBesideLabel + 1 + kShortestLabel) {
        shown = label.substr(0, room - kRoomBesideLabel - 1) + " ";
        room -= shown.size();
    }
    return shown +
           (percent < 0 ? UnsizedLine(bytes, elapsedSeconds, room) : SizedLine(percent, elapsedSeconds, room));
}

void ProgressBar::Start()
{
    start_ = Clock::now();
    width_ = TerminalWidth();
}

void ProgressBar::Show(std::int32_t percent, std::int64_t bytes)
{
    percent_ = percent;
    bytes_ = bytes;
    pending_ = true;
    if (!shown_ || Clock::now() - lastDrawn_ >= kRedrawInterval)
        Draw();
}

void ProgressBar::SetLabel(std::string label)
{
    label_ = std::move(label);
    pending_ = true;
}

void ProgressBar::Finish()
{
    if (pending_)
        Draw();
    if (shown_)
        WriteToStandardError("\n");
    shown_ = false;
}

// Spaces cover what is left of a longer line drawn before.
void ProgressBar::Draw()
{
    if (TerminalResized())
        width_ = TerminalWidth();
    const std::string line = ProgressLine(percent_, bytes_, Elapsed(), width_, label_);
    const std::size_t cover = std::min<std::size_t>(lastLength_, static_cast<std::size_t>(std::max(width_ - 1, 0)));
    const std::string text = "\r" + line + std::string(cover > line.size() ? cover - line.size() : 0, ' ');
    WriteToStandardError(text);
    lastLength_ = line.size();
    lastDrawn_ = Clock::now();
    shown_ = true;
    pending_ = false;
}

double ProgressBar::Elapsed() const
{
    return std::chrono::duration<double>(Clock::now() - start_).count();
}

}  // namespace pellimar::cli
