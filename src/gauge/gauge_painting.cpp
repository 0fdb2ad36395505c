// The gauge's painters, one per kind, and the composition that layers them.
//
// The kind is painted on a black work bitmap and XOR-ed onto a black picture,
// and the text is XOR-ed on afterwards from a third bitmap, white on black.
// XOR rather than plain drawing is what makes the text read in inverted
// colours over the filled and the empty part alike.
#include "gauge/gauge_painting.h"

#include <algorithm>

#include <QPainter>
#include <QString>

#include "gauge/blt_bitmap.h"
#include "gauge/canvas.h"
#include "gauge/gauge_math.h"

namespace pellimar {
namespace {

QColor Resolve(TColor color, const TGaugeLook& look)
{
    return ToQColor(color, look.Palette);
}

TRect InnerRect(TBorderStyle style, QSize size)
{
    if (style == bsSingle)
        return {1, 1, size.width() - 1, size.height() - 1};
    return {0, 0, size.width(), size.height()};
}

void PaintAsText(QImage& bitmap, const TRect& r, const TGaugeLook& look)
{
    QPainter painter(&bitmap);
    FillBox(painter, r, Resolve(look.BackColor, look));
}

// The bars' extents w and h are one more than the inner rectangle's and are
// used as coordinates, not as offsets from its corner; the pictures depend on
// both quirks (with bsNone the vertical bar never reaches the top row).
void PaintAsBar(QImage& bitmap, const TRect& r, const TGaugeLook& look)
{
    QPainter painter(&bitmap);
    FillBox(painter, r, Resolve(look.BackColor, look));
    const QColor fore = Resolve(look.ForeColor, look);
    const int w = r.right - r.left + 1;
    const int h = r.bottom - r.top + 1;
    if (look.Kind == gkHorizontalBar) {
        const std::int64_t n = std::min<std::int64_t>(ScaledLength(w, look.Percent), w);
        if (n > 0)
            FillBox(painter, {r.left, r.top, static_cast<int>(n), h}, fore);
        return;
    }
    std::int64_t n = ScaledLength(h, look.Percent);
    if (n >= h)
        n = h - 1;
    // For n <= 0 the rectangle below would be empty.
    if (n > 0)
        FillBox(painter, {r.left, static_cast<int>(h - n), w, h}, fore);
}

void PaintAsPie(QImage& bitmap, const TRect& r, const TGaugeLook& look)
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

void PaintAsNeedle(QImage& bitmap, const TRect& r, const TGaugeLook& look)
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

void PaintKind(QImage& bitmap, const TRect& r, const TGaugeLook& look)
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
void DrawTextMask(QImage& mask, const TRect& r, const TGaugeLook& look)
{
    const QString text = QStringLiteral("%1%").arg(look.Percent);
    QFont font = look.Font;
    font.setStyleStrategy(QFont::NoAntialias);
    QPainter painter(&mask);
    painter.setFont(font);
    painter.setPen(QColor(Qt::white));
    const QFontMetrics metrics = painter.fontMetrics();
    // Absolute coordinates: a text wider than r starts left of it.
    const int x = (r.right - r.left + 1 - metrics.horizontalAdvance(text)) / 2;
    const int y = (r.bottom - r.top + 1 - metrics.height()) / 2;
    painter.setClipRect(ToQRect(r));
    painter.drawText(x, y + metrics.ascent(), text);
}

void PaintPercentText(QImage& bitmap, const TRect& r, const TGaugeLook& look)
{
    TBltBitmap mask;
    mask.MakeLike(bitmap);
    FillBlack(mask);
    DrawTextMask(mask, r, look);
    XorCopy(bitmap, mask);
}

}  // namespace

QImage ComposeGauge(const TGaugeLook& look, QSize size)
{
    if (size.isEmpty())
        return {};
    QImage picture(size, QImage::Format_RGB32);
    FillBlack(picture);
    const TRect r = InnerRect(look.BorderStyle, size);
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
