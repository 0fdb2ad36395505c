// When the user has left one of the window's history boxes. A box is left
// when the focus reaches another control of its window. The focus passing to
// a popup (the box's own list, a menu), to a dialog or to another program
// decides nothing yet: back in the same box nothing has happened; back
// anywhere else in the window the box has been left.
#pragma once

#include <optional>

#include "window_model/history_boxes.h"

namespace pellimar {

class BoxExitRule {
public:
    // The focus reached a control of the window: a box, or (nothing) any
    // other. Returns the box that has been left, if any.
    std::optional<HistoryBox> FocusReached(std::optional<HistoryBox> control)
    {
        std::optional<HistoryBox> left;
        if (inUse_ && control != inUse_)
            left = inUse_;
        inUse_ = control;
        return left;
    }

private:
    std::optional<HistoryBox> inUse_;
};

}  // namespace pellimar
