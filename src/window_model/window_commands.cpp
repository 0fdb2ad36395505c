// The window's small commands: the boxes' histories and the rule that
// enables Begin, the file dialogs, the menus, the preference switches, About
// and Help.
#include "window_model/main_window_model.h"

namespace pellimar {
namespace {

const char* const kAboutLines[] = {
    "Folio Flat File Pellimar",
    "For use with Views 3.1 Flat File code.",
    "",
    "Version " PELLIMAR_VERSION,
    "First released in 1998. (c) 2026 The Pellimar developers, under the MIT licence.",
    "",
    "Concept: the Pellimar editors.",
    "Programming: the Pellimar developers.",
};

// The boxes whose texts the Begin rule reads.
bool ReadByBeginRule(HistoryBox box)
{
    return box == HistoryBox::InputFile || box == HistoryBox::OutputFile || box == HistoryBox::RefPattern;
}

}  // namespace

// A text the settings could not hold stays out of the history; a run
// refuses it with the reason.
void MainWindowModel::AddShownText(HistoryBox box)
{
    const FileText text = BoxFileText(box);
    std::vector<std::string> entries = History(box);
    if (text.Complete() && AddHistoryEntry(entries, text.bytes))
        SetHistory(box, std::move(entries));
}

void MainWindowModel::BoxEdited(HistoryBox box)
{
    if (ReadByBeginRule(box))
        UpdateBeginButton();
}

void MainWindowModel::BoxLeft(HistoryBox box)
{
    Guarded([&] {
        AddShownText(box);
        UpdateBeginButton();
    });
}

void MainWindowModel::EnterInBox(HistoryBox box)
{
    AddShownText(box);
    UpdateBeginButton();
}

void MainWindowModel::DeleteShownEntry(HistoryBox box)
{
    const FileText text = BoxFileText(box);
    std::vector<std::string> entries = History(box);
    if (text.Complete() && RemoveHistoryEntry(entries, text.bytes)) {
        SetHistory(box, std::move(entries));
        view_.SetBoxText(box, "");
    }
    UpdateBeginButton();
}

bool MainWindowModel::AcceptsTypedCharacter(HistoryBox box, char typed) const
{
    return !(FiltersBrackets(box) && (typed == '[' || typed == ']'));
}

void MainWindowModel::UpdateBeginButton()
{
    // While a run lasts the button is its Cancel button and must stay usable.
    if (running_)
        return;
    const std::string input = Text(HistoryBox::InputFile);
    const std::string output = Text(HistoryBox::OutputFile);
    beginEnabled_ = !input.empty() && !output.empty() && output != input && !Text(HistoryBox::RefPattern).empty();
    view_.EnableBegin(beginEnabled_);
}

void MainWindowModel::ChooseInputFile()
{
    Guarded([this] {
        if (ShowFileDialog(openDialog_, FileDialogPurpose::InputFile, false)) {
            view_.SetBoxText(HistoryBox::InputFile, openDialog_.fileName);
            saveDialog_.fileName = openDialog_.fileName;
            view_.FocusBox(HistoryBox::InputFile);
        }
        UpdateBeginButton();
    });
}

void MainWindowModel::ChooseOutputFile()
{
    Guarded([this] {
        saveDialog_.overwritePrompt = false;  // the run asks before overwriting
        if (ShowFileDialog(saveDialog_, FileDialogPurpose::OutputFile, true)) {
            view_.SetBoxText(HistoryBox::OutputFile, saveDialog_.fileName);
            view_.FocusBox(HistoryBox::OutputFile);
        }
        UpdateBeginButton();
    });
}

bool MainWindowModel::ShowFileDialog(FileDialogState& dialog, FileDialogPurpose purpose, bool save)
{
    std::string& folder = dialogFolders_[static_cast<int>(purpose)];
    dialog.title = FileDialogTitle(purpose);
    dialog.folder = folder;
    const bool chosen = save ? services_.dialogs->SaveFile(dialog) : services_.dialogs->OpenFile(dialog);
    if (chosen)
        folder = FolderOf(dialog.fileName);
    return chosen;
}

void MainWindowModel::Exit()
{
    view_.CloseWindow();
}

void MainWindowModel::FileMenuOpening()
{
    FileMenuState state;
    state.beginCaption = running_ ? kCancelCaption : kBeginCaption;
    state.beginEnabled = beginEnabled_;
    state.previewEnabled = !running_ && !Text(HistoryBox::InputFile).empty() && !Text(HistoryBox::RefPattern).empty();
    state.exitEnabled = !running_;
    view_.ShowFileMenu(state);
}

void MainWindowModel::PreferencesMenuOpening()
{
    view_.ShowPreferenceMarks({leftJustOnly_, showProgMeter_, useHR_, idRecords_});
}

void MainWindowModel::ToggleLeftJustOnly()
{
    leftJustOnly_ = !leftJustOnly_;
}

void MainWindowModel::ToggleShowProgMeter()
{
    showProgMeter_ = !showProgMeter_;
}

void MainWindowModel::ToggleUseHR()
{
    useHR_ = !useHR_;
}

void MainWindowModel::ToggleIdRecords()
{
    idRecords_ = !idRecords_;
}

void MainWindowModel::ShowAbout()
{
    Guarded([this] {
        std::string text = kAboutLines[0];
        for (std::size_t i = 1; i < std::size(kAboutLines); ++i)
            text += std::string("\r") + kAboutLines[i];
        services_.dialogs->ShowMessage(MessageKind::Information, text, MessageButtons::Ok);
    });
}

void MainWindowModel::ShowHelp()
{
    Guarded([this] { services_.dialogs->ShowHelp(services_.guidePath); });
}

}  // namespace pellimar
