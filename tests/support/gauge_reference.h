// The pixels every toolkit's gauge must draw for a bar or text gauge without
// its percentage text: black outside the inner rectangle, the back colour
// inside, the bar in the fore colour, at the places of the shared geometry.
// The Qt and the Windows gauge are each held to it, so they draw alike.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "gauge/bar_geometry.h"
#include "gauge/gauge_look_core.h"

namespace pellimar::test {

// 0x00RRGGBB, as both toolkits' 32-bit pictures hold a pixel.
inline std::uint32_t PixelOf(TColor color)
{
    return ((color & 0xFFu) << 16) | (color & 0xFF00u) | ((color >> 16) & 0xFFu);
}

// Only RGB colours: system colours differ between toolkits by design.
inline std::vector<std::uint32_t> ReferenceBarPicture(const GaugeLookCore& look, int width, int height)
{
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    auto fill = [&](const PixelRect& box, TColor color) {
        for (int y = std::max(box.top, 0); y < std::min(box.bottom, height); ++y)
            for (int x = std::max(box.left, 0); x < std::min(box.right, width); ++x)
                pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)] =
                    PixelOf(color);
    };
    const PixelRect inner = InnerRect(look.BorderStyle, width, height);
    fill(inner, look.BackColor);
    if (const std::optional<PixelRect> bar = BarFill(look.Kind, inner, look.Percent))
        fill(*bar, look.ForeColor);
    return pixels;
}

// The cases both gauges are compared on: every bar kind and border, sizes
// from one pixel up, percentages from below 0 to above 100.
struct BarCase {
    TVantorGaugeKind kind;
    TBorderStyle border;
    int width;
    int height;
    std::int32_t percent;
};

inline std::vector<BarCase> BarCases()
{
    std::vector<BarCase> cases;
    for (TVantorGaugeKind kind : {gkText, gkHorizontalBar, gkVerticalBar})
        for (TBorderStyle border : {bsNone, bsSingle})
            for (auto [width, height] : {std::pair{1, 1}, {3, 2}, {332, 17}, {17, 120}, {100, 100}})
                for (std::int32_t percent : {-5, 0, 1, 10, 33, 50, 99, 100, 140})
                    cases.push_back({kind, border, width, height, percent});
    return cases;
}

inline GaugeLookCore LookOf(const BarCase& c)
{
    GaugeLookCore look;
    look.Kind = c.kind;
    look.BorderStyle = c.border;
    look.ShowText = false;
    look.ForeColor = MakeRGB(0, 0, 128);
    look.BackColor = MakeRGB(250, 240, 10);
    look.Color = MakeRGB(0, 160, 0);
    look.Percent = c.percent;
    return look;
}

}  // namespace pellimar::test
