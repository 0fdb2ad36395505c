// A work bitmap that takes another bitmap's size in one step.
#pragma once

#include <QImage>

namespace pellimar {

class TBltBitmap : public QImage {
public:
    // Takes the source's width and height and fills the whole area with the
    // system colour for window frames (clWindowFrame).
    void MakeLike(const QImage& source);
};

}  // namespace pellimar
