// The window as the model's view: what the model shows goes to the controls.
#include "window_win32/main_window_win32.h"

#include "streams/wide_names.h"
#include "window_win32/gauge_win32.h"
#include "window_win32/control_ids.h"
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

std::optional<HistoryBox> Win32MainWindow::BoxOfControl(HWND control) const
{
    if (control == nullptr || GetParent(control) != window_)
        return std::nullopt;
    const int index = GetDlgCtrlID(control) - ResourceIdOf(ControlId::FirstBox);
    if (index < 0 || index >= kHistoryBoxCount)
        return std::nullopt;
    return static_cast<HistoryBox>(index);
}

std::string Win32MainWindow::BoxText(HistoryBox box) const
{
    return BytesOfBox(box, WindowText(Control(BoxControl(box))));
}

void Win32MainWindow::SetBoxText(HistoryBox box, const std::string& text)
{
    const std::wstring wide = WideOfBox(box, text);
    if (WindowText(Control(BoxControl(box))) == wide)
        return;
    SetWindowTextW(Control(BoxControl(box)), wide.c_str());
    // Like typing, a new text may change what Begin may do.
    model_.BoxEdited(box);
}

void Win32MainWindow::ShowHistory(HistoryBox box, const std::vector<std::string>& entries)
{
    HWND control = Control(BoxControl(box));
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

void Win32MainWindow::FocusBox(HistoryBox box)
{
    SetFocus(Control(BoxControl(box)));
}

bool Win32MainWindow::OptionChecked(Preference option) const
{
    const int id = ResourceIdOf(CheckBoxOf(option).id);
    return IsDlgButtonChecked(window_, id) == BST_CHECKED;
}

void Win32MainWindow::SetOptionChecked(Preference option, bool checked)
{
    const int id = ResourceIdOf(CheckBoxOf(option).id);
    CheckDlgButton(window_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Win32MainWindow::SetBeginCaption(const std::string& caption)
{
    SetWindowTextW(Control(ControlId::Begin), WideOfUtf8(caption).c_str());
}

void Win32MainWindow::EnableBegin(bool enabled)
{
    EnableWindow(Control(ControlId::Begin), enabled ? TRUE : FALSE);
}

void Win32MainWindow::EnableRunControls(bool enabled)
{
    EnableWindow(Control(ControlId::Exit), enabled ? TRUE : FALSE);
    menuBar_.Enable(Command::UsingPellimar, enabled);
    menuBar_.Enable(Command::AboutPellimar, enabled);
}

void Win32MainWindow::ShowMenuState(const MenuState& state)
{
    menuBar_.Show(state);
}

void Win32MainWindow::ShowPreferenceMarks(const Preferences& preferences)
{
    menuBar_.Show(preferences);
}

void Win32MainWindow::ShowGauge(bool visible)
{
    ShowWindow(Control(ControlId::Gauge), visible ? SW_SHOW : SW_HIDE);
}

void Win32MainWindow::SetGaugeProgress(std::int32_t percent)
{
    SetGaugePercent(Control(ControlId::Gauge), percent);
}

void Win32MainWindow::ShowTimeReadouts(bool visible)
{
    for (const ControlId id : {ControlId::ElapsedCaption, ControlId::RemainingCaption, ControlId::Elapsed,
                               ControlId::Remaining})
        ShowWindow(Control(id), visible ? SW_SHOW : SW_HIDE);
}

void Win32MainWindow::SetTimeReadouts(const std::string& elapsed, const std::string& remaining)
{
    SetWindowTextW(Control(ControlId::Elapsed), WideOfUtf8(elapsed).c_str());
    SetWindowTextW(Control(ControlId::Remaining), WideOfUtf8(remaining).c_str());
}

void Win32MainWindow::ShowBusyCursor(bool busy)
{
    busy_ = busy;
    SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(busy ? IDC_WAIT : IDC_ARROW)));
}

void Win32MainWindow::ShowTaskProgress(std::optional<std::int32_t> percent)
{
    taskbar_.Show(window_, percent);
}

void Win32MainWindow::SetCaption(const std::string& caption)
{
    SetWindowTextW(window_, WideOfUtf8(caption).c_str());
}

// The pass runs on a thread of its own, and this window's thread handles
// the messages all the while: nothing is left waiting here.
void Win32MainWindow::ProcessPendingEvents() {}

void Win32MainWindow::CloseWindow()
{
    if (window_ != nullptr)
        SendMessageW(window_, WM_CLOSE, 0, 0);
}

}  // namespace pellimar
