// The program's one window on Windows, made of plain Win32 controls: level
// names, patterns, options, files, the Begin/Cancel button, the menu and the
// run's progress display. It lays out the controls for the monitor's DPI and
// hands their events to the window model, which decides everything else.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <vector>

#include "window_model/main_window_model.h"
#include "window_model/window_layout.h"
#include "window_model/window_view.h"
#include "window_win32/menu_bar_win32.h"
#include "window_win32/taskbar_progress_win32.h"

namespace pellimar {

class Win32MainWindow : public WindowView {
public:
    explicit Win32MainWindow(WindowServices services);
    ~Win32MainWindow() override;
    Win32MainWindow(const Win32MainWindow&) = delete;
    Win32MainWindow& operator=(const Win32MainWindow&) = delete;

    // Creates the window, centred on its monitor; false when the system
    // refused. Show it with ShowWindow.
    bool Create(HINSTANCE instance);
    HWND Handle() const { return window_; }
    MainWindowModel& Model() { return model_; }

    // The menu's shortcuts and the dialog keys (Tab, mnemonics) for a message
    // of the message loop; true when it was handled.
    bool PreTranslate(MSG& message);

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
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK BoxEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR self);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void CreateControls();
    void ApplyLayout(unsigned dpi);
    void ApplyFonts(unsigned dpi);
    void ControlCommand(int id, int code, HWND control);
    void MenuCommand(UINT id);
    void MenuOpening(HMENU menu);
    void FileDropped(HDROP drop);
    // True when the key was handled and must go no further.
    bool BoxKey(HistoryBox box, UINT message, WPARAM key);

    HWND Control(ControlId id) const;
    std::optional<HistoryBox> BoxOfControl(HWND control) const;

    MainWindowModel model_;
    HWND window_ = nullptr;
    // In the layout's order.
    std::vector<HWND> controls_;
    MenuBarWin32 menuBar_;
    // The controls' font, and the time readouts'.
    struct ControlFonts {
        HFONT normal = nullptr;
        HFONT small = nullptr;
    } fonts_;
    TaskbarProgress taskbar_;
    bool busy_ = false;
    // Where the focus was when the window was last deactivated.
    HWND lastFocus_ = nullptr;
    bool shownOnce_ = false;
};

}  // namespace pellimar
