// Building the menu bar and showing its states.
#include "window_win32/menu_bar_win32.h"

#include <string>

#include "window_win32/control_ids.h"
#include "window_win32/win32_text.h"

namespace pellimar {

MenuBarWin32::MenuBarWin32() : bar_(CreateMenu())
{
    for (const Menu& menu : MainMenus()) {
        HMENU popup = CreatePopupMenu();
        for (const MenuEntry& entry : menu.entries)
            Append(popup, entry);
        AppendMenuW(bar_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), WideOfUtf8(menu.caption).c_str());
        if (fileMenu_ == nullptr)
            fileMenu_ = popup;
    }
}

void MenuBarWin32::Append(HMENU menu, const MenuEntry& entry)
{
    if (entry.caption == nullptr) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        return;
    }
    std::wstring caption = WideOfUtf8(entry.caption);
    if (!entry.command) {
        AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(MakePreferencesMenu()), caption.c_str());
        return;
    }
    if (entry.shortcut != 0)
        caption += std::wstring(L"\tAlt+") + static_cast<wchar_t>(entry.shortcut);
    AppendMenuW(menu, MF_STRING, MenuIdOf(*entry.command), caption.c_str());
}

HMENU MenuBarWin32::MakePreferencesMenu()
{
    preferencesMenu_ = CreatePopupMenu();
    for (const PreferenceRow& row : PreferenceRows(PreferenceKind::MenuItem))
        AppendMenuW(preferencesMenu_, MF_STRING, MenuIdOf(row.preference), WideOfUtf8(row.caption).c_str());
    for (const MenuEntry& entry : PreferencesMenu().entries)
        Append(preferencesMenu_, entry);
    return preferencesMenu_;
}

void MenuBarWin32::Enable(Command command, bool enabled)
{
    EnableMenuItem(bar_, MenuIdOf(command), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void MenuBarWin32::Show(const MenuState& state)
{
    const UINT begin = MenuIdOf(Command::BeginOrCancel);
    const std::wstring caption = WideOfUtf8(state.beginCaption) + L"\tAlt+B";
    ModifyMenuW(bar_, begin, MF_BYCOMMAND | MF_STRING, begin, caption.c_str());
    for (int i = 0; i < kCommandCount; ++i)
        Enable(static_cast<Command>(i), state.enabled[i]);
}

void MenuBarWin32::Show(const Preferences& preferences)
{
    for (const PreferenceRow& row : PreferenceRows(PreferenceKind::MenuItem)) {
        const UINT mark = preferences.On(row.preference) ? MF_CHECKED : MF_UNCHECKED;
        CheckMenuItem(bar_, MenuIdOf(row.preference), MF_BYCOMMAND | mark);
    }
}

}  // namespace pellimar
