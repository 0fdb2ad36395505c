// The menus.
#include "window_model/commands.h"

namespace pellimar {

const std::vector<Menu>& MainMenus()
{
    static const std::vector<Menu> menus = {
        {"&File",
         {
             {"&Load Levels", Command::LoadLevels, 'L'},
             {"&Input File", Command::InputFile, 'I'},
             {"&Output File", Command::OutputFile, 'O'},
             {"&Begin", Command::BeginOrCancel, 'B'},
             {"Pre&view", Command::Preview, 'V'},
             {"Convert &Several Files...", Command::ConvertSeveral},
             {"Previe&w Several Files...", Command::PreviewSeveral},
             {},
             {"&Preferences", std::nullopt},
             {},
             {"E&xit", Command::Exit, 'X'},
         }},
        {"&Help",
         {
             {"&Using Pellimar ...", Command::UsingPellimar},
             {},
             {"&About Pellimar ...", Command::AboutPellimar},
         }},
    };
    return menus;
}

const Menu& PreferencesMenu()
{
    static const Menu menu = {"&Preferences", {{"Set Folio Flat File &Viewer ...", Command::SetViewer}}};
    return menu;
}

std::optional<Command> ShortcutCommand(char letter)
{
    for (const Menu& menu : MainMenus()) {
        for (const MenuEntry& entry : menu.entries) {
            if (entry.shortcut != 0 && entry.shortcut == letter)
                return entry.command;
        }
    }
    return std::nullopt;
}

}  // namespace pellimar
