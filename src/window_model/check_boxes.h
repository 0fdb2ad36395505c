// The preferences that the main window shows as check boxes: the boxes hold
// their values while the window is open, so they come from the view at a
// run's start and at the save, and go to it at the load.
#pragma once

#include "run/preferences.h"
#include "window_model/window_view.h"

namespace pellimar {

// Each check box set to its preference's value.
void ShowCheckBoxes(WindowView& view, const Preferences& preferences);

// The preferences with the check boxes' values as the window shows them.
Preferences WithCheckBoxes(Preferences preferences, const WindowView& view);

}  // namespace pellimar
