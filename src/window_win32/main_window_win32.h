// The program's one window on Windows, made of plain Win32 controls: level
// names, patterns, options, files, the Begin/Cancel button, the menu and the
// run's progress display. It builds the window and lays out its controls for
// the monitor's DPI; its messages go to the window model through
// Win32MainWindowMessages, and what the model shows comes back through the
// view.
#pragma once

#include <windows.h>

#include <vector>

#include "window_model/main_window_model.h"
#include "window_win32/main_window_messages_win32.h"
#include "window_win32/main_window_view_win32.h"

namespace pellimar {

class Win32MainWindow {
public:
    // The view shows the window; it outlives the window.
    Win32MainWindow(Win32MainWindowView& view, WindowServices services);
    ~Win32MainWindow();
    Win32MainWindow(const Win32MainWindow&) = delete;
    Win32MainWindow& operator=(const Win32MainWindow&) = delete;

    // Creates the window, centred on its monitor; false when the system
    // refused. Show it with ShowWindow.
    bool Create(HINSTANCE instance);
    HWND Handle() const { return messages_.Window(); }
    MainWindowModel& Model() { return model_; }

    // The menu's shortcuts and the dialog keys (Tab, mnemonics) for a message
    // of the message loop; true when it was handled.
    bool PreTranslate(MSG& message) { return messages_.PreTranslate(message); }

private:
    void CreateControls();
    void ApplyLayout(unsigned dpi);
    void ApplyFonts(unsigned dpi);

    Win32MainWindowView& view_;
    MainWindowModel model_;
    // In the layout's order.
    std::vector<HWND> controls_;
    // The controls' font, and the time readouts'.
    struct ControlFonts {
        HFONT normal = nullptr;
        HFONT small = nullptr;
    } fonts_;
    Win32MainWindowMessages messages_;
};

}  // namespace pellimar
