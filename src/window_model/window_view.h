// What the window model needs of a screen: the texts and lists of the boxes,
// the check boxes, the enabled states and captions of the commands, the
// progress display and the cursor. Each toolkit's window implements it and
// hands every event of its controls to the model.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "run/preferences.h"
#include "window_model/commands.h"
#include "window_model/history_boxes.h"

namespace pellimar {

inline constexpr const char* kBeginCaption = "&Begin";
inline constexpr const char* kCancelCaption = "&Cancel";

class WindowView {
public:
    virtual ~WindowView() = default;

    // The boxes: the text shown (as bytes), the drop-down list, the focus.
    virtual std::string BoxText(HistoryBox box) const = 0;
    virtual void SetBoxText(HistoryBox box, const std::string& text) = 0;
    // Replaces the box's list; the text shown stays as it is.
    virtual void ShowHistory(HistoryBox box, const std::vector<std::string>& entries) = 0;
    virtual void FocusBox(HistoryBox box) = 0;

    // The check boxes of the Options group, each a preference's
    // (PreferenceKind::CheckBox).
    virtual bool OptionChecked(Preference option) const = 0;
    virtual void SetOptionChecked(Preference option, bool checked) = 0;

    // The Begin button, which reads "&Cancel" while a run lasts.
    virtual void SetBeginCaption(const std::string& caption) = 0;
    virtual void EnableBegin(bool enabled) = 0;
    // Exit and the Help menu's two items, which a run disables.
    virtual void EnableRunControls(bool enabled) = 0;
    // Called as the menus open: the commands' items, and the Preferences
    // menu's check marks.
    virtual void ShowMenuState(const MenuState& state) = 0;
    virtual void ShowPreferenceMarks(const Preferences& preferences) = 0;

    // The progress display of a run: the gauge, and the elapsed and
    // remaining time with their captions.
    virtual void ShowGauge(bool visible) = 0;
    virtual void SetGaugeProgress(std::int32_t percent) = 0;
    virtual void ShowTimeReadouts(bool visible) = 0;
    virtual void SetTimeReadouts(const std::string& elapsed, const std::string& remaining) = 0;
    // The hourglass over the window while a run lasts.
    virtual void ShowBusyCursor(bool busy) = 0;
    // The progress of a run where the system shows it outside the window
    // (the taskbar button): a whole percentage, or nothing once the run is
    // over. Told whatever the gauge's preference says.
    virtual void ShowTaskProgress(std::optional<std::int32_t> percent) = 0;
    // The window's caption, which during a collection names the file being
    // converted.
    virtual void SetCaption(const std::string& caption) = 0;

    // Lets the window handle what the user did meanwhile (the run's only
    // chance to see Cancel, the menus and the boxes).
    virtual void ProcessPendingEvents() = 0;
    // Closes the window through its ordinary close path.
    virtual void CloseWindow() = 0;
};

}  // namespace pellimar
