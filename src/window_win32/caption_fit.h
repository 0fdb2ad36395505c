// What a control's caption needs to show whole: the extent of its text in
// the control's font, and for a check box, a push button or a group box the
// room the system draws around it. The window's fonts are made here too, so
// that what is measured is what the window shows.
#pragma once

#include <windows.h>

#include <string>

#include "window_model/window_layout.h"

namespace pellimar {

// Arial, 13 pixels high for the controls and 11 for the time readouts at
// 96 DPI, scaled for `dpi`.
HFONT MakeControlFont(ControlKind kind, unsigned dpi);

// The width, in pixels at `dpi`, that a control of this kind needs for the
// caption with the font selected into `dc` ("&" marks a mnemonic).
int CaptionWidthNeeded(HDC dc, ControlKind kind, const std::wstring& caption, unsigned dpi);

// The kind of one of the window's controls, told by its class and style.
ControlKind KindOfControl(HWND control);

}  // namespace pellimar
