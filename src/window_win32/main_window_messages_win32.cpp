// The messages of the main window and of its controls, handed to the model.
#include "window_win32/main_window_messages_win32.h"

#include <commctrl.h>

#include <cwchar>
#include <cwctype>

#include "streams/wide_names.h"
#include "window_win32/control_ids.h"
#include "window_win32/pass_thread_win32.h"

namespace pellimar {
namespace {

// Posted once the window is first on the screen.
constexpr UINT kFirstShown = WM_APP + 2;

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

Win32MainWindowMessages::Win32MainWindowMessages(MainWindowModel& model, Win32MainWindowView& view,
                                                 const std::vector<HWND>& controls,
                                                 std::function<void(unsigned dpi)> relayout)
    : model_(model), view_(view), controls_(controls), relayout_(std::move(relayout))
{
}

void Win32MainWindowMessages::Subclass(HWND control, ControlKind kind)
{
    if (kind == ControlKind::Box) {
        // The edit line inside the box gets the keys.
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (GetComboBoxInfo(control, &info) && info.hwndItem != nullptr)
            SetWindowSubclass(info.hwndItem, BoxEditProc, 0, reinterpret_cast<DWORD_PTR>(this));
    } else if (kind == ControlKind::BrowseButton) {
        SetWindowSubclass(control, BrowseButtonProc, 0, reinterpret_cast<DWORD_PTR>(this));
    }
}

bool Win32MainWindowMessages::PreTranslate(MSG& message)
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

LRESULT CALLBACK Win32MainWindowMessages::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32MainWindowMessages*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        self->view_.Attach(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32MainWindowMessages*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->Handle(message, wParam, lParam);
}

LRESULT Win32MainWindowMessages::Handle(UINT message, WPARAM wParam, LPARAM lParam)
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
        SetFocus(ControlOf(window_, BoxControl(HistoryBox::Level1)));
        model_.FirstShown();
        model_.TakeStartFiles();
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
    case kBoxChanged: model_.BoxEdited(static_cast<HistoryBox>(wParam)); return 0;
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
        if (view_.Busy()) {
            SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
            return TRUE;
        }
        break;
    case WM_DPICHANGED: {
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        relayout_(HIWORD(wParam));
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        return 0;
    }
    case WM_CLOSE:
        if (model_.CloseRequested())
            DestroyWindow(window_);
        return 0;
    case WM_DESTROY:
        window_ = nullptr;
        view_.Attach(nullptr);
        PostQuitMessage(0);
        return 0;
    default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Win32MainWindowMessages::ControlCommand(int id, int code, HWND control)
{
    if (const std::optional<HistoryBox> box = BoxOfControl(control)) {
        if (code == CBN_EDITCHANGE)
            model_.BoxEdited(*box);
        else if (code == CBN_SELCHANGE)
            PostMessageW(window_, kBoxChanged, static_cast<WPARAM>(*box), 0);
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

void Win32MainWindowMessages::MenuCommand(UINT id)
{
    if (const std::optional<Command> command = CommandOfMenuId(id))
        model_.Carry(*command);
    else if (const std::optional<Preference> preference = PreferenceOfMenuId(id))
        model_.TogglePreference(*preference);
}

void Win32MainWindowMessages::MenuOpening(HMENU menu)
{
    if (view_.MenuBar().IsFileMenu(menu))
        model_.FileMenuOpening();
    else if (view_.MenuBar().IsPreferencesMenu(menu))
        model_.PreferencesMenuOpening();
}

void Win32MainWindowMessages::FileDropped(HDROP drop)
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

LRESULT CALLBACK Win32MainWindowMessages::BoxEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                      DWORD_PTR self)
{
    auto* messages = reinterpret_cast<Win32MainWindowMessages*>(self);
    if (message == WM_GETDLGCODE && lParam != 0 && reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN)
        return DLGC_WANTALLKEYS;  // Enter is the box's, not the dialog manager's
    if (message == WM_KEYDOWN || message == WM_CHAR) {
        if (const std::optional<HistoryBox> box = messages->BoxOfControl(GetParent(edit)))
            if (messages->BoxKey(*box, message, wParam))
                return 0;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

bool Win32MainWindowMessages::BoxKey(HistoryBox box, UINT message, WPARAM key)
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

std::optional<HistoryBox> Win32MainWindowMessages::BoxOfControl(HWND control) const
{
    if (control == nullptr || GetParent(control) != window_)
        return std::nullopt;
    const int index = GetDlgCtrlID(control) - ResourceIdOf(ControlId::FirstBox);
    if (index < 0 || index >= kHistoryBoxCount)
        return std::nullopt;
    return static_cast<HistoryBox>(index);
}

}  // namespace pellimar
