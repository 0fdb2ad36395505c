// The gauge's percentage, scaled lengths and dial geometry.
//
// The pictures are defined by 80-bit extended arithmetic (long double on
// x86-64), so intermediate values stay in long double and only the angles are
// rounded to double, where the pictures say so.
#include "gauge/gauge_math.h"

#include <cmath>
#include <numbers>

namespace pellimar {
namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;

// Rounded to double on purpose: the angles are stored in double precision
// before their sine and cosine are taken in extended precision.
double ToDouble(long double x)
{
    return static_cast<double>(x);
}

}  // namespace

std::int32_t PercentOf(std::int32_t progress, std::int32_t minValue, std::int32_t maxValue)
{
    const auto range = static_cast<std::int32_t>(static_cast<std::uint32_t>(maxValue) -
                                                 static_cast<std::uint32_t>(minValue));
    if (range == 0)
        return 0;
    const auto offset = static_cast<std::uint32_t>(progress) - static_cast<std::uint32_t>(minValue);
    const auto product = static_cast<std::int32_t>(offset * 100u);
    // In 64 bits, INT32_MIN / -1 cannot trap; it wraps back like the rest.
    return static_cast<std::int32_t>(std::int64_t{product} / range);
}

std::int64_t ScaledLength(std::int32_t length, std::int32_t percent)
{
    const long double fraction = static_cast<long double>(percent) * 0.01L;
    return static_cast<std::int64_t>(static_cast<long double>(length) * fraction);
}

std::int64_t Nearest(long double x)
{
    return std::llrint(x);
}

PixelPoint PieStart(std::int32_t percent, int halfWidth, int halfHeight)
{
    const long double a = ToDouble((static_cast<long double>(percent) * 0.02L + 0.5L) * kPi);
    return {static_cast<int>(Nearest((1 - std::cos(a)) * halfWidth)),
            static_cast<int>(Nearest((1 - std::sin(a)) * halfHeight))};
}

PixelPoint NeedleTip(std::int32_t percent, int pivotX, int pivotY)
{
    const long double theta = ToDouble(static_cast<long double>(percent) * 0.01L * kPi);
    return {static_cast<int>(Nearest((1 - std::cos(theta)) * pivotX)),
            static_cast<int>(Nearest((1 - std::sin(theta)) * pivotY))};
}

}  // namespace pellimar
