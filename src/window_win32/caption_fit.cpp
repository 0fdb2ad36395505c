// Captions measured as the system draws them.
#include "window_win32/caption_fit.h"

#include <commctrl.h>

#include <cwchar>

namespace pellimar {
namespace {

// Around the text: a check box's box and the gap after it, a push button's
// edges, a group box's frame and the gaps on either side of its caption;
// with a pixel for the focus rectangle where there is one.
int RoomAroundCaption(ControlKind kind)
{
    switch (kind) {
    case ControlKind::CheckBox: return 13 + 6 + 1;
    case ControlKind::Button: return 2 * (3 + 1 + 2);
    case ControlKind::BrowseButton: return 2 * 3;  // never focused
    case ControlKind::Group: return 2 * (8 + 2);
    default: return 0;
    }
}

}  // namespace

HFONT MakeControlFont(ControlKind kind, unsigned dpi)
{
    const int pixelHeight = kind == ControlKind::SmallLabel ? 11 : 13;
    return CreateFontW(-Scaled(pixelHeight, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, L"Arial");
}

int CaptionWidthNeeded(HDC dc, ControlKind kind, const std::wstring& caption, unsigned dpi)
{
    RECT extent{0, 0, 0, 0};
    const UINT prefix = kind == ControlKind::SmallLabel ? DT_NOPREFIX : 0;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &extent, DT_CALCRECT | DT_SINGLELINE | prefix);
    return extent.right - extent.left + Scaled(RoomAroundCaption(kind), dpi);
}

ControlKind KindOfControl(HWND control)
{
    wchar_t className[32];
    GetClassNameW(control, className, 32);
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    if (_wcsicmp(className, WC_STATICW) == 0)
        return (style & SS_NOPREFIX) != 0 ? ControlKind::SmallLabel : ControlKind::Label;
    if (_wcsicmp(className, WC_COMBOBOXW) == 0)
        return ControlKind::Box;
    if (_wcsicmp(className, WC_BUTTONW) != 0)
        return ControlKind::Gauge;
    switch (style & BS_TYPEMASK) {
    case BS_GROUPBOX: return ControlKind::Group;
    case BS_AUTOCHECKBOX:
    case BS_CHECKBOX: return ControlKind::CheckBox;
    default: return (style & WS_TABSTOP) != 0 ? ControlKind::Button : ControlKind::BrowseButton;
    }
}

}  // namespace pellimar
