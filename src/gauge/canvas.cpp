// Drawing primitives on QPainter with exclusive edges and radial-based pies.
#include "gauge/canvas.h"

#include <algorithm>
#include <cmath>

#include <QtMath>

namespace pellimar {
namespace {

constexpr int kFullTurn = 360 * 16;  // QPainter angles are in 1/16 degree

bool IsEmpty(const PixelRect& box)
{
    return box.right <= box.left || box.bottom <= box.top;
}

// A one-pixel pen centred on this rectangle's edge covers exactly the box's
// outermost pixels.
QRectF InscribedEllipse(const PixelRect& box)
{
    return QRectF(box.left + 0.5, box.top + 0.5, box.right - box.left - 1,
                  box.bottom - box.top - 1);
}

// QPainter's arc angles are parametric, not geometric: the radial through a
// point meets the ellipse at the parameter found by scaling the point's offset
// to the unit circle.
int ParametricAngle(const QRectF& ellipse, PixelPoint point)
{
    const QPointF centre = ellipse.center();
    const double rx = std::max(ellipse.width() / 2, 0.5);
    const double ry = std::max(ellipse.height() / 2, 0.5);
    const double radians = std::atan2(-(point.y - centre.y()) / ry, (point.x - centre.x()) / rx);
    return qRound(qRadiansToDegrees(radians) * 16);
}

}  // namespace

QRect ToQRect(const PixelRect& box)
{
    if (IsEmpty(box))
        return {};
    return QRect(QPoint(box.left, box.top), QPoint(box.right - 1, box.bottom - 1));
}

void FillBlack(QImage& bitmap)
{
    bitmap.fill(QColor(Qt::black));
}

void XorCopy(QImage& target, const QImage& source)
{
    QPainter painter(&target);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.drawImage(0, 0, source);
}

void SetThinPen(QPainter& painter, const QColor& color)
{
    // Width 0 is Qt's cosmetic pen: one device pixel whatever the transform.
    painter.setPen(QPen(color, 0));
}

void FillBox(QPainter& painter, const PixelRect& box, const QColor& color)
{
    if (IsEmpty(box))
        return;
    painter.fillRect(ToQRect(box), color);
}

void DrawEllipse(QPainter& painter, const PixelRect& box)
{
    if (IsEmpty(box))
        return;
    painter.save();
    painter.setClipRect(ToQRect(box));
    painter.drawEllipse(InscribedEllipse(box));
    painter.restore();
}

void DrawPie(QPainter& painter, const PixelRect& box, PixelPoint start, PixelPoint end)
{
    if (IsEmpty(box))
        return;
    const QRectF ellipse = InscribedEllipse(box);
    const int startAngle = ParametricAngle(ellipse, start);
    int span = (ParametricAngle(ellipse, end) - startAngle) % kFullTurn;
    if (span <= 0)
        span += kFullTurn;
    painter.save();
    // The rasterised wedge can reach one pixel past the box.
    painter.setClipRect(ToQRect(box));
    painter.drawPie(ellipse, startAngle, span);
    painter.restore();
}

// Stepped pixel by pixel: QPainter covers the pixels a line passes over, so
// which end it leaves out depends on the line's direction.
void DrawLine(QPainter& painter, PixelPoint from, PixelPoint to)
{
    const int dx = std::abs(to.x - from.x);
    const int dy = -std::abs(to.y - from.y);
    const int stepX = from.x < to.x ? 1 : -1;
    const int stepY = from.y < to.y ? 1 : -1;
    int error = dx + dy;
    QPolygon pixels;
    for (PixelPoint p = from; p.x != to.x || p.y != to.y;) {
        pixels << QPoint(p.x, p.y);
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            p.x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            p.y += stepY;
        }
    }
    painter.drawPoints(pixels);
}

}  // namespace pellimar

