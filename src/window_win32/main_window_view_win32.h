// The main window on Windows as the model's view: what the model shows goes
// to the controls (texts, lists, check boxes, enabled states), the menu bar,
// the gauge and time readouts, the cursor, the caption and the taskbar
// button. It decides nothing; the window's messages go their own way
// (Win32MainWindowMessages).
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "window_model/window_view.h"
#include "window_win32/menu_bar_win32.h"
#include "window_win32/taskbar_progress_win32.h"

namespace pellimar {

class Win32MainWindowView : public WindowView {
public:
    Win32MainWindowView() = default;
    Win32MainWindowView(const Win32MainWindowView&) = delete;
    Win32MainWindowView& operator=(const Win32MainWindowView&) = delete;

    // The window it shows on, from its creation to its destruction.
    void Attach(HWND window) { window_ = window; }
    // Given to the window as it is made; its popups tell the menus apart.
    const MenuBarWin32& MenuBar() const { return menuBar_; }
    // A run lasts: the cursor over the window is the hourglass.
    bool Busy() const { return busy_; }

    // WindowView
    std::string BoxText(HistoryBox box) const override;
    void SetBoxText(HistoryBox box, const std::string& text) override;
    void ShowHistory(HistoryBox box, const std::vector<std::string>& entries) override;
    void FocusBox(HistoryBox box) override;
    bool OptionChecked(Preference option) const override;
    void SetOptionChecked(Preference option, bool checked) override;
    void SetBeginCaption(const std::string& caption) override;
    void EnableBegin(bool enabled) override;
    void EnableRunControls(bool enabled) override;
    void ShowMenuState(const MenuState& state) override;
    void ShowPreferenceMarks(const Preferences& preferences) override;
    void ShowGauge(bool visible) override;
    void SetGaugeProgress(std::int32_t percent) override;
    void ShowTimeReadouts(bool visible) override;
    void SetTimeReadouts(const std::string& elapsed, const std::string& remaining) override;
    void ShowBusyCursor(bool busy) override;
    void ShowTaskProgress(std::optional<std::int32_t> percent) override;
    void SetCaption(const std::string& caption) override;
    void ProcessPendingEvents() override;
    void CloseWindow() override;

private:
    HWND window_ = nullptr;
    MenuBarWin32 menuBar_;
    TaskbarProgress taskbar_;
    bool busy_ = false;
};

}  // namespace pellimar
