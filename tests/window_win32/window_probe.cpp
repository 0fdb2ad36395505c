// window_probe: reads the running Pellimar window from outside, for the
// window check under wine.
//
//   window_probe captions   each caption of the main window, the width its
//                           text needs in the window's font and the width it
//                           has; fails when one is cut short
//   window_probe guide      where the guide's box stands: the first line
//                           shown and the selection; fails unless it is the
//                           start with nothing selected
//   window_probe boxes      the texts of the input and the output box, after
//                           "input: " and "output: "
//   window_probe found      where the selection of the guide's box starts and
//                           ends, and the first line shown; fails when
//                           nothing is selected
//   window_probe menu       whether the window is in menu mode (a menu open,
//                           or the menu bar taking the keys): exit status 1
//                           when it is, 0 when not
//   window_probe message    the text of the message box shown, each line on
//                           a line of its own; fails when none is shown
//   window_probe buttons    the captions of that box's buttons, one a line
#include <windows.h>

#include <richedit.h>

#include <cstdio>
#include <string>

#include "window_win32/caption_fit.h"
#include "window_win32/control_ids.h"
#include "window_win32/win32_text.h"

namespace {

using namespace pellimar;

// The DPI the window laid itself out for, read from its client width.
unsigned DpiOf(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    return static_cast<unsigned>((client.right * 96 + kClientWidth / 2) / kClientWidth);
}

struct CaptionCheck {
    unsigned dpi = 96;
    int cut = 0;
};

BOOL CALLBACK CheckCaption(HWND control, LPARAM state)
{
    auto& check = *reinterpret_cast<CaptionCheck*>(state);
    const ControlKind kind = KindOfControl(control);
    wchar_t text[128];
    const int length = GetWindowTextW(control, text, 128);
    if (kind == ControlKind::Box || kind == ControlKind::Gauge || length == 0)
        return TRUE;
    // Fonts belong to their process: the window's own is made again here.
    HFONT font = MakeControlFont(kind, check.dpi);
    HDC dc = GetDC(control);
    HGDIOBJ before = SelectObject(dc, font);
    const int needed = CaptionWidthNeeded(dc, kind, text, check.dpi);
    SelectObject(dc, before);
    ReleaseDC(control, dc);
    DeleteObject(font);
    RECT client;
    GetClientRect(control, &client);
    const bool fits = needed <= client.right;
    check.cut += fits ? 0 : 1;
    std::printf("%s \"%s\": needs %d of %ld px\n", fits ? "fits" : "CUT", Utf8OfWide(text).c_str(), needed,
                static_cast<long>(client.right));
    return TRUE;
}

int Captions()
{
    HWND window = FindWindowW(L"PellimarMainWindow", nullptr);
    if (window == nullptr) {
        std::fprintf(stderr, "window_probe: no Pellimar window\n");
        return 2;
    }
    CaptionCheck check{DpiOf(window), 0};
    std::printf("at %u DPI\n", check.dpi);
    EnumChildWindows(window, CheckCaption, reinterpret_cast<LPARAM>(&check));
    return check.cut == 0 ? 0 : 1;
}

HWND GuideBox()
{
    HWND dialog = FindWindowW(nullptr, L"Using Pellimar");
    HWND box = dialog != nullptr ? FindWindowExW(dialog, nullptr, L"RICHEDIT50W", nullptr) : nullptr;
    if (box == nullptr)
        std::fprintf(stderr, "window_probe: no guide shown\n");
    return box;
}

int Guide()
{
    HWND box = GuideBox();
    if (box == nullptr)
        return 2;
    const auto selection = static_cast<DWORD>(SendMessageW(box, EM_GETSEL, 0, 0));
    const auto firstLine = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
    const auto lines = SendMessageW(box, EM_GETLINECOUNT, 0, 0);
    std::printf("first line shown %ld of %ld, selection %u to %u\n", static_cast<long>(firstLine),
                static_cast<long>(lines), LOWORD(selection), HIWORD(selection));
    return firstLine == 0 && LOWORD(selection) == HIWORD(selection) && lines > 100 ? 0 : 1;
}

// A control's text, asked of it: GetWindowText would give another program's
// control's caption, not what it holds.
std::wstring TextOf(HWND control)
{
    std::wstring text(static_cast<std::size_t>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

std::string BoxText(HWND window, HistoryBox box)
{
    return Utf8OfWide(TextOf(ControlOf(window, BoxControl(box))));
}

int Boxes()
{
    HWND window = FindWindowW(L"PellimarMainWindow", nullptr);
    if (window == nullptr) {
        std::fprintf(stderr, "window_probe: no Pellimar window\n");
        return 2;
    }
    std::printf("input: %s\noutput: %s\n", BoxText(window, HistoryBox::InputFile).c_str(),
                BoxText(window, HistoryBox::OutputFile).c_str());
    return 0;
}

// Where the selection stands; its text cannot be read from another program:
// the box's tables make its positions differ from those of the text it
// gives.
int Found()
{
    HWND box = GuideBox();
    if (box == nullptr)
        return 2;
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    std::printf("selection %lu to %lu, first line shown %ld\n", static_cast<unsigned long>(start),
                static_cast<unsigned long>(end), static_cast<long>(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0)));
    return end > start ? 0 : 1;
}

int MenuMode()
{
    HWND window = FindWindowW(L"PellimarMainWindow", nullptr);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (window == nullptr || !GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) {
        std::fprintf(stderr, "window_probe: no Pellimar window\n");
        return 2;
    }
    const bool inMenu = (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE)) != 0;
    std::printf(inMenu ? "in menu mode\n" : "not in menu mode\n");
    return inMenu ? 1 : 0;
}

// The text of each child of a class ("Static", "Button").
BOOL CALLBACK PrintText(HWND control, LPARAM ofClass)
{
    wchar_t kind[16];
    wchar_t text[4096];
    if (GetClassNameW(control, kind, 16) > 0 && std::wstring(kind) == reinterpret_cast<const wchar_t*>(ofClass) &&
        GetWindowTextW(control, text, 4096) > 0)
        std::printf("%s\n", Utf8OfWide(text).c_str());
    return TRUE;
}

// A message box is a dialog of the system's class, owned by the window.
int Message(const wchar_t* ofClass)
{
    HWND box = FindWindowW(L"#32770", nullptr);
    if (box == nullptr) {
        std::fprintf(stderr, "window_probe: no message box shown\n");
        return 2;
    }
    EnumChildWindows(box, PrintText, reinterpret_cast<LPARAM>(ofClass));
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    // The window's sizes as they are, not as the system would scale them
    // for a program that knows nothing of DPI.
    SetProcessDPIAware();
    const std::wstring what = argc == 2 ? argv[1] : L"";
    if (what == L"captions")
        return Captions();
    if (what == L"guide")
        return Guide();
    if (what == L"boxes")
        return Boxes();
    if (what == L"found")
        return Found();
    if (what == L"menu")
        return MenuMode();
    if (what == L"message")
        return Message(L"Static");
    if (what == L"buttons")
        return Message(L"Button");
    std::fprintf(stderr, "usage: window_probe captions|guide|boxes|found|menu|message|buttons\n");
    return 2;
}
