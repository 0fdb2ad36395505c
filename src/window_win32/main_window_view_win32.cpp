// What the model shows, put on the window's controls.
#include "window_win32/main_window_view_win32.h"

#include "streams/wide_names.h"
#include "window_win32/control_ids.h"
#include "window_win32/gauge_win32.h"
#include "window_win32/main_window_messages_win32.h"
#include "window_win32/win32_text.h"

namespace pellimar {
namespace {

// File names travel as the file layer's names; everything else as UTF-8,
// which the model turns into the file's 8-bit text.
bool HoldsPath(HistoryBox box)
{
    return box == HistoryBox::InputFile || box == HistoryBox::OutputFile;
}

std::wstring WideOfBox(HistoryBox box, const std::string& bytes)
{
    return HoldsPath(box) ? WideOfName(bytes) : WideOfUtf8(bytes);
}

std::string BytesOfBox(HistoryBox box, const std::wstring& wide)
{
    return HoldsPath(box) ? NameOfWide(wide) : Utf8OfWide(wide);
}

std::wstring WindowText(HWND control)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

std::string Win32MainWindowView::BoxText(HistoryBox box) const
{
    return BytesOfBox(box, WindowText(ControlOf(window_, BoxControl(box))));
}

void Win32MainWindowView::SetBoxText(HistoryBox box, const std::string& text)
{
    const std::wstring wide = WideOfBox(box, text);
    if (WindowText(ControlOf(window_, BoxControl(box))) == wide)
        return;
    SetWindowTextW(ControlOf(window_, BoxControl(box)), wide.c_str());
    // Like typing, a new text may change what Begin may do; the box itself
    // tells nothing of a text set from here.
    SendMessageW(window_, kBoxChanged, static_cast<WPARAM>(box), 0);
}

void Win32MainWindowView::ShowHistory(HistoryBox box, const std::vector<std::string>& entries)
{
    HWND control = ControlOf(window_, BoxControl(box));
    const std::wstring shown = WindowText(control);
    // Start and end together: given back, they leave the selection as it
    // was (a caret stays a caret, not a selection from it to the start).
    const auto selection = static_cast<DWORD>(SendMessageW(control, CB_GETEDITSEL, 0, 0));
    SendMessageW(control, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : entries) {
        const std::wstring wide = WideOfBox(box, entry);
        SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    SetWindowTextW(control, shown.c_str());
    SendMessageW(control, CB_SETEDITSEL, 0, static_cast<LPARAM>(selection));
}

void Win32MainWindowView::FocusBox(HistoryBox box)
{
    SetFocus(ControlOf(window_, BoxControl(box)));
}

bool Win32MainWindowView::OptionChecked(Preference option) const
{
    const int id = ResourceIdOf(CheckBoxOf(option).id);
    return IsDlgButtonChecked(window_, id) == BST_CHECKED;
}

void Win32MainWindowView::SetOptionChecked(Preference option, bool checked)
{
    const int id = ResourceIdOf(CheckBoxOf(option).id);
    CheckDlgButton(window_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Win32MainWindowView::SetBeginCaption(const std::string& caption)
{
    SetWindowTextW(ControlOf(window_, ControlId::Begin), WideOfUtf8(caption).c_str());
}

void Win32MainWindowView::EnableBegin(bool enabled)
{
    EnableWindow(ControlOf(window_, ControlId::Begin), enabled ? TRUE : FALSE);
}

void Win32MainWindowView::EnableRunControls(bool enabled)
{
    EnableWindow(ControlOf(window_, ControlId::Exit), enabled ? TRUE : FALSE);
    menuBar_.Enable(Command::UsingPellimar, enabled);
    menuBar_.Enable(Command::AboutPellimar, enabled);
}

void Win32MainWindowView::ShowMenuState(const MenuState& state)
{
    menuBar_.Show(state);
}

void Win32MainWindowView::ShowPreferenceMarks(const Preferences& preferences)
{
    menuBar_.Show(preferences);
}

void Win32MainWindowView::ShowGauge(bool visible)
{
    ShowWindow(ControlOf(window_, ControlId::Gauge), visible ? SW_SHOW : SW_HIDE);
}

void Win32MainWindowView::SetGaugeProgress(std::int32_t percent)
{
    SetGaugePercent(ControlOf(window_, ControlId::Gauge), percent);
}

void Win32MainWindowView::ShowTimeReadouts(bool visible)
{
    for (const ControlId id : {ControlId::ElapsedCaption, ControlId::RemainingCaption, ControlId::Elapsed,
                               ControlId::Remaining})
        ShowWindow(ControlOf(window_, id), visible ? SW_SHOW : SW_HIDE);
}

void Win32MainWindowView::SetTimeReadouts(const std::string& elapsed, const std::string& remaining)
{
    SetWindowTextW(ControlOf(window_, ControlId::Elapsed), WideOfUtf8(elapsed).c_str());
    SetWindowTextW(ControlOf(window_, ControlId::Remaining), WideOfUtf8(remaining).c_str());
}

void Win32MainWindowView::ShowBusyCursor(bool busy)
{
    busy_ = busy;
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(busy ? IDC_WAIT : IDC_ARROW)));
}

void Win32MainWindowView::ShowTaskProgress(std::optional<std::int32_t> percent)
{
    taskbar_.Show(window_, percent);
}

void Win32MainWindowView::SetCaption(const std::string& caption)
{
    SetWindowTextW(window_, WideOfUtf8(caption).c_str());
}

// The pass runs on a thread of its own, and this window's thread handles
// the messages all the while: nothing is left waiting here.
void Win32MainWindowView::ProcessPendingEvents() {}

void Win32MainWindowView::CloseWindow()
{
    if (window_ != nullptr)
        SendMessageW(window_, WM_CLOSE, 0, 0);
}

}  // namespace pellimar
