// Elapsed and remaining time readouts of a run.
#include "run/run_time.h"

#include <gtest/gtest.h>

namespace pellimar {
namespace {

constexpr std::int64_t kSecond = 1000;

struct ElapsedCase {
    std::int64_t elapsedMs;
    const char* text;
};

TEST(RunTimeDisplay, ElapsedIsHoursMinutesSecondsWithMillisecondsDropped)
{
    const ElapsedCase cases[] = {
        {0, "00:00:00"}, {1999, "00:00:01"}, {3723 * kSecond + 999, "01:02:03"}, {100 * 3600 * kSecond, "100:00:00"},
    };
    for (const ElapsedCase& c : cases) {
        RunTimeDisplay display;
        display.Start(0);
        display.Update(c.elapsedMs, 0);
        EXPECT_EQ(c.text, display.ElapsedText()) << c.elapsedMs;
    }
}

struct EstimateCase {
    std::int64_t elapsedMs;
    std::int32_t percent;
    const char* remaining;
};

TEST(RunTimeDisplay, RemainingIsAStraightLineEstimateWithinADay)
{
    const EstimateCase cases[] = {
        {7 * kSecond, 1, "00:11:33"},   {20 * kSecond, 5, "00:06:20"},   {4000 * kSecond, 1, "00:00:00"},
        {40 * kSecond, 1, "01:06:00"},  {872 * kSecond, 1, "23:58:48"},  {873 * kSecond, 1, "00:00:00"},
        {20 * kSecond, 101, "00:00:00"}, {49 * kSecond, 49, "00:00:51"},
    };
    for (const EstimateCase& c : cases) {
        RunTimeDisplay display;
        display.Start(5000);
        display.Update(5000 + c.elapsedMs, c.percent);
        EXPECT_EQ(c.remaining, display.RemainingText()) << c.elapsedMs << " ms at " << c.percent << "%";
    }
}

TEST(RunTimeDisplay, EstimatesAfreshOnlyAtOneFiveNine)
{
    RunTimeDisplay display;
    display.Start(0);
    display.Update(7 * kSecond, 1);
    for (int percent : {2, 3, 4}) {
        display.Update((7 + percent) * kSecond, percent);
        EXPECT_EQ("00:11:33", display.RemainingText()) << percent;
    }
    display.Update(20 * kSecond, 5);
    EXPECT_EQ("00:06:20", display.RemainingText());
}

TEST(RunTimeDisplay, NoEstimateYetOrZeroPercentShowsZero)
{
    RunTimeDisplay missed;
    missed.Start(0);
    missed.Update(3 * kSecond, 3);
    EXPECT_EQ("00:00:00", missed.RemainingText());

    RunTimeDisplay backToZero;
    backToZero.Start(0);
    backToZero.Update(7 * kSecond, 1);
    backToZero.Update(8 * kSecond, 0);
    EXPECT_EQ("00:00:00", backToZero.RemainingText());
}

TEST(RunTimeDisplay, RunPastMidnightCountsOn)
{
    RunTimeDisplay display;
    display.Start(24LL * 3600 * kSecond - 10 * kSecond);
    display.Update(20 * kSecond, 1);
    EXPECT_EQ("00:00:30", display.ElapsedText());
    EXPECT_EQ("00:49:30", display.RemainingText());
}

TEST(RunTimeDisplay, StartResetsTheReadouts)
{
    RunTimeDisplay display;
    display.Start(0);
    display.Update(7 * kSecond, 1);
    display.Start(100 * kSecond);
    EXPECT_EQ("00:00:00", display.ElapsedText());
    EXPECT_EQ("00:00:00", display.RemainingText());
}

}  // namespace
}  // namespace pellimar
