// Building the window: its class, the controls at their places for the
// monitor's DPI, the fonts, and the messages of the window and its controls.
#include "window_win32/main_window_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>
#include <cwctype>

#include "streams/wide_names.h"
#include "window_win32/caption_fit.h"
#include "window_win32/control_ids.h"
#include "window_win32/gauge_win32.h"
#include "window_win32/pass_thread_win32.h"
#include "window_win32/win32_text.h"

namespace pellimar {
namespace {

constexpr const wchar_t* kWindowClass = L"PellimarMainWindow";
// Posted when a box's list changed its text, which the box shows only after
// its notification.
constexpr UINT kBoxSelected = WM_APP + 1;
// Posted once the window is first on the screen.
constexpr UINT kFirstShown = WM_APP + 2;

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

// The dialog manager finds no mnemonic while the focus is in a box's edit
// line, so the window finds them itself, in the controls' current captions:
// a label's letter moves to its box, a check box's toggles it, a button's
// presses it ("&Cancel" while a run lasts).
bool CarryOutMnemonic(const std::vector<HWND>& controls, wint_t key)
{
    if (!((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')))
        return false;
    const auto& layout = MainWindowLayout();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (layout[i].letterTakenElsewhere)
            continue;
        wchar_t caption[64];
        GetWindowTextW(controls[i], caption, 64);
        const wchar_t* mark = wcschr(caption, L'&');
        if (mark == nullptr || towupper(static_cast<wint_t>(mark[1])) != key)
            continue;
        if (!IsWindowVisible(controls[i]) || !IsWindowEnabled(controls[i]))
            return false;
        switch (layout[i].kind) {
        case ControlKind::Label:
            if (i + 1 < controls.size()) {
                SetFocus(controls[i + 1]);
                SendMessageW(controls[i + 1], CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
            }
            return true;
        case ControlKind::CheckBox:
            SetFocus(controls[i]);
            SendMessageW(controls[i], BM_CLICK, 0, 0);
            return true;
        case ControlKind::Button: SendMessageW(controls[i], BM_CLICK, 0, 0); return true;
        default: return false;
        }
    }
    return false;
}

// The "+" buttons never keep the focus, so using one does not count as
// leaving a box: the focus goes straight back where it came from.
LRESULT CALLBACK BrowseButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_SETFOCUS && wParam != 0) {
        SetFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    }
    return DefSubclassProc(button, message, wParam, lParam);
}

}  // namespace

Win32MainWindow::Win32MainWindow(WindowServices services)
    : model_(*this, WithPassThread(std::move(services), *this))
{
}

Win32MainWindow::~Win32MainWindow()
{
    if (window_ != nullptr)
        DestroyWindow(window_);
    DeleteObject(fonts_.normal);
    DeleteObject(fonts_.small);
}

bool Win32MainWindow::Create(HINSTANCE instance)
{
    if (!RegisterGaugeClass(instance))
        return false;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
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
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES | WS_EX_DLGMODALFRAME, kWindowClass,
                              title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, menuBar_.Handle(), instance,
                              this);
    if (window_ == nullptr)
        return false;
    CreateControls();
    ApplyLayout(WindowDpi(window_));
    CenterOnMonitor(window_);
    return true;
}

HWND Win32MainWindow::Control(ControlId id) const
{
    return GetDlgItem(window_, ResourceIdOf(id));
}

// The controls are made in the layout's order, so that Tab and the labels'
// mnemonics follow it; their places come with the DPI.
void Win32MainWindow::CreateControls()
{
    for (const ControlPlace& place : MainWindowLayout()) {
        HWND control = CreateControl(window_, place);
        controls_.push_back(control);
        if (place.kind == ControlKind::Box) {
            // The edit line inside the box gets the keys.
            COMBOBOXINFO info{};
            info.cbSize = sizeof info;
            if (GetComboBoxInfo(control, &info) && info.hwndItem != nullptr)
                SetWindowSubclass(info.hwndItem, BoxEditProc, 0, reinterpret_cast<DWORD_PTR>(this));
        } else if (place.kind == ControlKind::BrowseButton) {
            SetWindowSubclass(control, BrowseButtonProc, 0, reinterpret_cast<DWORD_PTR>(this));
        }
    }
    EnableWindow(Control(ControlId::Begin), FALSE);
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
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)), TRUE,
                       static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)));
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
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

bool Win32MainWindow::PreTranslate(MSG& message)
{
    if (window_ == nullptr)
        return false;
    // The key itself goes its ordinary way, so that the system knows Alt
    // was not pressed alone and opens no menu when it is let go; the
    // character it makes carries the shortcut or the mnemonic. (The
    // system's own accelerators would swallow the key of a disabled item,
    // and the menu would open.)
    const bool inWindow = message.hwnd == window_ || IsChild(window_, message.hwnd);
    if (message.message == WM_SYSCHAR && inWindow) {
        const wint_t key = towupper(static_cast<wint_t>(message.wParam));
        if (const std::optional<Command> command = key < 0x80 ? ShortcutCommand(static_cast<char>(key)) : std::nullopt;
            command && (GetKeyState(VK_CONTROL) & 0x8000) == 0 && (GetKeyState(VK_SHIFT) & 0x8000) == 0) {
            model_.ShortcutPressed(*command);
            return true;
        }
        if (CarryOutMnemonic(controls_, key))
            return true;
    }
    return IsDialogMessageW(window_, &message) != 0;
}

