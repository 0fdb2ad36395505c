// Building the window: its class, the controls at their places for the
// monitor's DPI, the fonts, and the messages of the window and its controls.
#include "window_win32/main_window_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>
#include <cwctype>

#include "streams/wide_names.h"
#include "window_win32/caption_fit.h"
#include "window_win32/gauge_win32.h"
#include "window_win32/pass_thread_win32.h"
#include "window_win32/resource_ids.h"
#include "window_win32/window_layout.h"

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

std::int64_t LocalTimeOfDayMs()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return ((now.wHour * 60LL + now.wMinute) * 60 + now.wSecond) * 1000 + now.wMilliseconds;
}

// The services with the system's clock unless a test gave its own, and
// with passes run on a thread of their own while the window handles its
// messages.
WindowServices WithClockAndPassThread(WindowServices services, Win32MainWindow& window)
{
    if (!services.clock)
        services.clock = LocalTimeOfDayMs;
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

}  // namespace

Win32MainWindow::Win32MainWindow(WindowServices services)
    : model_(*this, WithClockAndPassThread(std::move(services), *this))
{
}

Win32MainWindow::~Win32MainWindow()
{
    if (window_ != nullptr)
        DestroyWindow(window_);
    DeleteObject(font_);
    DeleteObject(smallFont_);
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
    menu_ = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAIN_MENU));
    LoadShortcuts(instance);
    const std::wstring title = WideOfName(kApplicationTitle);
    // A fixed dialog frame with a system menu and a minimize box. The
    // children are not clipped from the background: group boxes leave their
    // inside to it.
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES | WS_EX_DLGMODALFRAME, kWindowClass,
                              title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, menu_, instance,
                              this);
    if (window_ == nullptr)
        return false;
    CreateControls();
    ApplyLayout(WindowDpi(window_));
    CenterOnMonitor();
    return true;
}

HWND Win32MainWindow::CreateControl(int id, const wchar_t* className, const wchar_t* text, DWORD style)
{
    return CreateWindowExW(0, className, text, style, 0, 0, 0, 0, window_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE)), nullptr);
}

// The controls are made in the layout's order, so that Tab and the labels'
// mnemonics follow it; their places come with the DPI.
void Win32MainWindow::CreateControls()
{
    for (const ControlPlace& place : MainWindowLayout()) {
        HWND control = CreateControl(place.id, ClassOf(place.kind), place.text, StyleOf(place.kind));
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
    EnableWindow(Control(IDC_BEGIN), FALSE);
}

void Win32MainWindow::ApplyLayout(unsigned dpi)
{
    dpi_ = dpi;
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
    HFONT oldFont = font_;
    HFONT oldSmallFont = smallFont_;
    font_ = MakeControlFont(ControlKind::Label, dpi);
    smallFont_ = MakeControlFont(ControlKind::SmallLabel, dpi);
    const auto& layout = MainWindowLayout();
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        const bool small = layout[i].kind == ControlKind::SmallLabel;
        SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(small ? smallFont_ : font_), TRUE);
    }
    DeleteObject(oldFont);
    DeleteObject(oldSmallFont);
}

void Win32MainWindow::CenterOnMonitor()
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    RECT frame;
    GetWindowRect(window_, &frame);
    const RECT& work = monitor.rcWork;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window_, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32MainWindow::LoadShortcuts(HINSTANCE instance)
{
    HACCEL table = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
    shortcuts_.resize(static_cast<std::size_t>(CopyAcceleratorTableW(table, nullptr, 0)));
    CopyAcceleratorTableW(table, shortcuts_.data(), static_cast<int>(shortcuts_.size()));
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
        if (Shortcut(key) || Mnemonic(key))
            return true;
    }
    return IsDialogMessageW(window_, &message) != 0;
}

// A menu shortcut of the accelerator table, Alt with a letter: taken even
// when its item is disabled, as the menu's shortcuts are.
bool Win32MainWindow::Shortcut(wint_t key)
{
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    for (const ACCEL& shortcut : shortcuts_) {
        if ((shortcut.fVirt & FALT) != 0 && shortcut.key == key && ((shortcut.fVirt & FCONTROL) != 0) == control &&
            ((shortcut.fVirt & FSHIFT) != 0) == shift) {
            ShortcutCommand(shortcut.cmd);
            return true;
        }
    }
    return false;
}

