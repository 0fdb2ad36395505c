// The gauge's numbers: the whole percentage and the lengths and points that
// the pictures derive from it, with the exact rounding the pictures rely on.
#pragma once

#include <cstdint>

#include "gauge/gauge_geometry.h"

namespace pellimar {

// (progress - minValue) * 100 / (maxValue - minValue), truncated toward zero,
// 0 for an empty range. The terms wrap in 32 bits, so ranges above 21474836
// give wrapped (but defined) results.
std::int32_t PercentOf(std::int32_t progress, std::int32_t minValue, std::int32_t maxValue);

// trunc(length * (percent * 0.01)) in x87 extended precision. The extended
// 0.01 lies just below 0.01, so 10 % of 100 is 9.
std::int64_t ScaledLength(std::int32_t length, std::int32_t percent);

// x rounded to the nearest integer, halves to even.
std::int64_t Nearest(long double x);

// Where the pie's wedge starts for a percentage, given the half-extents that
// the wedge is laid out on. 0 % starts at twelve o'clock; the wedge grows
// clockwise from there.
PixelPoint PieStart(std::int32_t percent, int halfWidth, int halfHeight);

// The needle's tip for a pivot at (pivotX, pivotY): flat to the left at 0 %,
// straight up at 50 %, flat to the right at 100 %.
PixelPoint NeedleTip(std::int32_t percent, int pivotX, int pivotY);

}  // namespace pellimar
