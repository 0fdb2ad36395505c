// The window's commands and its menus as data. Every menu item, menu
// shortcut and button names a command; the model decides what it does and
// whether it may run now, and both windows build their menus from here.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace pellimar {

enum class Command {
    LoadLevels,
    InputFile,
    OutputFile,
    BeginOrCancel,
    Preview,
    ConvertSeveral,
    PreviewSeveral,
    SetViewer,
    Exit,
    UsingPellimar,
    AboutPellimar,
};
inline constexpr int kCommandCount = 11;

struct MenuEntry {
    const char* caption = nullptr;  // nullptr: a separator
    // Nothing, with a caption: the Preferences submenu.
    std::optional<Command> command;
    // Alt and this capital letter run the command, also with the menu shut.
    char shortcut = 0;
};

struct Menu {
    const char* caption;
    std::vector<MenuEntry> entries;
};

// "&File" and "&Help", in the menu bar's order.
const std::vector<Menu>& MainMenus();
// The File menu's Preferences submenu: an item per preference, in the
// preferences' order, checked while it is on; then these entries.
const Menu& PreferencesMenu();
// The command of a shortcut letter (a capital), if any.
std::optional<Command> ShortcutCommand(char letter);

// The File menu as its items show now: Begin's caption ("&Begin", or
// "&Cancel" while a run lasts) and which commands may run.
struct MenuState {
    std::string beginCaption;
    std::array<bool, kCommandCount> enabled{};

    bool Enabled(Command command) const { return enabled[static_cast<int>(command)]; }
};

}  // namespace pellimar
