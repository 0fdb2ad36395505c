// Counting line ends: CR LF is one, a lone CR or LF is one, and so is each
// of LF CR; the count is the same however the bytes are split.
#include "engine/line_counter.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace pellimar {
namespace {

std::int64_t CountedOneByOne(const std::vector<std::uint8_t>& bytes, std::size_t from, std::size_t to)
{
    std::int64_t ends = 0;
    for (std::size_t i = from; i < to; ++i)
        ends += bytes[i] == '\r' || (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'));
    return ends;
}

TEST(CountLineEnds, AgreesWithByteByByteCountingAtEveryLengthAndStart)
{
    std::mt19937 draw(7);
    std::vector<std::uint8_t> bytes(9000);
    for (std::uint8_t& byte : bytes) {
        const unsigned roll = draw() % 8;
        byte = roll == 0 ? '\r' : roll == 1 ? '\n' : static_cast<std::uint8_t>('a' + roll);
    }
    // A whole block of line ends counts past the 255 each lane holds.
    std::fill(bytes.begin() + 4000, bytes.begin() + 8500, '\n');
    for (const std::size_t from : {0, 1, 15, 16, 17, 4095}) {
        for (const std::size_t to : {from, from + 1, from + 31, from + 4081, bytes.size()}) {
            const std::uint8_t before = from == 0 ? 0 : bytes[from - 1];
            EXPECT_EQ(CountedOneByOne(bytes, from, to),
                      CountLineEnds(std::span<const std::uint8_t>(bytes).subspan(from, to - from), before))
                << from << " " << to;
        }
    }
}

}  // namespace
}  // namespace pellimar
