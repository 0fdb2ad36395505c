// The dialogs as Qt shows them: message boxes with the system's own captions
// and buttons, an input box, the non-native file dialogs, a help window.
#pragma once

#include <QPointer>
#include <QStringList>

#include "window_model/dialogs.h"

class QFileDialog;
class QWidget;

namespace pellimar {

class HelpWindow;

class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

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
    // The dialog's files when confirmed, none when cancelled; the filter in
    // use goes back into the state.
    QStringList RunPrepared(QFileDialog& dialog, FileDialogState& state);

    QWidget* parent_;
    QPointer<HelpWindow> help_;
};

}  // namespace pellimar
