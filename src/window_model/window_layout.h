// Where the main window's controls stand and what they say: client
// coordinates at 96 DPI, in the window's creation order, which is also the
// tab order and the order in which a label's mnemonic finds its box. Both
// windows are built from this.
#pragma once

#include <optional>
#include <vector>

#include "run/preferences.h"
#include "window_model/history_boxes.h"

namespace pellimar {

enum class ControlKind { Group, Label, SmallLabel, Box, CheckBox, Button, BrowseButton, Gauge };

// The controls the window's code refers to; labels and groups have none.
enum class ControlId {
    None,
    RemovePageMarks,
    NotSearched,
    Begin,
    Exit,
    InputBrowse,
    OutputBrowse,
    Gauge,
    ElapsedCaption,
    RemainingCaption,
    Elapsed,
    Remaining,
    FirstBox,  // the eleven boxes follow in the order of HistoryBox
};

constexpr ControlId BoxControl(HistoryBox box)
{
    return static_cast<ControlId>(static_cast<int>(ControlId::FirstBox) + BoxIndex(box));
}

struct ControlPlace {
    ControlId id;
    ControlKind kind;
    const char* text;  // "&" marks the underlined letter
    int x;
    int y;
    int width;
    int height;
    // The group box it stands in, as an index into the layout; -1 for none.
    int group;
    // Its underlined letter belongs elsewhere: to a control earlier in the
    // layout ("&Remove #'s": Alt+R is the reference pattern's label's), or
    // to a menu shortcut ("&Input File:").
    bool letterTakenElsewhere = false;
    // A check box: the preference it shows, whose caption it has.
    std::optional<Preference> preference = std::nullopt;
};

// The client area below the menu bar: with a 3-pixel dialog frame, a
// 19-pixel caption and a 19-pixel menu bar it makes a 435 x 334 window.
inline constexpr int kClientWidth = 429;
inline constexpr int kClientHeight = 290;

// A drop-down box's list shows this many entries.
inline constexpr int kVisibleEntries = 6;

const std::vector<ControlPlace>& MainWindowLayout();
const ControlPlace& PlaceOf(ControlId id);
// The check box of a preference the window shows as one.
const ControlPlace& CheckBoxOf(Preference preference);

// A length at 96 DPI for a monitor of `dpi` dots per inch.
int Scaled(int length, unsigned dpi);

}  // namespace pellimar
