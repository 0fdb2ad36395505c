// "Using Pellimar": the user guide as rich text in a read-only box, read
// from its start, with a find row under it: Ctrl+F goes to the find box,
// Enter in it and F3 find the next place, Shift+F3 the one before.
#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <optional>
#include <utility>

#include "settings/file_io.h"
#include "streams/wide_names.h"
#include "window_win32/guide_rtf.h"
#include "window_win32/modal_dialogs_win32.h"
#include "window_win32/resource_ids.h"
#include "window_win32/win32_text.h"

namespace pellimar {
namespace {

// The guide is small; a file far larger is not a guide and is cut short.
constexpr std::size_t kLongestGuide = 4 * 1024 * 1024;

// The file's bytes; nothing when it cannot be read.
std::optional<std::string> ReadGuide(const std::wstring& path)
{
    FileRead read = ReadFileUpTo(NameOfWide(path), kLongestGuide);
    if (read.status == FileReadStatus::Missing || read.status == FileReadStatus::Unreadable)
        return std::nullopt;
    return std::move(read.bytes);
}

std::wstring FindBoxText(HWND dialog)
{
    HWND box = GetDlgItem(dialog, IDC_GUIDE_FIND);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The next place after the selection (before it, backwards) that holds the
// find box's text in any letter case, going round past the end; selected
// and shown, or "Not found" said beside the buttons.
void FindAgain(HWND dialog, bool backwards)
{
    const std::wstring sought = FindBoxText(dialog);
    if (sought.empty())
        return;
    HWND guide = GetDlgItem(dialog, IDC_GUIDE_TEXT);
    CHARRANGE selection{};
    SendMessageW(guide, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    GETTEXTLENGTHEX measure{GTL_NUMCHARS | GTL_PRECISE, 1200};
    const auto length = static_cast<LONG>(SendMessageW(guide, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&measure), 0));
    // Backwards, a range runs from where the search starts down to its end.
    const CHARRANGE ranges[] = {backwards ? CHARRANGE{selection.cpMin, 0} : CHARRANGE{selection.cpMax, -1},
                                backwards ? CHARRANGE{length, 0} : CHARRANGE{0, -1}};
    FINDTEXTEXW find{{}, sought.c_str(), {}};
    LRESULT at = -1;
    for (const CHARRANGE& range : ranges) {
        find.chrg = range;
        at = SendMessageW(guide, EM_FINDTEXTEXW, backwards ? 0 : FR_DOWN, reinterpret_cast<LPARAM>(&find));
        if (at >= 0)
            break;
    }
    SetDlgItemTextW(dialog, IDC_GUIDE_FIND_STATUS, at >= 0 ? L"" : L"Not found");
    if (at < 0)
        return;
    SendMessageW(guide, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&find.chrgText));
    SendMessageW(guide, EM_SCROLLCARET, 0, 0);
}

// The dialog's own loop translates no shortcuts: each control hands the
// find keys to the dialog.
LRESULT CALLBACK FindKeys(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    HWND dialog = GetParent(control);
    if (message == WM_KEYDOWN && wParam == VK_F3) {
        FindAgain(dialog, GetKeyState(VK_SHIFT) < 0);
        return 0;
    }
    if (message == WM_KEYDOWN && wParam == 'F' && GetKeyState(VK_CONTROL) < 0) {
        // As Tab would: the focus, and the box's text selected.
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_GUIDE_FIND)), TRUE);
        return 0;
    }
    // Ctrl+F's character, which a box would beep at.
    if (message == WM_CHAR && wParam == 0x06)
        return 0;
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(control, FindKeys, 0);
    return DefSubclassProc(control, message, wParam, lParam);
}

BOOL CALLBACK HandFindKeysOn(HWND control, LPARAM)
{
    SetWindowSubclass(control, FindKeys, 0, 0);
    return TRUE;
}

void ShowGuideText(HWND dialog, LPARAM rtf)
{
    HWND text = GetDlgItem(dialog, IDC_GUIDE_TEXT);
    SETTEXTEX how{ST_DEFAULT, CP_ACP};
    SendMessageW(text, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), rtf);
    // The dialog would select the whole text of the box it gives the
    // focus to, and show its end: the box takes the focus at its start.
    SendMessageW(text, EM_SETSEL, 0, 0);
    SendMessageW(text, WM_VSCROLL, SB_TOP, 0);
    SetFocus(text);
}

// Enter in the find box finds; anywhere else it closes the guide, as OK.
INT_PTR GuideCommand(HWND dialog, WORD command)
{
    switch (command) {
    case IDOK:
        if (GetFocus() == GetDlgItem(dialog, IDC_GUIDE_FIND)) {
            FindAgain(dialog, false);
            return TRUE;
        }
        [[fallthrough]];
    case IDCANCEL: EndDialog(dialog, command); return TRUE;
    case IDC_GUIDE_FIND_NEXT: FindAgain(dialog, false); return TRUE;
    case IDC_GUIDE_FIND_PREVIOUS: FindAgain(dialog, true); return TRUE;
    default: return FALSE;
    }
}

INT_PTR CALLBACK GuideProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        EnumChildWindows(dialog, HandFindKeysOn, 0);
        ShowGuideText(dialog, lParam);
        return FALSE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_GUIDE_FIND && HIWORD(wParam) == EN_CHANGE) {
        SetDlgItemTextW(dialog, IDC_GUIDE_FIND_STATUS, L"");
        return TRUE;
    }
    if (message == WM_COMMAND)
        return GuideCommand(dialog, LOWORD(wParam));
    return FALSE;
}

}  // namespace

void RunGuideWindow(HWND owner, const std::wstring& guidePath)
{
    // The rich-edit box's class, which the dialog's template names.
    static const HMODULE richEdit = LoadLibraryW(L"Msftedit.dll");
    if (richEdit == nullptr) {
        MessageBoxW(owner, L"The guide cannot be shown: Msftedit.dll is missing.", L"Error", MB_ICONERROR | MB_OK);
        return;
    }
    const std::optional<std::string> guide = ReadGuide(guidePath);
    const std::string rtf = RtfOfMarkdown(
        guide ? *guide : "The user guide was not found.\n\nIt was looked for at: " + Utf8OfWide(guidePath));
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_GUIDE), owner, GuideProc,
                    reinterpret_cast<LPARAM>(rtf.c_str()));
}

}  // namespace pellimar
