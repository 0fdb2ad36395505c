// Everything a picture of the Qt gauge depends on, apart from its size.
#pragma once

#include <QFont>
#include <QPalette>

#include "gauge/colors.h"
#include "gauge/gauge_look_core.h"

namespace pellimar {

struct GaugeLook : GaugeLookCore {
    // Face, size and style of the percentage text; its colour is not used.
    QFont Font;
    // Resolves the system colours.
    QPalette Palette;
};

}  // namespace pellimar
