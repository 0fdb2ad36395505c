// The main window's controls: the boxes with a history, in one list.
#include "window/main_window_ui.h"

#include <algorithm>

namespace pellimar {

std::array<HistoryComboBox*, kHistoryBoxCount> MainWindowUi::HistoryBoxes() const
{
    std::array<HistoryComboBox*, kHistoryBoxCount> boxes{};
    std::copy(LevelBoxes.begin(), LevelBoxes.end(), boxes.begin());
    boxes[kLevelCount] = pageCB;
    boxes[kLevelCount + 1] = refCB;
    boxes[kLevelCount + 2] = inEdit;
    boxes[kLevelCount + 3] = outEdit;
    return boxes;
}

}  // namespace pellimar
