// Everything a picture of the gauge depends on, apart from its size.
#pragma once

#include <cstdint>

#include <QFont>
#include <QPalette>

#include "gauge/colors.h"

namespace pellimar {

enum TVantorGaugeKind : std::uint8_t {
    gkText = 0,
    gkHorizontalBar = 1,
    gkVerticalBar = 2,
    gkPie = 3,
    gkNeedle = 4,
};

enum TBorderStyle : std::uint8_t { bsNone = 0, bsSingle = 1 };

struct TGaugeLook {
    TVantorGaugeKind Kind = gkHorizontalBar;
    bool ShowText = true;
    TBorderStyle BorderStyle = bsSingle;
    TColor ForeColor = clBlack;
    TColor BackColor = clWhite;
    // Around the pie and the needle's dial.
    TColor Color = clWindow;
    // Face, size and style of the percentage text; its colour is not used.
    QFont Font;
    // Resolves the system colours.
    QPalette Palette;
    std::int32_t Percent = 0;
};

}  // namespace pellimar
