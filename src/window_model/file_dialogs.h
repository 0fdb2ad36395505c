// The window's two file dialogs as they start: their filters, the entry
// selected at first and the default extension.
#pragma once

#include "window_model/dialogs.h"

namespace pellimar {

// The entries of the open dialog's filter list, counted from 1.
enum OpenFilter { kFlatFilesFilter = 1, kDefinitionFilesFilter = 2, kExecutablesFilter = 4, kAllFilesFilter = 5 };

// The filter the viewer dialog opens on: programs end in ".exe" only on
// Windows; elsewhere they have no common ending, so every file is offered.
OpenFilter ViewerFilter();

// Shared by the input file, "Load Levels" and the viewer.
FileDialogState InitialOpenDialog();
// The output file, and a new name after the overwrite question.
FileDialogState InitialSaveDialog();

}  // namespace pellimar
