// Moving the check boxes' preferences to and from the view.
#include "window_model/check_boxes.h"

namespace pellimar {

void ShowCheckBoxes(WindowView& view, const Preferences& preferences)
{
    for (const PreferenceRow& row : PreferenceRows(PreferenceKind::CheckBox))
        view.SetOptionChecked(row.preference, preferences.On(row.preference));
}

Preferences WithCheckBoxes(Preferences preferences, const WindowView& view)
{
    for (const PreferenceRow& row : PreferenceRows(PreferenceKind::CheckBox))
        preferences.Set(row.preference, view.OptionChecked(row.preference));
    return preferences;
}

}  // namespace pellimar
