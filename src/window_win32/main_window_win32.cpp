// Building the window: its class, the controls at their places for the
// monitor's DPI and the fonts.
#include "window_win32/main_window_win32.h"

#include <commctrl.h>

#include "streams/wide_names.h"
#include "window_win32/caption_fit.h"
#include "window_win32/control_ids.h"
#include "window_win32/gauge_win32.h"
#include "window_win32/pass_thread_win32.h"
#include "window_win32/win32_text.h"

namespace pellimar {
namespace {

constexpr const wchar_t* kWindowClass = L"PellimarMainWindow";

using DpiForWindow = UINT(WINAPI*)(HWND);

// The monitor's DPI where the system tells it per window (Windows 10 and
// later), else the screen's.
unsigned WindowDpi(HWND window)
{
    static const auto dpiForWindow =
        reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"),
                                                                               "GetDpiForWindow")));
    if (dpiForWindow != nullptr && window != nullptr) {
        if (const UINT dpi = dpiForWindow(window); dpi != 0)
            return dpi;
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<unsigned>(dpi) : 96;
}

// Passes run on a thread of their own while the window handles its messages.
WindowServices WithPassThread(WindowServices services, Win32MainWindow& window)
{
    services.runPass = [&window](RunHost& host, const std::function<void(RunHost&)>& pass) {
        RunPassOnOwnThread(window.Handle(), host, pass, [&window](MSG& message) { return window.PreTranslate(message); });
    };
    return services;
}

DWORD StyleOf(ControlKind kind)
{
    constexpr DWORD child = WS_CHILD | WS_VISIBLE;
    switch (kind) {
    case ControlKind::Group: return child | BS_GROUPBOX;
    case ControlKind::Label: return child | SS_LEFT;
    case ControlKind::SmallLabel: return WS_CHILD | SS_LEFT | SS_NOPREFIX;
    case ControlKind::Box: return child | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL;
    case ControlKind::CheckBox: return child | WS_TABSTOP | BS_AUTOCHECKBOX | BS_NOTIFY;
    case ControlKind::Button: return child | WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY;
    case ControlKind::BrowseButton: return child | BS_PUSHBUTTON;
    case ControlKind::Gauge: return WS_CHILD;
    }
    return child;
}

const wchar_t* ClassOf(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Group:
    case ControlKind::CheckBox:
    case ControlKind::Button:
    case ControlKind::BrowseButton: return WC_BUTTONW;
    case ControlKind::Label:
    case ControlKind::SmallLabel: return WC_STATICW;
    case ControlKind::Box: return WC_COMBOBOXW;
    case ControlKind::Gauge: return kGaugeClass;
    }
    return WC_STATICW;
}

// Centred on the monitor the window is on.
void CenterOnMonitor(HWND window)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT frame;
    GetWindowRect(window, &frame);
    const RECT& work = monitor.rcWork;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A check box's underlined letter would be the dialog manager's to claim,
// so one whose letter belongs elsewhere shows none.
HWND CreateControl(HWND window, const ControlPlace& place)
{
    std::wstring text = WideOfUtf8(place.text);
    if (place.kind == ControlKind::CheckBox && place.letterTakenElsewhere)
        std::erase(text, L'&');
    return CreateWindowExW(0, ClassOf(place.kind), text.c_str(), StyleOf(place.kind), 0, 0, 0, 0, window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(ResourceIdOf(place.id))),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)), nullptr);
}

}  // namespace

Win32MainWindow::Win32MainWindow(Win32MainWindowView& view, WindowServices services)
    : view_(view),
      model_(view, WithPassThread(std::move(services), *this)),
      messages_(model_, view, controls_, [this](unsigned dpi) { ApplyLayout(dpi); })
{
}

Win32MainWindow::~Win32MainWindow()
{
    if (HWND window = Handle(); window != nullptr)
        DestroyWindow(window);
    DeleteObject(fonts_.normal);
    DeleteObject(fonts_.small);
}

bool Win32MainWindow::Create(HINSTANCE instance)
{
    if (!RegisterGaugeClass(instance))
        return false;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Win32MainWindowMessages::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_PELLIMAR));
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    if (RegisterClassExW(&windowClass) == 0)
        return false;
    const std::wstring title = WideOfName(kApplicationTitle);
    // A fixed dialog frame with a system menu and a minimize box. The
    // children are not clipped from the background: group boxes leave their
    // inside to it.
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    HWND window = CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES | WS_EX_DLGMODALFRAME, kWindowClass,
                                  title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr,
                                  view_.MenuBar().Handle(), instance, &messages_);
    if (window == nullptr)
        return false;
    CreateControls();
    ApplyLayout(WindowDpi(window));
    CenterOnMonitor(window);
    return true;
}

// The controls are made in the layout's order, so that Tab and the labels'
// mnemonics follow it; their places come with the DPI.
void Win32MainWindow::CreateControls()
{
    for (const ControlPlace& place : MainWindowLayout()) {
        HWND control = CreateControl(Handle(), place);
        controls_.push_back(control);
        messages_.Subclass(control, place.kind);
    }
    EnableWindow(ControlOf(Handle(), ControlId::Begin), FALSE);
}

void Win32MainWindow::ApplyLayout(unsigned dpi)
{
    ApplyFonts(dpi);
    const auto& layout = MainWindowLayout();
    for (const ControlPlace& place : layout) {
        // A drop-down box's height includes its list.
        const int height = place.kind == ControlKind::Box ? place.height + kVisibleEntries * 18 : place.height;
        HWND control = controls_[static_cast<std::size_t>(&place - layout.data())];
        if (control != nullptr)
            MoveWindow(control, Scaled(place.x, dpi), Scaled(place.y, dpi), Scaled(place.width, dpi),
                       Scaled(height, dpi), TRUE);
    }
    RECT frame{0, 0, Scaled(kClientWidth, dpi), Scaled(kClientHeight, dpi)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), TRUE,
                       static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
    SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32MainWindow::ApplyFonts(unsigned dpi)
{
    const ControlFonts old = fonts_;
    fonts_ = {MakeControlFont(ControlKind::Label, dpi), MakeControlFont(ControlKind::SmallLabel, dpi)};
    const auto& layout = MainWindowLayout();
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const bool small = layout[i].kind == ControlKind::SmallLabel;
        SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(small ? fonts_.small : fonts_.normal), TRUE);
    }
    DeleteObject(old.normal);
    DeleteObject(old.small);
}

}  // namespace pellimar
