// Where the main window's controls stand: client coordinates at 96 DPI, in
// the window's creation order, which is also the tab order and the order in
// which a label's mnemonic finds its box.
#pragma once

#include <vector>

namespace pellimar {

enum class ControlKind { Group, Label, SmallLabel, Box, CheckBox, Button, BrowseButton, Gauge };

struct ControlPlace {
    int id;  // 0 for the labels and groups, which nothing refers to
    ControlKind kind;
    const wchar_t* text;
    int x;
    int y;
    int width;
    int height;
};

// The client area below the menu bar: with a 3-pixel dialog frame, a
// 19-pixel caption and a 19-pixel menu bar it makes a 435 x 334 window.
inline constexpr int kClientWidth = 429;
inline constexpr int kClientHeight = 290;

// A drop-down box's list shows this many entries.
inline constexpr int kVisibleEntries = 6;

const std::vector<ControlPlace>& MainWindowLayout();

// A length at 96 DPI for a monitor of `dpi` dots per inch.
int Scaled(int length, unsigned dpi);

}  // namespace pellimar
