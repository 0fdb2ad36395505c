// Drawing primitives with the pixel rules the gauge's pictures are defined
// by: rectangles and ellipse boxes exclude their right and bottom edges, lines
// exclude their end point, and pies run counter-clockwise from a start radial
// to an end radial.
#pragma once

#include <QImage>
#include <QPainter>

#include "gauge/gauge_geometry.h"

namespace pellimar {

// The same pixels as a QRect, whose right and bottom are inclusive; an empty
// box gives an empty QRect.
QRect ToQRect(const PixelRect& box);

// Every pixel of the bitmap becomes black.
void FillBlack(QImage& bitmap);

// Each pixel of target becomes the XOR of itself and the source pixel at the
// same place.
void XorCopy(QImage& target, const QImage& source);

// The painter's pen: one pixel wide.
void SetThinPen(QPainter& painter, const QColor& color);

// An inverted or empty rectangle fills nothing.
void FillBox(QPainter& painter, const PixelRect& box, const QColor& color);

// Outlined with the pen and filled with the brush, inside the box.
void DrawEllipse(QPainter& painter, const PixelRect& box);

// The wedge from the radial through start counter-clockwise to the radial
// through end; the points need not lie on the ellipse. Radials that coincide
// give the whole ellipse.
void DrawPie(QPainter& painter, const PixelRect& box, PixelPoint start, PixelPoint end);

// Covers from, not to.
void DrawLine(QPainter& painter, PixelPoint from, PixelPoint to);

}  // namespace pellimar
