// Where the gauge's frame, bars and percentage text go: the geometry every
// toolkit's gauge draws by, so that they all set the same pixels.
#pragma once

#include <cstdint>
#include <optional>

#include "gauge/gauge_geometry.h"
#include "gauge/gauge_kinds.h"

namespace pellimar {

// Inside the one-pixel frame of bsSingle, or the whole control.
PixelRect InnerRect(TBorderStyle style, int width, int height);

// The part of a bar gauge (horizontal or vertical) filled with the fore
// colour; nothing when no pixel is filled.
std::optional<PixelRect> BarFill(TVantorGaugeKind kind, const PixelRect& inner, std::int32_t percent);

// Where a text of the given size starts (its top left corner) to stand
// centred in the inner rectangle. Absolute coordinates: a text wider than
// the rectangle starts left of it.
PixelPoint TextOrigin(const PixelRect& inner, int textWidth, int textHeight);

}  // namespace pellimar
