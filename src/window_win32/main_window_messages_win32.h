// The main window's messages on Windows: the window procedure, the controls'
// notifications, the keys (menu shortcuts, mnemonics, Enter and Ctrl+Delete
// in a box), the menus as they open, the focus and the files dropped. Each
// becomes an event of the window model, which decides what it does; what the
// model shows goes through the view.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <optional>
#include <vector>

#include "window_model/main_window_model.h"
#include "window_model/window_layout.h"
#include "window_win32/main_window_view_win32.h"

namespace pellimar {

// Sent or posted to the window, with the HistoryBox in wParam, when a box's
// text changed without the box telling of it: an entry chosen from its list
// (shown only after the box's notification), or a text the view set.
inline constexpr UINT kBoxChanged = WM_APP + 1;

class Win32MainWindowMessages {
public:
    // `controls` are the window's, in the layout's order; `relayout` lays
    // the window out again for another DPI.
    Win32MainWindowMessages(MainWindowModel& model, Win32MainWindowView& view, const std::vector<HWND>& controls,
                            std::function<void(unsigned dpi)> relayout);
    Win32MainWindowMessages(const Win32MainWindowMessages&) = delete;
    Win32MainWindowMessages& operator=(const Win32MainWindowMessages&) = delete;

    // The window class's procedure; the window is made with this object as
    // its creation parameter.
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The window, from its creation to its destruction.
    HWND Window() const { return window_; }
    // A control just made: the keys typed into a box and the focus given to
    // a "+" button come here before the control sees them.
    void Subclass(HWND control, ControlKind kind);

    // The menu's shortcuts and the dialog keys (Tab, mnemonics) for a message
    // of the message loop; true when it was handled.
    bool PreTranslate(MSG& message);

private:
    static LRESULT CALLBACK BoxEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR self);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void ControlCommand(int id, int code, HWND control);
    void MenuCommand(UINT id);
    void MenuOpening(HMENU menu);
    void FileDropped(HDROP drop);
    // True when the key was handled and must go no further.
    bool BoxKey(HistoryBox box, UINT message, WPARAM key);
    std::optional<HistoryBox> BoxOfControl(HWND control) const;

    MainWindowModel& model_;
    Win32MainWindowView& view_;
    const std::vector<HWND>& controls_;
    std::function<void(unsigned dpi)> relayout_;
    HWND window_ = nullptr;
    // Where the focus was when the window was last deactivated.
    HWND lastFocus_ = nullptr;
    bool shownOnce_ = false;
};

}  // namespace pellimar
