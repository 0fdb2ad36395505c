// "Using Pellimar": the user guide as rich text in a read-only box, read
// from its start.
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

INT_PTR CALLBACK GuideProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        HWND text = GetDlgItem(dialog, IDC_GUIDE_TEXT);
        SETTEXTEX how{ST_DEFAULT, CP_ACP};
        SendMessageW(text, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), lParam);
        // The dialog would select the whole text of the box it gives the
        // focus to, and show its end: the box takes the focus at its start.
        SendMessageW(text, EM_SETSEL, 0, 0);
        SendMessageW(text, WM_VSCROLL, SB_TOP, 0);
        SetFocus(text);
        return FALSE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
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
