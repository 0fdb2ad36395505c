// The gauge's frame, bar and text geometry.
#include "gauge/bar_geometry.h"

#include <algorithm>

#include "gauge/gauge_math.h"

namespace pellimar {

PixelRect InnerRect(TBorderStyle style, int width, int height)
{
    if (style == bsSingle)
        return {1, 1, width - 1, height - 1};
    return {0, 0, width, height};
}

// The bars' extents w and h are one more than the inner rectangle's and are
// used as coordinates, not as offsets from its corner; the pictures depend on
// both quirks (with bsNone the vertical bar never reaches the top row).
std::optional<PixelRect> BarFill(TVantorGaugeKind kind, const PixelRect& inner, std::int32_t percent)
{
    const int w = inner.right - inner.left + 1;
    const int h = inner.bottom - inner.top + 1;
    if (kind == gkHorizontalBar) {
        const std::int64_t n = std::min<std::int64_t>(ScaledLength(w, percent), w);
        if (n <= 0)
            return std::nullopt;
        return PixelRect{inner.left, inner.top, static_cast<int>(n), h};
    }
    if (kind != gkVerticalBar)
        return std::nullopt;
    std::int64_t n = ScaledLength(h, percent);
    if (n >= h)
        n = h - 1;
    // For n <= 0 the rectangle would be empty.
    if (n <= 0)
        return std::nullopt;
    return PixelRect{inner.left, static_cast<int>(h - n), w, h};
}

PixelPoint TextOrigin(const PixelRect& inner, int textWidth, int textHeight)
{
    return {(inner.right - inner.left + 1 - textWidth) / 2, (inner.bottom - inner.top + 1 - textHeight) / 2};
}

}  // namespace pellimar
