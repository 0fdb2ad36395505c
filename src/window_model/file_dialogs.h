// The window's two file dialogs as they start: their filters, the entry
// selected at first and the default extension.
#pragma once

#include <string>

#include "window_model/dialogs.h"

namespace pellimar {

// The entries of the open dialog's filter list, counted from 1.
enum OpenFilter { kFlatFilesFilter = 1, kDefinitionFilesFilter = 2, kExecutablesFilter = 4, kAllFilesFilter = 5 };

// The filter the viewer dialog opens on: programs end in ".exe" only on
// Windows; elsewhere they have no common ending, so every file is offered.
OpenFilter ViewerFilter();

// What a file dialog is shown for: each has its own caption and remembers
// its own folder.
enum class FileDialogPurpose {
    InputFile,
    OutputFile,
    LoadLevels,
    Viewer,
    SeveralInputs,
    OutputFolder,
    PreviewInputs,  // several files, for a preview: the folder of SeveralInputs
};
inline constexpr int kFileDialogPurposeCount = 7;

const char* FileDialogTitle(FileDialogPurpose purpose);
// The folder of a file's full path ("" when it has none).
std::string FolderOf(const std::string& path);

// Shared by the input file, "Load Levels" and the viewer.
FileDialogState InitialOpenDialog();
// The output file, and a new name after the overwrite question.
FileDialogState InitialSaveDialog();

}  // namespace pellimar