// The dialog manager finds no mnemonic while the focus is in a box's edit
// line, so the window finds them itself, in the controls' current captions:
// a label's letter moves to its box, a check box's toggles it, a button's
// presses it ("&Cancel" while a run lasts).
bool Win32MainWindow::Mnemonic(wint_t key)
{
    if (!((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')))
        return false;
    const auto& layout = MainWindowLayout();
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        wchar_t caption[64];
        GetWindowTextW(controls_[i], caption, 64);
        const wchar_t* mark = wcschr(caption, L'&');
        if (mark == nullptr || towupper(static_cast<wint_t>(mark[1])) != key)
            continue;
        if (!IsWindowVisible(controls_[i]) || !IsWindowEnabled(controls_[i]))
            return false;
        switch (layout[i].kind) {
        case ControlKind::Label:
            if (i + 1 < controls_.size()) {
                SetFocus(controls_[i + 1]);
                SendMessageW(controls_[i + 1], CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
            }
            return true;
        case ControlKind::CheckBox:
            SetFocus(controls_[i]);
            SendMessageW(controls_[i], BM_CLICK, 0, 0);
            return true;
        case ControlKind::Button: SendMessageW(controls_[i], BM_CLICK, 0, 0); return true;
        default: return false;
        }
    }
    return false;
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
        SetFocus(Box(HistoryBox::Level1));
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
    case WM_COMMAND: Command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)); return 0;
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

void Win32MainWindow::Command(int id, int code, HWND control)
{
    if (control == nullptr) {
        MenuCommand(id);
        return;
    }
    if (const std::optional<HistoryBox> box = BoxOfControl(control)) {
        if (code == CBN_EDITCHANGE)
            model_.BoxEdited(*box);
        else if (code == CBN_SELCHANGE)
            PostMessageW(window_, kBoxSelected, static_cast<WPARAM>(*box), 0);
        else if (code == CBN_SETFOCUS) {
            if (const auto left = boxExitRule_.FocusReached(box))
                model_.BoxLeft(*left);
        } else if (code == CBN_KILLFOCUS) {
            // The box keeps its selection on the screen otherwise, and
            // several boxes would look selected at once.
            SendMessageW(control, CB_SETEDITSEL, 0, MAKELPARAM(-1, 0));
        }
        return;
    }
    if (code == BN_SETFOCUS) {
        if (const auto left = boxExitRule_.FocusReached(std::nullopt))
            model_.BoxLeft(*left);
        return;
    }
    if (code != BN_CLICKED)
        return;
    switch (id) {
    case IDC_BEGIN: model_.BeginOrCancel(); break;
    case IDC_EXIT: model_.Exit(); break;
    case IDC_INPUT_BROWSE: model_.ChooseInputFile(); break;
    case IDC_OUTPUT_BROWSE: model_.ChooseOutputFile(); break;
    default: break;
    }
}

void Win32MainWindow::MenuCommand(int id)
{
    switch (id) {
    case IDM_LOAD_LEVELS: model_.LoadLevels(); break;
    case IDM_INPUT_FILE: model_.ChooseInputFile(); break;
    case IDM_OUTPUT_FILE: model_.ChooseOutputFile(); break;
    case IDM_BEGIN: model_.BeginOrCancel(); break;
    case IDM_PREVIEW: model_.Preview(); break;
    case IDM_LEFT_JUST_ONLY: model_.ToggleLeftJustOnly(); break;
    case IDM_SHOW_PROG_METER: model_.ToggleShowProgMeter(); break;
    case IDM_USE_HR: model_.ToggleUseHR(); break;
    case IDM_ID_RECORDS: model_.ToggleIdRecords(); break;
    case IDM_SET_VIEWER: model_.ChooseViewer(); break;
    case IDM_EXIT: model_.Exit(); break;
    case IDM_USING: model_.ShowHelp(); break;
    case IDM_ABOUT: model_.ShowAbout(); break;
    default: break;
    }
}

// A menu shortcut first runs the File menu's opening handler, which brings
// the items' states up to date, and then the item when it is enabled; the
// key is taken either way.
void Win32MainWindow::ShortcutCommand(int id)
{
    model_.FileMenuOpening();
    if ((GetMenuState(menu_, static_cast<UINT>(id), MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0)
        MenuCommand(id);
}

void Win32MainWindow::MenuOpening(HMENU menu)
{
    HMENU fileMenu = GetSubMenu(menu_, 0);
    if (menu == fileMenu)
        model_.FileMenuOpening();
    else if (GetMenuState(menu, IDM_LEFT_JUST_ONLY, MF_BYCOMMAND) != static_cast<UINT>(-1))
        model_.PreferencesMenuOpening();
}

void Win32MainWindow::FileDropped(HDROP drop)
{
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring path(length + 1, L'\0');
    DragQueryFileW(drop, 0, path.data(), length + 1);
    DragFinish(drop);
    path.resize(length);
    if (!path.empty())
        model_.FileDropped(NameOfWide(path));
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

// The "+" buttons never keep the focus, so using one does not count as
// leaving a box: the focus goes straight back where it came from.
LRESULT CALLBACK Win32MainWindow::BrowseButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                   DWORD_PTR)
{
    if (message == WM_SETFOCUS && wParam != 0) {
        SetFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    }
    return DefSubclassProc(button, message, wParam, lParam);
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
