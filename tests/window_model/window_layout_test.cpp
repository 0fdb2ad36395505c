// The window's layout and menus as data: what both windows are built from.
#include "window_model/window_layout.h"

#include <gtest/gtest.h>

#include <set>

#include "window_model/commands.h"

namespace pellimar {
namespace {

bool Inside(const ControlPlace& place, const ControlPlace& group)
{
    return place.x >= group.x && place.y >= group.y && place.x + place.width <= group.x + group.width &&
           place.y + place.height <= group.y + group.height;
}

// A window places a group's controls in the group's own coordinates.
TEST(WindowLayout, EveryControlStandsInItsGroupAndTheOthersInNone)
{
    const std::vector<ControlPlace>& layout = MainWindowLayout();
    for (const ControlPlace& place : layout) {
        if (place.kind == ControlKind::Group) {
            EXPECT_EQ(place.group, -1) << place.text;
            continue;
        }
        for (std::size_t g = 0; g < layout.size(); ++g) {
            if (layout[g].kind != ControlKind::Group)
                continue;
            EXPECT_EQ(Inside(place, layout[g]), place.group == static_cast<int>(g)) << place.text;
        }
        EXPECT_LE(place.x + place.width, kClientWidth) << place.text;
        EXPECT_LE(place.y + place.height, kClientHeight) << place.text;
    }
    EXPECT_EQ(PlaceOf(ControlId::Begin).text, std::string("&Begin"));
}

// Each check-box preference has one check box, which bears its caption, and
// every check box is one preference's.
TEST(WindowLayout, EachCheckBoxShowsItsOwnPreference)
{
    for (const PreferenceRow& row : PreferenceRows(PreferenceKind::CheckBox)) {
        const ControlPlace& box = CheckBoxOf(row.preference);
        EXPECT_EQ(box.kind, ControlKind::CheckBox) << row.caption;
        EXPECT_EQ(box.preference, row.preference) << row.caption;
        EXPECT_EQ(box.text, std::string(row.caption));
    }
    for (const ControlPlace& place : MainWindowLayout()) {
        EXPECT_EQ(place.kind == ControlKind::CheckBox, place.preference.has_value()) << place.text;
        if (place.preference) {
            EXPECT_EQ(RowOf(*place.preference).kind, PreferenceKind::CheckBox) << place.text;
        }
    }
}

TEST(Menus, EachShortcutLetterRunsOneCommand)
{
    std::set<char> letters;
    for (const Menu& menu : MainMenus()) {
        for (const MenuEntry& entry : menu.entries) {
            if (entry.shortcut == 0)
                continue;
            EXPECT_TRUE(letters.insert(entry.shortcut).second) << entry.shortcut;
            EXPECT_EQ(ShortcutCommand(entry.shortcut), entry.command);
        }
    }
    EXPECT_EQ(ShortcutCommand('B'), Command::BeginOrCancel);
    EXPECT_EQ(ShortcutCommand('Q'), std::nullopt);
}

}  // namespace
}  // namespace pellimar
