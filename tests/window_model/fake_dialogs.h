// Dialogs for window tests: answers scripted up front, every call logged.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "window_model/dialogs.h"
#include "window_model/program_launcher.h"

namespace pellimar::testing {

struct ShownMessage {
    MessageKind kind;
    std::string text;
    MessageButtons buttons;
    std::string note;
};

struct ShownFileDialog {
    bool save;
    FileDialogState state;  // as it was when shown
};

class FakeDialogs : public Dialogs {
public:
    MessageAnswer ShowMessage(MessageKind kind, const std::string& text, MessageButtons buttons) override
    {
        return ShowMessageWithNote(kind, text, "", buttons);
    }
    MessageAnswer ShowMessageWithNote(MessageKind kind, const std::string& text, const std::string& note,
                                      MessageButtons buttons) override
    {
        Opened();
        messages.push_back({kind, text, buttons, note});
        if (answers.empty())
            return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ShowErrorBox(const std::string& caption, const std::string& text) override
    {
        Opened();
        errorBoxes.push_back({caption, text});
    }
    std::optional<std::string> InputBox(const std::string& title, const std::string&, const std::string&) override
    {
        Opened();
        inputTitles.push_back(title);
        if (inputAnswers.empty())
            return std::nullopt;
        std::optional<std::string> answer = inputAnswers.front();
        inputAnswers.pop_front();
        return answer;
    }
    bool OpenFile(FileDialogState& state) override { return FileDialog(state, false); }
    bool SaveFile(FileDialogState& state) override { return FileDialog(state, true); }
    std::vector<std::string> OpenFiles(FileDialogState& state) override
    {
        Opened();
        fileDialogs.push_back({false, state});
        if (severalFileAnswers.empty())
            return {};
        std::vector<std::string> answer = severalFileAnswers.front();
        severalFileAnswers.pop_front();
        return answer;
    }
    std::optional<std::string> ChooseFolder(const std::string& title, const std::string& start) override
    {
        Opened();
        folderDialogs.push_back({title, start});
        if (folderAnswers.empty())
            return std::nullopt;
        std::optional<std::string> answer = folderAnswers.front();
        folderAnswers.pop_front();
        return answer;
    }
    void ShowHelp(const std::string& guidePath) override { helpShown.push_back(guidePath); }
    void ShowPreview(const PreviewShown& preview) override
    {
        previews.push_back(preview.references);
        previewHeadings.push_back(preview.heading);
        previewLevels.push_back(preview.levels);
        previewNotes.push_back(preview.note);
        previewFiles.push_back(preview.files);
        lists.push_back(preview);
    }

    // The messages' texts, in order.
    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> texts;
        for (const ShownMessage& message : messages)
            texts.push_back(message.text);
        return texts;
    }

    // Runs while each message box, error box, input box or file dialog is open.
    std::function<void()> whileOpen;
    std::deque<MessageAnswer> answers;
    std::deque<std::optional<std::string>> inputAnswers;
    std::deque<std::optional<std::string>> fileAnswers;  // nothing: cancelled
    std::deque<std::vector<std::string>> severalFileAnswers;  // none: cancelled
    std::deque<std::optional<std::string>> folderAnswers;

    std::vector<ShownMessage> messages;
    std::vector<std::pair<std::string, std::string>> errorBoxes;
    std::vector<std::string> inputTitles;
    std::vector<ShownFileDialog> fileDialogs;
    std::vector<std::pair<std::string, std::string>> folderDialogs;  // title, start
    std::vector<std::string> helpShown;
    std::vector<std::vector<PreviewReference>> previews;
    std::vector<std::string> previewHeadings;
    std::vector<std::string> previewLevels;
    std::vector<std::string> previewNotes;
    std::vector<std::vector<PreviewFile>> previewFiles;
    std::vector<PreviewShown> lists;

private:
    void Opened()
    {
        if (whileOpen)
            whileOpen();
    }
    bool FileDialog(FileDialogState& state, bool save)
    {
        Opened();
        fileDialogs.push_back({save, state});
        if (fileAnswers.empty() || !fileAnswers.front()) {
            if (!fileAnswers.empty())
                fileAnswers.pop_front();
            return false;
        }
        state.fileName = *fileAnswers.front();
        fileAnswers.pop_front();
        return true;
    }
};

class FakeLauncher : public ProgramLauncher {
public:
    void Start(const std::string& program, const std::string& argument) override
    {
        started.push_back({program, argument});
    }
    std::vector<std::pair<std::string, std::string>> started;
};

}  // namespace pellimar::testing
