// The gauge's painters, one per kind, and the composition that layers them.
//
// The kind is painted on a black work bitmap and XOR-ed onto a black picture,
// and the text is XOR-ed on afterwards from a third bitmap, white on black.
// XOR rather than plain drawing is what makes the text read in inverted
// colours over the filled and the empty part alike.
#include "gauge/gauge_painting.h"

#include <QPainter>
#include <QString>

#include "gauge/bar_geometry.h"
#include "gauge/blt_bitmap.h"
#include "gauge/canvas.h"
#include "gauge/gauge_math.h"

namespace pellimar {
namespace {

QColor Resolve(TColor color, const GaugeLook& look)
{
    return ToQColor(color, look.Palette);
}

void PaintAsText(QImage& bitmap, const PixelRect& r, const GaugeLook& look)
{
    QPainter painter(&bitmap);
    FillBox(painter, r, Resolve(look.BackColor, look));
}

void PaintAsBar(QImage& bitmap, const PixelRect& r, const GaugeLook& look)
{
    QPainter painter(&bitmap);
    FillBox(painter, r, Resolve(look.BackColor, look));
    if (const std::optional<PixelRect> fill = BarFill(look.Kind, r, look.Percent))
        FillBox(painter, *fill, Resolve(look.ForeColor, look));
}

void PaintAsPie(QImage& bitmap, const PixelRect& r, const GaugeLook& look)
{
    QPainter painter(&bitmap);
    FillBox(painter, r, Resolve(look.Color, look));
    const QColor fore = Resolve(look.ForeColor, look);
    painter.setBrush(Resolve(look.BackColor, look));
    SetThinPen(painter, fore);
    DrawEllipse(painter, r);
    if (look.Percent <= 0)
        return;
    painter.setBrush(fore);
    const int hw = r.right / 2;
    const int hh = r.bottom / 2;
    DrawPie(painter, r, PieStart(look.Percent, hw, hh), {hw, 0});
}

void PaintAsNeedle(QImage& bitmap, const PixelRect& r, const GaugeLook& look)
{
    QPainter painter(&bitmap);
    FillBox(painter, r, Resolve(look.Color, look));
    painter.setBrush(Resolve(look.BackColor, look));
    SetThinPen(painter, Resolve(look.ForeColor, look));
    // The upper half of an ellipse twice as tall as r: the dial's face.
    const int pivotY = r.bottom - 1;
    DrawPie(painter, {r.left, r.top, r.right, 2 * r.bottom - 1}, {r.left + r.right, pivotY},
            {r.left, pivotY});
    DrawLine(painter, {r.left, r.bottom}, {r.left + r.right, r.bottom});
    if (look.Percent <= 0)
        return;
    // The pivot is centred on the whole control, frame included.
    const int cx = bitmap.width() / 2;
    DrawLine(painter, {cx, pivotY}, NeedleTip(look.Percent, cx, pivotY));
}

void PaintKind(QImage& bitmap, const PixelRect& r, const GaugeLook& look)
{
    switch (look.Kind) {
    case gkText: PaintAsText(bitmap, r, look); break;
    case gkHorizontalBar:
    case gkVerticalBar: PaintAsBar(bitmap, r, look); break;
    case gkPie: PaintAsPie(bitmap, r, look); break;
    case gkNeedle: PaintAsNeedle(bitmap, r, look); break;
    }
}

// Glyphs are drawn without antialiasing so that every pixel of the mask is
// black or white, and the text inverts pixels rather than tinting them.
void DrawTextMask(QImage& mask, const PixelRect& r, const GaugeLook& look)
{
    const QString text = QStringLiteral("%1%").arg(look.Percent);
    QFont font = look.Font;
    font.setStyleStrategy(QFont::NoAntialias);
    QPainter painter(&mask);
    painter.setFont(font);
    painter.setPen(QColor(Qt::white));
    const QFontMetrics metrics = painter.fontMetrics();
    const PixelPoint origin = TextOrigin(r, metrics.horizontalAdvance(text), metrics.height());
    painter.setClipRect(ToQRect(r));
    painter.drawText(origin.x, origin.y + metrics.ascent(), text);
}

void PaintPercentText(QImage& bitmap, const PixelRect& r, const GaugeLook& look)
{
    TBltBitmap mask;
    mask.MakeLike(bitmap);
    FillBlack(mask);
    DrawTextMask(mask, r, look);
    XorCopy(bitmap, mask);
}

}  // namespace

QImage ComposeGauge(const GaugeLook& look, QSize size)
{
    if (size.isEmpty())
        return {};
    QImage picture(size, QImage::Format_RGB32);
    FillBlack(picture);
    const PixelRect r = InnerRect(look.BorderStyle, size.width(), size.height());
    TBltBitmap work;
    work.MakeLike(picture);
    FillBlack(work);
    PaintKind(work, r, look);
    XorCopy(picture, work);
    if (look.ShowText)
        PaintPercentText(picture, r, look);
    return picture;
}

}  // namespace pellimar
