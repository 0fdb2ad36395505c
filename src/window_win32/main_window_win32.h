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
#include "window_model/window_view.h"
#include "window_win32/box_exit_rule.h"

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
    bool OptionChecked(RunOption option) const override;
    void SetOptionChecked(RunOption option, bool checked) override;
    void SetBeginCaption(const std::string& caption) override;
    void EnableBegin(bool enabled) override;
    void EnableRunControls(bool enabled) override;
    void ShowFileMenu(const FileMenuState& state) override;
    void ShowPreferenceMarks(const PreferenceMarks& marks) override;
    void ShowGauge(bool visible) override;
    void SetGaugeProgress(std::int32_t percent) override;
    void ShowTimeReadouts(bool visible) override;
    void SetTimeReadouts(const std::string& elapsed, const std::string& remaining) override;
    void ShowBusyCursor(bool busy) override;
    void ProcessPendingEvents() override;
    void CloseWindow() override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK BoxEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR self);
    static LRESULT CALLBACK BrowseButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR id, DWORD_PTR self);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void CreateControls();
    HWND CreateControl(int id, const wchar_t* className, const wchar_t* text, DWORD style);
    void ApplyLayout(unsigned dpi);
    void ApplyFonts(unsigned dpi);
    void CenterOnMonitor();
    void Command(int id, int code, HWND control);
    void MenuCommand(int id);
    void ShortcutCommand(int id);
    void MenuOpening(HMENU menu);
    void FileDropped(HDROP drop);
    void LoadShortcuts(HINSTANCE instance);
    // True when the Alt+character (upper case) was a menu shortcut or a
    // control's mnemonic, now carried out.
    bool Shortcut(wint_t key);
    bool Mnemonic(wint_t key);
    // True when the key was handled and must go no further.
    bool BoxKey(HistoryBox box, UINT message, WPARAM key);

    HWND Control(int id) const { return GetDlgItem(window_, id); }
    HWND Box(HistoryBox box) const;
    std::optional<HistoryBox> BoxOfControl(HWND control) const;

    MainWindowModel model_;
    HWND window_ = nullptr;
    // In the layout's order.
    std::vector<HWND> controls_;
    HMENU menu_ = nullptr;
    // The menu's shortcuts, from the accelerator table.
    std::vector<ACCEL> shortcuts_;
    HFONT font_ = nullptr;
    HFONT smallFont_ = nullptr;
    unsigned dpi_ = 96;
    bool busy_ = false;
    // Where the focus was when the window was last deactivated.
    HWND lastFocus_ = nullptr;
    bool shownOnce_ = false;
    BoxExitRule boxExitRule_;
};

}  // namespace pellimar
