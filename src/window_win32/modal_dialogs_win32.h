// The window's own modal dialogs, from the templates of the resource script:
// the input box, the preview list and the user guide.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "engine/preview.h"

namespace pellimar {

// The typed text, or nothing when cancelled.
std::optional<std::wstring> RunInputBox(HWND owner, const std::wstring& title, const std::wstring& prompt,
                                        const std::wstring& defaultText);

// Lists the first references of a run: line, reference, the record.
void RunPreviewList(HWND owner, const std::vector<PreviewReference>& references);

// Shows the guide kept at the path (UTF-8 text), or where it was looked for.
void RunGuideWindow(HWND owner, const std::wstring& guidePath);

}  // namespace pellimar
