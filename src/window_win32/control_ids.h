// The numbers the system knows the main window's controls and menu items by,
// made from the window model's ids.
#pragma once

#include <windows.h>

#include <optional>

#include "run/preferences.h"
#include "window_model/commands.h"
#include "window_model/window_layout.h"
#include "window_win32/resource_ids.h"

namespace pellimar {

constexpr int ResourceIdOf(ControlId id)
{
    return IDC_FIRST_CONTROL + static_cast<int>(id);
}

// The window's control of this id; labels and groups, which share
// ControlId::None, are not found this way.
inline HWND ControlOf(HWND window, ControlId id)
{
    return GetDlgItem(window, ResourceIdOf(id));
}

constexpr UINT MenuIdOf(Command command)
{
    return IDM_FIRST_COMMAND + static_cast<UINT>(command);
}

constexpr UINT MenuIdOf(Preference preference)
{
    return IDM_FIRST_PREFERENCE + static_cast<UINT>(preference);
}

inline std::optional<Command> CommandOfMenuId(UINT id)
{
    if (id < IDM_FIRST_COMMAND || id >= IDM_FIRST_COMMAND + kCommandCount)
        return std::nullopt;
    return static_cast<Command>(id - IDM_FIRST_COMMAND);
}

inline std::optional<Preference> PreferenceOfMenuId(UINT id)
{
    if (id < IDM_FIRST_PREFERENCE || id >= IDM_FIRST_PREFERENCE + kPreferenceCount)
        return std::nullopt;
    return static_cast<Preference>(id - IDM_FIRST_PREFERENCE);
}

}  // namespace pellimar
