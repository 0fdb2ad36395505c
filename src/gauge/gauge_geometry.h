// The gauge's rectangles and points, in the pixel rules every toolkit's
// gauge draws by.
#pragma once

namespace pellimar {

// Right and bottom are exclusive: (0, 0, 2, 1) covers two pixels.
struct PixelRect {
    int left;
    int top;
    int right;
    int bottom;
};

struct PixelPoint {
    int x;
    int y;
};

}  // namespace pellimar
