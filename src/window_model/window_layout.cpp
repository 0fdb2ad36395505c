// The main window's layout. The widths are those the captions need in the
// window's font, Arial, at 100 to 150 % scaling.
#include "window_model/window_layout.h"

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

class LayoutBuilder {
public:
    void Group(const char* caption, int x, int y, int width, int height)
    {
        group_ = -1;
        Add(ControlId::None, ControlKind::Group, caption, x, y, width, height);
        group_ = static_cast<int>(places_.size()) - 1;
    }
    void EndGroup() { group_ = -1; }
    ControlPlace& Add(ControlId id, ControlKind kind, const char* text, int x, int y, int width, int height)
    {
        places_.push_back({id, kind, text, x, y, width, height, group_});
        return places_.back();
    }
    ControlPlace& CheckBox(ControlId id, Preference preference, int x, int y, int width, int height)
    {
        ControlPlace& place = Add(id, ControlKind::CheckBox, RowOf(preference).caption, x, y, width, height);
        place.preference = preference;
        return place;
    }
    std::vector<ControlPlace> Take() { return std::move(places_); }

private:
    std::vector<ControlPlace> places_;
    int group_ = -1;
};

void AddLevelGroup(LayoutBuilder& layout)
{
    static const char* const captions[] = {"&1:", "&2:", "&3:", "&4:", "&5:", "&6:", "&7:"};
    layout.Group("Level Names:", kLevelGroupX, kLevelGroupY, 170, 232);
    for (int n = 0; n < kLevelCount; ++n) {
        const int y = kLevelGroupY + 20 + 30 * n;
        layout.Add(ControlId::None, ControlKind::Label, captions[n], kLevelGroupX + 10, y + 4, 12, 16);
        layout.Add(BoxControl(LevelBox(n)), ControlKind::Box, "", kLevelGroupX + 28, y, 133, 24);
    }
}

void AddOptionsGroup(LayoutBuilder& layout)
{
    const int x = kRightGroupsX;
    const int y = kOptionsGroupY;
    layout.Group("Options:", x, y, kRightGroupsWidth, 118);
    layout.Add(ControlId::None, ControlKind::Label, "&Page # Pattern:", x + 8, y + 18, 100, 16);
    layout.Add(BoxControl(HistoryBox::PagePattern), ControlKind::Box, "", x + 8, y + 38, kRightBoxWidth, 24);
    layout.CheckBox(ControlId::RemovePageMarks, Preference::RemovePageMarks, x + kCheckBoxX, y + 18, 100, 18)
        .letterTakenElsewhere = true;
    layout.Add(ControlId::None, ControlKind::Label, "&Reference Pattern:", x + 8, y + 66, 120, 16);
    layout.Add(BoxControl(HistoryBox::RefPattern), ControlKind::Box, "", x + 8, y + 86, kRightBoxWidth, 24);
    layout.CheckBox(ControlId::NotSearched, Preference::NotSearched, x + kCheckBoxX, y + 66, 104, 18);
}

void AddFilesGroup(LayoutBuilder& layout)
{
    const int x = kRightGroupsX;
    const int y = kFilesGroupY;
    layout.Group("Files:", x, y, kRightGroupsWidth, 113);
    layout.Add(ControlId::None, ControlKind::Label, "&Input File:", x + 8, y + 16, 70, 16).letterTakenElsewhere = true;
    layout.Add(BoxControl(HistoryBox::InputFile), ControlKind::Box, "", x + 8, y + 35, kRightBoxWidth, 24);
    layout.Add(ControlId::None, ControlKind::Label, "&Output File:", x + 8, y + 62, 76, 16).letterTakenElsewhere =
        true;
    layout.Add(BoxControl(HistoryBox::OutputFile), ControlKind::Box, "", x + 8, y + 81, kRightBoxWidth, 24);
    layout.Add(ControlId::InputBrowse, ControlKind::BrowseButton, "+", x + 9 + kRightBoxWidth, y + 35, 17, 23);
    layout.Add(ControlId::OutputBrowse, ControlKind::BrowseButton, "+", x + 9 + kRightBoxWidth, y + 81, 17, 23);
    layout.EndGroup();
}

void AddButtonsAndProgress(LayoutBuilder& layout)
{
    layout.Add(ControlId::Begin, ControlKind::Button, "&Begin", 135, 255, 73, 27);
    layout.Add(ControlId::Exit, ControlKind::Button, "E&xit", 219, 255, 73, 27);
    layout.Add(ControlId::Gauge, ControlKind::Gauge, "", 48, 236, 332, 17);
    layout.Add(ControlId::ElapsedCaption, ControlKind::SmallLabel, "Elapsed Time:", 14, 254, 80, 14);
    layout.Add(ControlId::RemainingCaption, ControlKind::SmallLabel, "Remaining Time:", 312, 254, 96, 14);
    layout.Add(ControlId::Elapsed, ControlKind::SmallLabel, "00:00:00", 14, 267, 52, 14);
    layout.Add(ControlId::Remaining, ControlKind::SmallLabel, "00:00:00", 312, 267, 52, 14);
}

std::vector<ControlPlace> BuildLayout()
{
    LayoutBuilder layout;
    AddLevelGroup(layout);
    AddOptionsGroup(layout);
    AddFilesGroup(layout);
    AddButtonsAndProgress(layout);
    return layout.Take();
}

}  // namespace

const std::vector<ControlPlace>& MainWindowLayout()
{
    static const std::vector<ControlPlace> layout = BuildLayout();
    return layout;
}

const ControlPlace& PlaceOf(ControlId id)
{
    for (const ControlPlace& place : MainWindowLayout()) {
        if (place.id == id)
            return place;
    }
    return MainWindowLayout().front();
}

const ControlPlace& CheckBoxOf(Preference preference)
{
    for (const ControlPlace& place : MainWindowLayout()) {
        if (place.preference == preference)
            return place;
    }
    return MainWindowLayout().front();
}

int Scaled(int length, unsigned dpi)
{
    // Rounded to the nearest pixel, as the system scales dialog layouts.
    return static_cast<int>((static_cast<long long>(length) * dpi + 48) / 96);
}

}  // namespace pellimar
