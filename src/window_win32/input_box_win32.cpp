// The input box: a prompt, one line to type in, OK and Cancel.
#include "window_win32/modal_dialogs_win32.h"
#include "window_win32/resource_ids.h"

namespace pellimar {
namespace {

struct InputBoxTexts {
    const std::wstring& title;
    const std::wstring& prompt;
    std::wstring text;
};

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* texts = reinterpret_cast<InputBoxTexts*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        texts = reinterpret_cast<InputBoxTexts*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        SetWindowTextW(dialog, texts->title.c_str());
        SetDlgItemTextW(dialog, IDC_INPUT_PROMPT, texts->prompt.c_str());
        SetDlgItemTextW(dialog, IDC_INPUT_TEXT, texts->text.c_str());
        // The focus goes to the text, all of it selected.
        SendDlgItemMessageW(dialog, IDC_INPUT_TEXT, EM_SETSEL, 0, -1);
        SetFocus(GetDlgItem(dialog, IDC_INPUT_TEXT));
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            HWND edit = GetDlgItem(dialog, IDC_INPUT_TEXT);
            std::wstring typed(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
            typed.resize(static_cast<std::size_t>(GetWindowTextW(edit, typed.data(), static_cast<int>(typed.size()))));
            texts->text = typed;
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    default: break;
    }
    return FALSE;
}

}  // namespace

std::optional<std::wstring> RunInputBox(HWND owner, const std::wstring& title, const std::wstring& prompt,
                                        const std::wstring& defaultText)
{
    InputBoxTexts texts{title, prompt, defaultText};
    const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_INPUT_BOX), owner,
                                           InputBoxProc, reinterpret_cast<LPARAM>(&texts));
    if (result != IDOK)
        return std::nullopt;
    return texts.text;
}

}  // namespace pellimar
