// The main window's menu bar, built from the window model's menus: each
// command's item and shortcut text, the Preferences submenu with an item per
// preference, and the states and check marks the model shows.
#pragma once

#include <windows.h>

#include <optional>

#include "run/preferences.h"
#include "window_model/commands.h"

namespace pellimar {

class MenuBarWin32 {
public:
    MenuBarWin32();
    MenuBarWin32(const MenuBarWin32&) = delete;
    MenuBarWin32& operator=(const MenuBarWin32&) = delete;

    // Given to the window, which destroys it with itself.
    HMENU Handle() const { return bar_; }
    bool IsFileMenu(HMENU menu) const { return menu == fileMenu_; }
    bool IsPreferencesMenu(HMENU menu) const { return menu == preferencesMenu_; }

    void Show(const MenuState& state);
    void Show(const Preferences& preferences);
    void Enable(Command command, bool enabled);

private:
    void Append(HMENU menu, const MenuEntry& entry);
    HMENU MakePreferencesMenu();

    HMENU bar_ = nullptr;
    HMENU fileMenu_ = nullptr;
    HMENU preferencesMenu_ = nullptr;
};

}  // namespace pellimar
