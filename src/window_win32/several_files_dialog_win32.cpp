// Choosing several files, and a folder.
#include "window_win32/several_files_dialog_win32.h"

#include <commdlg.h>
#include <shobjidl.h>

#include "streams/wide_names.h"
#include "window_win32/win32_dialogs.h"
#include "window_win32/win32_text.h"

namespace pellimar {
namespace {

// Room for a few thousand names of a long folder.
constexpr std::size_t kSeveralNamesCapacity = 1 << 20;

// Releases a COM interface at the end of its scope.
template <typename Interface>
class Held {
public:
    ~Held()
    {
        if (pointer_ != nullptr)
            pointer_->Release();
    }
    Interface** Out() { return &pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

private:
    Interface* pointer_ = nullptr;
};

// COM for this thread while the dialog lasts; the folder dialog needs it.
class ComScope {
public:
    ComScope() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope()
    {
        if (initialised_)
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool initialised_;
};

}  // namespace

std::vector<std::wstring> SelectedFiles(const std::wstring& buffer)
{
    std::vector<std::wstring> parts;
    for (std::size_t at = 0; at < buffer.size() && buffer[at] != L'\0';) {
        const std::size_t end = buffer.find(L'\0', at);
        parts.push_back(buffer.substr(at, end == std::wstring::npos ? std::wstring::npos : end - at));
        at = end == std::wstring::npos ? buffer.size() : end + 1;
    }
    if (parts.size() <= 1)
        return parts;
    std::wstring folder = parts.front();
    if (folder.back() != L'\\')
        folder += L'\\';
    std::vector<std::wstring> files;
    for (std::size_t i = 1; i < parts.size(); ++i)
        files.push_back(folder + parts[i]);
    return files;
}

std::vector<std::wstring> RunSeveralFilesDialog(HWND owner, FileDialogState& state)
{
    const std::wstring filters = FilterList(state.filters);
    const std::wstring title = WideOfUtf8(state.title);
    const std::wstring folder = WideOfName(state.folder);
    std::wstring buffer(kSeveralNamesCapacity, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filters.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(state.filterIndex);
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (GetOpenFileNameW(&dialog) == FALSE)
        return {};
    state.filterIndex = static_cast<int>(dialog.nFilterIndex);
    return SelectedFiles(buffer);
}

std::optional<std::wstring> RunFolderDialog(HWND owner, const std::wstring& title, const std::wstring& start)
{
    const ComScope com;
    Held<IFileOpenDialog> dialog;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(dialog.Out()))))
        return std::nullopt;
    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR | FOS_PATHMUSTEXIST);
    dialog->SetTitle(title.c_str());
    Held<IShellItem> startItem;
    if (!start.empty() &&
        SUCCEEDED(SHCreateItemFromParsingName(start.c_str(), nullptr, IID_PPV_ARGS(startItem.Out()))))
        dialog->SetFolder(startItem.operator->());
    Held<IShellItem> chosen;
    if (FAILED(dialog->Show(owner)) || FAILED(dialog->GetResult(chosen.Out())))
        return std::nullopt;
    PWSTR path = nullptr;
    if (FAILED(chosen->GetDisplayName(SIGDN_FILESYSPATH, &path)))
        return std::nullopt;
    std::wstring folder = path;
    CoTaskMemFree(path);
    return folder;
}

}  // namespace pellimar