LRESULT CALLBACK Win32MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

LRESULT Win32MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SHOWWINDOW:
        if (wParam != FALSE && !shownOnce_) {
            shownOnce_ = true;
            PostMessageW(window_, kFirstShown, 0, 0);
        }
        break;
    case kFirstShown:
        // As in a dialog, the focus starts in the first control of the tab order.
        SetFocus(Control(BoxControl(HistoryBox::Level1)));
        model_.FirstShown();
        return 0;
    case WM_ACTIVATE:
        // The focus leaves with the window and comes back to where it was.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            lastFocus_ = focus != nullptr && IsChild(window_, focus) ? focus : lastFocus_;
        } else if (lastFocus_ != nullptr && IsWindow(lastFocus_)) {
            SetFocus(lastFocus_);
            return 0;
        }
        break;
    case kBoxSelected: model_.BoxEdited(static_cast<HistoryBox>(wParam)); return 0;
    case kHostCall: CarryOutHostCall(lParam); return 0;
    case WM_COMMAND:
        if (lParam == 0)
            MenuCommand(LOWORD(wParam));
        else
            ControlCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_INITMENUPOPUP: MenuOpening(reinterpret_cast<HMENU>(wParam)); return 0;
    case WM_DROPFILES: FileDropped(reinterpret_cast<HDROP>(wParam)); return 0;
    case WM_CTLCOLORSTATIC:
        // Labels and check boxes on the window's face, not the window colour.
        SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_SETCURSOR:
        if (busy_) {
            SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
            return TRUE;
        }
        break;
    case WM_DPICHANGED: {
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        ApplyLayout(HIWORD(wParam));
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        return 0;
    }
    case WM_CLOSE:
        if (model_.CloseRequested())
            DestroyWindow(window_);
        return 0;
    case WM_DESTROY:
        window_ = nullptr;
        PostQuitMessage(0);
        return 0;
    default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Win32MainWindow::ControlCommand(int id, int code, HWND control)
{
    if (const std::optional<HistoryBox> box = BoxOfControl(control)) {
        if (code == CBN_EDITCHANGE)
            model_.BoxEdited(*box);
        else if (code == CBN_SELCHANGE)
            PostMessageW(window_, kBoxSelected, static_cast<WPARAM>(*box), 0);
        else if (code == CBN_SETFOCUS)
            model_.FocusReached(box);
        else if (code == CBN_KILLFOCUS)
            // The box keeps its selection on the screen otherwise, and
            // several boxes would look selected at once.
            SendMessageW(control, CB_SETEDITSEL, 0, MAKELPARAM(-1, 0));
        return;
    }
    if (code == BN_SETFOCUS) {
        model_.FocusReached(std::nullopt);
        return;
    }
    if (code != BN_CLICKED)
        return;
    const std::pair<ControlId, Command> buttons[] = {
        {ControlId::Begin, Command::BeginOrCancel},
        {ControlId::Exit, Command::Exit},
        {ControlId::InputBrowse, Command::InputFile},
        {ControlId::OutputBrowse, Command::OutputFile},
    };
    for (const auto& [button, command] : buttons) {
        if (id == ResourceIdOf(button))
            model_.Carry(command);
    }
}

void Win32MainWindow::MenuCommand(UINT id)
{
    if (const std::optional<Command> command = CommandOfMenuId(id))
        model_.Carry(*command);
    else if (const std::optional<Preference> preference = PreferenceOfMenuId(id))
        model_.TogglePreference(*preference);
}

void Win32MainWindow::MenuOpening(HMENU menu)
{
    if (menuBar_.IsFileMenu(menu))
        model_.FileMenuOpening();
    else if (menuBar_.IsPreferencesMenu(menu))
        model_.PreferencesMenuOpening();
}

void Win32MainWindow::FileDropped(HDROP drop)
{
    std::vector<std::string> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        DragQueryFileW(drop, i, path.data(), length + 1);
        path.resize(length);
        // Folders are no flat files.
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (!path.empty() && (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)))
            paths.push_back(NameOfWide(path));
    }
    DragFinish(drop);
    model_.FilesDropped(paths);
}

LRESULT CALLBACK Win32MainWindow::BoxEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR self)
{
    auto* window = reinterpret_cast<Win32MainWindow*>(self);
    if (message == WM_GETDLGCODE && lParam != 0 && reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN)
        return DLGC_WANTALLKEYS;  // Enter is the box's, not the dialog manager's
    if (message == WM_KEYDOWN || message == WM_CHAR) {
        if (const std::optional<HistoryBox> box = window->BoxOfControl(GetParent(edit)))
            if (window->BoxKey(*box, message, wParam))
                return 0;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

bool Win32MainWindow::BoxKey(HistoryBox box, UINT message, WPARAM key)
{
    if (message == WM_KEYDOWN) {
        if (key == VK_RETURN) {
            model_.EnterInBox(box);
            return true;
        }
        if (key == VK_DELETE && (GetKeyState(VK_CONTROL) & 0x8000) != 0) {
            model_.DeleteShownEntry(box);
            return true;
        }
        return false;
    }
    // WM_CHAR: Enter never edits or beeps; the model may refuse a character.
    if (key == L'\r' || key == L'\n')
        return true;
    return key >= 0x20 && key < 0x80 && !model_.AcceptsTypedCharacter(box, static_cast<char>(key));
}

}  // namespace pellimar
