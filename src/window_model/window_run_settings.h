// What the window gives every kind of run: its settings as the boxes and
// the preferences hold them, and the one error a run's end may still have
// to tell.
#pragma once

#include <optional>
#include <string>

#include "engine/run_settings.h"
#include "run/preferences.h"
#include "window_model/box_texts.h"
#include "window_model/dialogs.h"
#include "window_model/window_view.h"

namespace pellimar {

// The boxes in the flat file's encoding, the check boxes, and the
// preferences a run takes at its start. Nothing when a box holds a
// character the file cannot; the user was told.
std::optional<RunSettings> RunSettingsOfWindow(const BoxTexts& boxes, const WindowView& view,
                                               const Preferences& preferences, Dialogs& dialogs);

// Written in place, the partial output could not be removed: the user must
// not believe it gone.
void ReportFailedRemoval(Dialogs& dialogs, const std::string& path);

}  // namespace pellimar
