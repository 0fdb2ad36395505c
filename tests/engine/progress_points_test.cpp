// The progress points of a run: every whole percentage reported once, at the
// first byte that reaches it, and the next point named exactly, since the
// pass skips the comparison until then.
#include <gtest/gtest.h>

#include <vector>

#include "engine/progress_points.h"

namespace pellimar {
namespace {

std::int32_t PercentOf(std::int64_t consumed, std::int64_t size)
{
    return static_cast<std::int32_t>(consumed * 100 / size);
}

TEST(ProgressPoints, EachPercentageIsDueAtTheFirstByteThatReachesIt)
{
    for (const std::int64_t size : {1, 7, 99, 100, 101, 1000, 12345}) {
        SCOPED_TRACE(size);
        ProgressPoints points(size);
        std::vector<std::int32_t> reported;
        for (std::int64_t consumed = 0; consumed <= size; ++consumed) {
            const bool due = consumed >= points.NextAt();
            const std::optional<std::int32_t> percent = points.Reached(consumed);
            EXPECT_EQ(due, percent.has_value()) << consumed;
            if (!percent)
                continue;
            reported.push_back(*percent);
            EXPECT_EQ(*percent, PercentOf(consumed, size));
            std::int64_t next = consumed + 1;
            while (next <= size && PercentOf(next, size) == *percent)
                ++next;
            if (next <= size) {
                EXPECT_EQ(points.NextAt(), next) << "after " << consumed;
            }
        }
        EXPECT_EQ(reported.back(), 100);
        for (std::size_t i = 1; i < reported.size(); ++i)
            EXPECT_GT(reported[i], reported[i - 1]);
    }
}

TEST(ProgressPoints, InputWithoutASizeReportsEachMegabyte)
{
    ProgressPoints points(-1);
    EXPECT_EQ(points.Reached(0), -1);
    EXPECT_EQ(points.NextAt(), 1 << 20);
    EXPECT_EQ(points.Reached((1 << 20) - 1), std::nullopt);
    EXPECT_EQ(points.Reached(1 << 20), -1);
    EXPECT_EQ(points.NextAt(), 2 << 20);
}

}  // namespace
}  // namespace pellimar
