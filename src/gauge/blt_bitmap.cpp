// The gauge's work bitmap.
#include "gauge/blt_bitmap.h"

#include <QGuiApplication>

#include "gauge/colors.h"

namespace pellimar {

void TBltBitmap::MakeLike(const QImage& source)
{
    QImage::operator=(QImage(source.width(), source.height(), QImage::Format_RGB32));
    // The gauge blackens every work bitmap before drawing on it; the fill
    // keeps a new bitmap from ever showing what its memory held before.
    // The system colours are the application's, not any one widget's.
    fill(ToQColor(clWindowFrame, QGuiApplication::palette()));
}

}  // namespace pellimar
