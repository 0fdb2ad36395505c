// The main window's layout. Controls in a group are placed relative to the
// group's corner, as the group's own coordinates.
#include "window_win32/window_layout.h"

#include "window_model/history_boxes.h"
#include "window_win32/resource_ids.h"

namespace pellimar {
namespace {

constexpr int kLevelGroupX = 7;
constexpr int kLevelGroupY = 2;
constexpr int kRightGroupsX = 181;
constexpr int kOptionsGroupY = 2;
constexpr int kFilesGroupY = 121;
constexpr int kRightGroupsWidth = 240;
constexpr int kRightBoxWidth = 205;
constexpr int kCheckBoxX = 128;

int BoxId(HistoryBox box)
{
    return IDC_FIRST_BOX + BoxIndex(box);
}

void AddLevelGroup(std::vector<ControlPlace>& places)
{
    static const wchar_t* const captions[] = {L"&1:", L"&2:", L"&3:", L"&4:", L"&5:", L"&6:", L"&7:"};
    places.push_back({0, ControlKind::Group, L"Level Names:", kLevelGroupX, kLevelGroupY, 170, 232});
    for (int n = 0; n < kLevelCount; ++n) {
        const int y = kLevelGroupY + 20 + 30 * n;
        places.push_back({0, ControlKind::Label, captions[n], kLevelGroupX + 10, y + 4, 16, 16});
        places.push_back({BoxId(LevelBox(n)), ControlKind::Box, L"", kLevelGroupX + 28, y, 133, 24});
    }
}

void AddOptionsGroup(std::vector<ControlPlace>& places)
{
    const int x = kRightGroupsX;
    const int y = kOptionsGroupY;
    places.push_back({0, ControlKind::Group, L"Options:", x, y, kRightGroupsWidth, 118});
    places.push_back({0, ControlKind::Label, L"&Page # Pattern:", x + 8, y + 18, 100, 16});
    places.push_back({BoxId(HistoryBox::PagePattern), ControlKind::Box, L"", x + 8, y + 38, kRightBoxWidth, 24});
    // Alt+R belongs to the reference pattern's label, so the check box
    // claims no letter.
    places.push_back({IDC_REMOVE_MARKS, ControlKind::CheckBox, L"Remove #'s", x + kCheckBoxX, y + 18, 100, 18});
    places.push_back({0, ControlKind::Label, L"&Reference Pattern:", x + 8, y + 66, kCheckBoxX - 8, 16});
    places.push_back({BoxId(HistoryBox::RefPattern), ControlKind::Box, L"", x + 8, y + 86, kRightBoxWidth, 24});
    places.push_back({IDC_NOT_SEARCHED, ControlKind::CheckBox, L"Not &Searched", x + kCheckBoxX, y + 66, 104, 18});
}

// The file labels' letters are the menu's shortcuts, which the accelerator
// table takes before any label could.
void AddFilesGroup(std::vector<ControlPlace>& places)
{
    const int x = kRightGroupsX;
    const int y = kFilesGroupY;
    places.push_back({0, ControlKind::Group, L"Files:", x, y, kRightGroupsWidth, 113});
    places.push_back({0, ControlKind::Label, L"&Input File:", x + 8, y + 16, 70, 16});
    places.push_back({BoxId(HistoryBox::InputFile), ControlKind::Box, L"", x + 8, y + 35, kRightBoxWidth, 24});
    places.push_back({0, ControlKind::Label, L"&Output File:", x + 8, y + 62, 76, 16});
    places.push_back({BoxId(HistoryBox::OutputFile), ControlKind::Box, L"", x + 8, y + 81, kRightBoxWidth, 24});
    places.push_back({IDC_INPUT_BROWSE, ControlKind::BrowseButton, L"+", x + 9 + kRightBoxWidth, y + 35, 17, 23});
    places.push_back({IDC_OUTPUT_BROWSE, ControlKind::BrowseButton, L"+", x + 9 + kRightBoxWidth, y + 81, 17, 23});
}

void AddButtonsAndProgress(std::vector<ControlPlace>& places)
{
    places.push_back({IDC_BEGIN, ControlKind::Button, L"&Begin", 135, 255, 73, 27});
    places.push_back({IDC_EXIT, ControlKind::Button, L"E&xit", 219, 255, 73, 27});
    places.push_back({IDC_GAUGE, ControlKind::Gauge, L"", 48, 236, 332, 17});
    // As wide as the texts need at 150 %, where the font is rounded up.
    places.push_back({IDC_STATIC_ELAPSED, ControlKind::SmallLabel, L"Elapsed Time:", 14, 254, 80, 14});
    places.push_back({IDC_STATIC_REMAINING, ControlKind::SmallLabel, L"Remaining Time:", 312, 254, 96, 14});
    places.push_back({IDC_ELAPSED, ControlKind::SmallLabel, L"00:00:00", 14, 267, 52, 14});
    places.push_back({IDC_REMAINING, ControlKind::SmallLabel, L"00:00:00", 312, 267, 52, 14});
}

std::vector<ControlPlace> BuildLayout()
{
    std::vector<ControlPlace> places;
    AddLevelGroup(places);
    AddOptionsGroup(places);
    AddFilesGroup(places);
    AddButtonsAndProgress(places);
    return places;
}

}  // namespace

const std::vector<ControlPlace>& MainWindowLayout()
{
    static const std::vector<ControlPlace> layout = BuildLayout();
    return layout;
}

int Scaled(int length, unsigned dpi)
{
    // Rounded to the nearest pixel, as the system scales dialog layouts.
    return static_cast<int>((static_cast<long long>(length) * dpi + 48) / 96);
}

}  // namespace pellimar
