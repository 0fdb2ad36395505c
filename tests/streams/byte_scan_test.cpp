// The vector scans against the plain reading of the same bytes: for every
// range length up to three rounds and a half, every place the wanted byte
// may stand (or none), and every start within a round, so that each way out
// of a scan (a round, the last overlapping round, the bytes one at a time)
// is taken.
#include "streams/byte_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace pellimar {
namespace {

struct Scan {
    const char* name;
    // The scan, and the bytes it stops at.
    const std::uint8_t* (*find)(const std::uint8_t* from, const std::uint8_t* to);
    std::vector<std::uint8_t> stops;
};

const std::uint8_t* EitherLtOrBracket(const std::uint8_t* from, const std::uint8_t* to)
{
    return FindEither(from, to, '<', '[');
}
const std::uint8_t* AnyOfLtCrLf(const std::uint8_t* from, const std::uint8_t* to)
{
    return FindAnyOfThree(from, to, '<', '\r', '\n');
}
const std::uint8_t* ByteGt(const std::uint8_t* from, const std::uint8_t* to)
{
    return FindByte(from, to, '>');
}

TEST(ByteScan, FindsTheFirstWantedByteWhereverItStands)
{
    const Scan scans[] = {{"FindEither", EitherLtOrBracket, {'<', '['}},
                          {"FindAnyOfThree", AnyOfLtCrLf, {'<', '\r', '\n'}},
                          {"FindByte", ByteGt, {'>'}}};
    for (const Scan& scan : scans) {
        for (const std::uint8_t stop : scan.stops) {
            for (std::size_t start = 0; start < 16; ++start) {
                for (std::size_t length = 0; length <= 56; ++length) {
                    // `at` == length: no wanted byte in the range; one just past it must not be found.
                    for (std::size_t at = 0; at <= length; ++at) {
                        std::vector<std::uint8_t> bytes(start + length + 16, 'x');
                        bytes[start + length] = stop;
                        if (at < length)
                            bytes[start + at] = stop;
                        const std::uint8_t* from = bytes.data() + start;
                        const std::uint8_t* to = from + length;
                        ASSERT_EQ(scan.find(from, to) - from, static_cast<std::ptrdiff_t>(at))
                            << scan.name << " stop " << int(stop) << " start " << start << " length " << length;
                    }
                }
            }
        }
    }
}

TEST(ByteScan, FindsTheCloserAfterAnOpenInTheSameRound)
{
    for (std::size_t length = 3; length <= 56; ++length) {
        for (std::size_t open = 0; open + 2 < length; ++open) {
            std::vector<std::uint8_t> bytes(length + 16, 'x');
            bytes[open] = '<';
            bytes[open + 2] = '>';
            const std::uint8_t* close = nullptr;
            const std::uint8_t* found =
                FindEitherThenCloser(bytes.data(), bytes.data() + length, '<', '[', '>', close);
            ASSERT_EQ(found - bytes.data(), static_cast<std::ptrdiff_t>(open)) << "length " << length;
            // Told only when the round that found the "<" held the ">".
            if (close != nullptr) {
                EXPECT_EQ(close - bytes.data(), static_cast<std::ptrdiff_t>(open + 2)) << "length " << length;
            }
        }
    }
}

}  // namespace
}  // namespace pellimar
