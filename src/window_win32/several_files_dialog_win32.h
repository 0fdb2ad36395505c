// The common open dialog taking several files at once, and the folder
// dialog: the two choices a collection of inputs needs.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "window_model/dialogs.h"

namespace pellimar {

// The files an open dialog with several selected returns in its buffer: the
// folder and then each name, each ended by a null, or one full path alone.
std::vector<std::wstring> SelectedFiles(const std::wstring& buffer);

// The chosen files' full paths; none when cancelled.
std::vector<std::wstring> RunSeveralFilesDialog(HWND owner, FileDialogState& state);

// The chosen folder's full path, or nothing when cancelled.
std::optional<std::wstring> RunFolderDialog(HWND owner, const std::wstring& title, const std::wstring& start);

}  // namespace pellimar
