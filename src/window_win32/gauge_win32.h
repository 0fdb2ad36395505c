// The progress gauge as a Win32 control drawn with GDI: in the window a
// horizontal bar with its whole percentage XOR-ed on, in the window's
// colours; as a picture, any of the gauge's kinds.
#pragma once

#include <windows.h>

#include <cstdint>

#include <vector>

#include "gauge/gauge_look_core.h"

namespace pellimar {

inline constexpr const wchar_t* kGaugeClass = L"PellimarGauge";

bool RegisterGaugeClass(HINSTANCE instance);

// Repaints at once when the percentage changes, because the window sets it
// from inside a run.
void SetGaugePercent(HWND gauge, std::int32_t percent);

// The gauge's picture, top-down 32-bit pixels of width x height (0x00RRGGBB),
// drawn into a memory bitmap; `font` gives the text's face (nullptr for the
// system's). System colours resolve through GetSysColor.
std::vector<std::uint32_t> ComposeGaugePixels(const GaugeLookCore& look, int width, int height, HFONT font);

}  // namespace pellimar
