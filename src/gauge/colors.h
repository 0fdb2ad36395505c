// The gauge's colour values translated to Qt colours.
#pragma once

#include <QColor>
#include <QPalette>

#include "gauge/color_values.h"

namespace pellimar {

// System colours come from the palette's active group, so that a disabled or
// inactive gauge draws exactly like an active one. An index without a
// matching role resolves to black.
QColor ToQColor(TColor color, const QPalette& palette);

}  // namespace pellimar
