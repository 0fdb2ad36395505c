// What a benchmark gives the window in place of the user: every question
// answered "No", the starting page "1", no dialog shown, no program started.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "window_model/dialogs.h"
#include "window_model/program_launcher.h"

namespace pellimar {

class NoDialogs : public Dialogs {
public:
    MessageAnswer ShowMessage(MessageKind, const std::string& text, MessageButtons) override
    {
        lastMessage = text;
        return MessageAnswer::No;
    }
    MessageAnswer ShowMessageWithNote(MessageKind kind, const std::string& text, const std::string&,
                                      MessageButtons buttons) override
    {
        return ShowMessage(kind, text, buttons);
    }
    void ShowErrorBox(const std::string&, const std::string& text) override { lastMessage = text; }
    std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override
    {
        return "1";
    }
    bool OpenFile(FileDialogState&) override { return false; }
    bool SaveFile(FileDialogState&) override { return false; }
    std::vector<std::string> OpenFiles(FileDialogState&) override { return {}; }
    std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override { return {}; }
    void ShowHelp(const std::string&) override {}
    void ShowPreview(const PreviewShown&) override {}
    // The last message the run showed: its closing count, or its error.
    std::string lastMessage;
};

class NoLauncher : public ProgramLauncher {
public:
    void Start(const std::string&, const std::string&) override {}
};

}  // namespace pellimar
