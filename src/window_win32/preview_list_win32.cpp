// The preview: the level names of the level records read, its heading, the
// first references a run would make (or a collection's files) in a list
// view, and its note.
#include <algorithm>
#include <initializer_list>
#include <string>

#include "window_win32/modal_dialogs_win32.h"

#include <commctrl.h>

#include "window_win32/resource_ids.h"
#include "window_win32/win32_text.h"

namespace pellimar {
namespace {

void AddColumn(HWND list, int index, const wchar_t* title, int width)
{
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(title);
    column.cx = width;
    column.iSubItem = index;
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void SetCell(HWND list, int row, int column, const std::wstring& text)
{
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    if (column == 0)
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    else
        SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// A collection's list: a row a file, with a row under it for each line of
// its details.
void FillFileList(HWND list, const std::vector<PreviewFile>& files)
{
    AddColumn(list, 0, L"File", 200);
    AddColumn(list, 1, L"References", 140);
    AddColumn(list, 2, L"Note", 220);
    int row = 0;
    for (const PreviewFile& file : files) {
        SetCell(list, row, 0, WideOfUtf8(file.input));
        SetCell(list, row, 1, WideOfUtf8(file.counts));
        std::string remark = file.remark;
        std::replace(remark.begin(), remark.end(), '\r', ' ');
        SetCell(list, row, 2, WideOfUtf8(remark));
        ++row;
        for (const std::string& detail : file.details) {
            SetCell(list, row, 0, L"");
            SetCell(list, row, 2, WideOfUtf8(detail));
            ++row;
        }
    }
}

void FillList(HWND list, const PreviewShown& preview)
{
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    if (!preview.files.empty()) {
        FillFileList(list, preview.files);
        return;
    }
    const std::vector<PreviewReference>& references = preview.references;
    AddColumn(list, 0, L"Line", 60);
    AddColumn(list, 1, L"Reference", 180);
    AddColumn(list, 2, L"Record", 260);
    int row = 0;
    for (const PreviewReference& reference : references) {
        SetCell(list, row, 0, std::to_wstring(reference.line));
        SetCell(list, row, 1, WideOfUtf8(reference.text));
        SetCell(list, row, 2, WideOfUtf8(reference.recordStart));
        ++row;
    }
}

// A control's place in the dialog's client area.
RECT PlaceOf(HWND dialog, HWND control)
{
    RECT place;
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

// A text takes the height its lines need, none when it has none, and what
// stands below it moves with it: the dialog grows or shrinks by as much,
// rather than keep room for the longest text or cut one off. The level list
// and the heading (two lines at a collection's end) are fitted so.
void FitToText(HWND dialog, int id, const std::wstring& text, std::initializer_list<int> below)
{
    const HWND control = GetDlgItem(dialog, id);
    const RECT place = PlaceOf(dialog, control);
    RECT needed{0, 0, place.right - place.left, 0};
    if (!text.empty()) {
        const HDC dc = GetDC(control);
        const HGDIOBJ font = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, font);
        ReleaseDC(control, dc);
    }
    const int height = needed.bottom - needed.top;
    const int shift = height - (place.bottom - place.top);
    SetWindowPos(control, nullptr, 0, 0, place.right - place.left, height, SWP_NOMOVE | SWP_NOZORDER);
    for (const int next : below) {
        const HWND other = GetDlgItem(dialog, next);
        const RECT at = PlaceOf(dialog, other);
        SetWindowPos(other, nullptr, at.left, at.top + shift, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    RECT frame;
    GetWindowRect(dialog, &frame);
    SetWindowPos(dialog, nullptr, frame.left, frame.top - shift / 2, frame.right - frame.left,
                 frame.bottom - frame.top + shift, SWP_NOZORDER);
}

INT_PTR CALLBACK PreviewProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        const auto& preview = *reinterpret_cast<const PreviewShown*>(lParam);
        SetWindowTextW(dialog, WideOfUtf8(preview.caption).c_str());
        const std::wstring levels = WideLinesOfUtf8(preview.levels);
        SetDlgItemTextW(dialog, IDC_PREVIEW_LEVELS, levels.c_str());
        FitToText(dialog, IDC_PREVIEW_LEVELS, levels, {IDC_PREVIEW_CAPTION, IDC_PREVIEW_LIST, IDC_PREVIEW_NOTE, IDOK});
        const std::wstring heading = WideLinesOfUtf8(preview.heading);
        SetDlgItemTextW(dialog, IDC_PREVIEW_CAPTION, heading.c_str());
        FitToText(dialog, IDC_PREVIEW_CAPTION, heading, {IDC_PREVIEW_LIST, IDC_PREVIEW_NOTE, IDOK});
        FillList(GetDlgItem(dialog, IDC_PREVIEW_LIST), preview);
        SetDlgItemTextW(dialog, IDC_PREVIEW_NOTE, WideLinesOfUtf8(preview.note).c_str());
        ShowWindow(GetDlgItem(dialog, IDC_PREVIEW_NOTE), preview.note.empty() ? SW_HIDE : SW_SHOW);
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void RunPreviewList(HWND owner, const PreviewShown& preview)
{
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PREVIEW), owner, PreviewProc,
                    reinterpret_cast<LPARAM>(&preview));
}

}  // namespace pellimar
