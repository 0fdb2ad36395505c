// Message boxes and the common file dialogs.
#include "window_win32/win32_dialogs.h"

#include <commdlg.h>

#include <utility>

#include "streams/wide_names.h"
#include "window_win32/modal_dialogs_win32.h"
#include "window_win32/several_files_dialog_win32.h"
#include "window_win32/win32_text.h"

namespace pellimar {
namespace {

// The captions are the kinds' own words, as on every system.
const wchar_t* CaptionOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning: return L"Warning";
    case MessageKind::Error: return L"Error";
    case MessageKind::Information: return L"Information";
    case MessageKind::Confirm: return L"Confirm";
    }
    return L"";
}

UINT IconOf(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning: return MB_ICONWARNING;
    case MessageKind::Error: return MB_ICONERROR;
    case MessageKind::Information: return MB_ICONINFORMATION;
    case MessageKind::Confirm: return MB_ICONQUESTION;
    }
    return 0;
}

// Yes and Cancel is no set of the system's own: it is OK and Cancel, with
// OK captioned "&Yes" as the box opens.
UINT ButtonsOf(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return MB_OK;
    case MessageButtons::YesNo: return MB_YESNO;
    case MessageButtons::YesNoCancel: return MB_YESNOCANCEL;
    case MessageButtons::YesCancel: return MB_OKCANCEL;
    }
    return MB_OK;
}

MessageAnswer AnswerOf(int result, MessageButtons buttons)
{
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    switch (result) {
    case IDOK:
    case IDYES: return MessageAnswer::Yes;
    case IDNO: return MessageAnswer::No;
    default: return MessageAnswer::Cancel;
    }
}

// The hook that captions the next message box's OK button "&Yes": set on
// this thread for one box, taken off once that box is being shown.
thread_local HHOOK okAsYes = nullptr;

LRESULT CALLBACK CaptionOkAsYes(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && okAsYes != nullptr) {
        SetDlgItemTextW(reinterpret_cast<HWND>(wParam), IDOK, L"&Yes");
        UnhookWindowsHookEx(std::exchange(okAsYes, nullptr));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

int ShowMessageBox(HWND owner, const std::wstring& body, MessageKind kind, MessageButtons buttons)
{
    if (buttons == MessageButtons::YesCancel)
        okAsYes = SetWindowsHookExW(WH_CBT, CaptionOkAsYes, nullptr, GetCurrentThreadId());
    const int result = MessageBoxW(owner, body.c_str(), CaptionOf(kind), IconOf(kind) | ButtonsOf(buttons));
    if (okAsYes != nullptr)
        UnhookWindowsHookEx(std::exchange(okAsYes, nullptr));
    return result;
}

// Long paths: the dialog writes the chosen name into this many characters.
constexpr std::size_t kFileNameCapacity = 32768;

}  // namespace

std::wstring FilterList(const std::vector<FileFilter>& filters)
{
    std::wstring list;
    for (const FileFilter& filter : filters) {
        list += WideOfUtf8(filter.description);
        list += L'\0';
        list += WideOfUtf8(filter.pattern);
        list += L'\0';
    }
    list += L'\0';
    return list;
}

std::wstring OfferedName(const std::wstring& fileName, bool startsInFolder)
{
    if (!startsInFolder)
        return fileName;
    const std::size_t slash = fileName.find_last_of(L"\\/:");
    return slash == std::wstring::npos ? fileName : fileName.substr(slash + 1);
}

MessageAnswer Win32Dialogs::ShowMessage(MessageKind kind, const std::string& text, MessageButtons buttons)
{
    return ShowMessageWithNote(kind, text, "", buttons);
}

// A message box has no place of its own for a note: it follows the text
// after an empty line.
MessageAnswer Win32Dialogs::ShowMessageWithNote(MessageKind kind, const std::string& text, const std::string& note,
                                                MessageButtons buttons)
{
    std::wstring body = WideLinesOfUtf8(text);
    if (!note.empty())
        body += L"\r\n\r\n" + WideLinesOfUtf8(note);
    return AnswerOf(ShowMessageBox(owner_, body, kind, buttons), buttons);
}

void Win32Dialogs::ShowErrorBox(const std::string& caption, const std::string& text)
{
    MessageBoxW(owner_, WideLinesOfUtf8(text).c_str(), WideOfUtf8(caption).c_str(), MB_ICONERROR | MB_OK);
}

std::optional<std::string> Win32Dialogs::InputBox(const std::string& title, const std::string& prompt,
                                                  const std::string& defaultText)
{
    const std::optional<std::wstring> answer =
        RunInputBox(owner_, WideOfUtf8(title), WideLinesOfUtf8(prompt), WideOfUtf8(defaultText));
    if (!answer)
        return std::nullopt;
    return Utf8OfWide(*answer);
}

bool Win32Dialogs::OpenFile(FileDialogState& state)
{
    return RunFileDialog(state, false);
}

bool Win32Dialogs::SaveFile(FileDialogState& state)
{
    return RunFileDialog(state, true);
}

bool Win32Dialogs::RunFileDialog(FileDialogState& state, bool save)
{
    const std::wstring filters = FilterList(state.filters);
    const std::wstring extension = WideOfUtf8(state.defaultExtension);
    const std::wstring title = WideOfUtf8(state.title);
    const std::wstring folder = WideOfName(state.folder);
    // The folder last used for this purpose wins over that of the name the
    // dialog still holds from another use; the name itself is offered there.
    std::wstring fileName = OfferedName(WideOfName(state.fileName), !folder.empty());
    fileName.resize(kFileNameCapacity, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = filters.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(state.filterIndex);
    dialog.lpstrFile = fileName.data();
    dialog.nMaxFile = static_cast<DWORD>(kFileNameCapacity);
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    // Like the open dialog it stands for, it takes names of files that do
    // not exist yet; the working folder stays where it was.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
    if (save && state.overwritePrompt)
        dialog.Flags |= OFN_OVERWRITEPROMPT;
    const BOOL confirmed = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (confirmed == FALSE)
        return false;
    fileName.resize(fileName.find(L'\0'));
    state.fileName = NameOfWide(fileName);
    state.filterIndex = static_cast<int>(dialog.nFilterIndex);
    return true;
}

std::vector<std::string> Win32Dialogs::OpenFiles(FileDialogState& state)
{
    std::vector<std::string> chosen;
    for (const std::wstring& file : RunSeveralFilesDialog(owner_, state))
        chosen.push_back(NameOfWide(file));
    return chosen;
}

std::optional<std::string> Win32Dialogs::ChooseFolder(const std::string& title, const std::string& start)
{
    const std::optional<std::wstring> folder = RunFolderDialog(owner_, WideOfUtf8(title), WideOfName(start));
    if (!folder)
        return std::nullopt;
    return NameOfWide(*folder);
}

void Win32Dialogs::ShowHelp(const std::string& guidePath)
{
    RunGuideWindow(owner_, WideOfName(guidePath));
}

void Win32Dialogs::ShowPreview(const PreviewShown& preview)
{
    RunPreviewList(owner_, preview);
}

}  // namespace pellimar
