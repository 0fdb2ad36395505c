// The vector scans against the plain reading of the same bytes: for every
// range length up to three rounds and a half, every place the wanted byte
// may stand (or none), and every start within a round, so that each way out
// of a scan (a round, the last overlapping round, the bytes one at a time)
// is taken.
#include "streams/byte_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
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

// The code scans, 16 bytes a compare and (where the processor has them) 32:
// a "<" or "[" wherever it stands, and the ">" after it, when told, right
// (the one after the open, within the range), wherever it stands.
TEST(ByteScan, FindsAnOpenAndTellsNoCloserButTheOneAfterIt)
{
    using CodeScan = const std::uint8_t* (*)(const std::uint8_t*, const std::uint8_t*, std::uint8_t, std::uint8_t,
                                             std::uint8_t, const std::uint8_t*&);
    std::vector<std::pair<const char*, CodeScan>> scans{{"16 bytes", FindEitherThenCloser}};
    if (WideScansAvailable())
        scans.emplace_back("32 bytes", static_cast<CodeScan>(FindEitherThenCloserWide));
    for (const auto& [name, scan] : scans) {
        for (const std::uint8_t open : {std::uint8_t{'<'}, std::uint8_t{'['}}) {
            for (std::size_t length = 1; length <= 80; ++length) {
                for (std::size_t at = 0; at <= length; ++at) {
                    for (const std::size_t gap : {std::size_t{1}, std::size_t{2}, std::size_t{40}}) {
                        std::vector<std::uint8_t> bytes(length + 48, 'x');
                        if (at < length)
                            bytes[at] = open;
                        if (at + gap < length)
                            bytes[at + gap] = '>';
                        bytes[length] = '<';
                        const std::uint8_t* close = bytes.data();
                        const std::uint8_t* found = scan(bytes.data(), bytes.data() + length, '<', '[', '>', close);
                        const std::string where = std::string(name) + " length " + std::to_string(length) +
                                                  " at " + std::to_string(at) + " gap " + std::to_string(gap);
                        ASSERT_EQ(found - bytes.data(), static_cast<std::ptrdiff_t>(at)) << where;
                        if (close != nullptr) {
                            EXPECT_LT(at + gap, length) << where;
                            EXPECT_EQ(close - bytes.data(), static_cast<std::ptrdiff_t>(at + gap)) << where;
                        }
                    }
                }
            }
        }
    }
}

// The wide scans are what makes the pass cheap on most processors, and
// nothing else tells when they are not used: the outputs are the same.
TEST(ByteScan, WideScansAreUsedWhereTheProcessorHasThemUnlessTurnedOff)
{
#if defined(__x86_64__) || defined(__i386__)
    const bool processorHasThem = __builtin_cpu_supports("avx2");
#else
    const bool processorHasThem = false;
#endif
    EXPECT_EQ(processorHasThem, WideScansAvailable());
    TurnOffWideScans(true);
    EXPECT_FALSE(WideScansAvailable());
    TurnOffWideScans(false);
    EXPECT_EQ(processorHasThem, WideScansAvailable());
}

}  // namespace
}  // namespace pellimar
