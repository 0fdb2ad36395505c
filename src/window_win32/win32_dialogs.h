// The Windows dialogs behind the window's dialogs interface: message boxes,
// the input box, the common open and save dialogs, the preview list and the
// user guide.
#pragma once

#include <windows.h>

#include "window_model/dialogs.h"

namespace pellimar {

class Win32Dialogs : public Dialogs {
public:
    // The window the dialogs belong to; none until it exists.
    void SetOwner(HWND owner) { owner_ = owner; }

    MessageAnswer ShowMessage(MessageKind kind, const std::string& text, MessageButtons buttons) override;
    MessageAnswer ShowMessageWithNote(MessageKind kind, const std::string& text, const std::string& note,
                                      MessageButtons buttons) override;
    void ShowErrorBox(const std::string& caption, const std::string& text) override;
    std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                        const std::string& defaultText) override;
    bool OpenFile(FileDialogState& state) override;
    bool SaveFile(FileDialogState& state) override;
    std::vector<std::string> OpenFiles(FileDialogState& state) override;
    std::optional<std::string> ChooseFolder(const std::string& title, const std::string& start) override;
    void ShowHelp(const std::string& guidePath) override;
    void ShowPreview(const PreviewShown& preview) override;

private:
    bool RunFileDialog(FileDialogState& state, bool save);

    HWND owner_ = nullptr;
};

// The filter list of a common file dialog: description and pattern of each
// entry, each ended by a null, and one more null at the end.
std::wstring FilterList(const std::vector<FileFilter>& filters);

// The name a file dialog offers at its start: in the folder last used for
// its purpose only the name's last part, else the whole name.
std::wstring OfferedName(const std::wstring& fileName, bool startsInFolder);

}  // namespace pellimar
