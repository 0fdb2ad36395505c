// Everything the program remembers from one start to the next, as plain data
// that the window maps to and from its controls.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/run_settings.h"
#include "run/preferences.h"

namespace pellimar {

// Each history lists its entries top first (the most recently added one).
// The defaults are what a first start without any settings file shows.
struct SettingsData {
    std::array<std::vector<std::string>, kLevelCount> levelHistories;  // L1CB..L7CB
    std::vector<std::string> inputHistory;                              // inEdit
    std::vector<std::string> outputHistory;                             // outEdit
    std::vector<std::string> pagePatternHistory;                        // pageCB
    std::vector<std::string> refPatternHistory;                         // refCB

    Preferences preferences;          // the check boxes' and the menu's
    std::string viewerPath;           // ViewerPath
    std::string outputFolder;         // where the last collection's outputs went

    bool operator==(const SettingsData&) const = default;
};

}  // namespace pellimar
