// What a picture of the gauge depends on apart from its size, its font and
// the system's colours: the part every toolkit's gauge shares.
#pragma once

#include <cstdint>

#include "gauge/color_values.h"
#include "gauge/gauge_kinds.h"

namespace pellimar {

struct GaugeLookCore {
    TVantorGaugeKind Kind = gkHorizontalBar;
    bool ShowText = true;
    TBorderStyle BorderStyle = bsSingle;
    TColor ForeColor = clBlack;
    TColor BackColor = clWhite;
    // Around the pie and the needle's dial.
    TColor Color = clWindow;
    std::int32_t Percent = 0;
};

}  // namespace pellimar
