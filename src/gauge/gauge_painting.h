// Composes the gauge's picture off-screen; the widget shows it, tests and the
// gallery read its pixels.
#pragma once

#include <QImage>
#include <QSize>

#include "gauge/gauge_look.h"

namespace pellimar {

// The whole picture: black outside the inner rectangle (a one-pixel frame
// with bsSingle, which only the needle's dial draws on), the kind's drawing
// inside, and the percentage text XOR-ed in white on top. An empty size gives
// a null image.
QImage ComposeGauge(const GaugeLook& look, QSize size);

}  // namespace pellimar
