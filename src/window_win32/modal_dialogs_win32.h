// The window's own modal dialogs, from the templates of the resource script:
// the input box, the preview list and the user guide.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "window_model/dialogs.h"

namespace pellimar {

// The typed text, or nothing when cancelled.
std::optional<std::wstring> RunInputBox(HWND owner, const std::wstring& title, const std::wstring& prompt,
                                        const std::wstring& defaultText);

// Shows the preview's heading, its references (line, reference, the record)
// and its note.
void RunPreviewList(HWND owner, const PreviewShown& preview);

// Shows the guide kept at the path (UTF-8 text), or where it was looked for.
void RunGuideWindow(HWND owner, const std::wstring& guidePath);

}  // namespace pellimar
