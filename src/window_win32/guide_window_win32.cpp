// "Using Pellimar": the user guide as plain text in a read-only box.
#include "window_win32/modal_dialogs_win32.h"

#include "window_win32/resource_ids.h"

namespace pellimar {
namespace {

// The file's bytes; nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    // The guide is small; a file far larger is not a guide and is cut short.
    constexpr std::size_t kLimit = 4 * 1024 * 1024;
    while (bytes.size() < kLimit && ReadFile(file, buffer, sizeof buffer, &read, nullptr) != FALSE && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

// The guide is UTF-8 with "\n" line ends; the box wants UTF-16 and "\r\n".
std::wstring DisplayText(const std::string& utf8)
{
    const int size = static_cast<int>(utf8.size());
    std::wstring wide(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)),
                      L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
    std::wstring lines;
    lines.reserve(wide.size() + wide.size() / 16);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        if (wide[i] == L'\n' && (i == 0 || wide[i - 1] != L'\r'))
            lines += L'\r';
        lines += wide[i];
    }
    return lines;
}

INT_PTR CALLBACK GuideProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetDlgItemTextW(dialog, IDC_GUIDE_TEXT, reinterpret_cast<const wchar_t*>(lParam));
        return TRUE;
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
    const std::optional<std::string> guide = ReadWholeFile(guidePath);
    const std::wstring text = guide ? DisplayText(*guide)
                                    : L"The user guide was not found.\r\n\r\nIt was looked for at: " + guidePath;
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_GUIDE), owner, GuideProc,
                    reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace pellimar
