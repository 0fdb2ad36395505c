// Choosing files through the window's dialogs.
#include "window_model/file_choices.h"

#include <utility>

#include "streams/wide_names.h"

namespace pellimar {

std::optional<std::string> FileChoices::Show(FileDialogState& dialog, FileDialogPurpose purpose, bool save)
{
    std::string& folder = FolderFor(purpose);
    dialog.title = FileDialogTitle(purpose);
    dialog.folder = folder;
    const bool chosen = save ? dialogs_.SaveFile(dialog) : dialogs_.OpenFile(dialog);
    if (!chosen)
        return std::nullopt;
    folder = FolderOf(dialog.fileName);
    return dialog.fileName;
}

std::optional<std::string> FileChoices::Input()
{
    std::optional<std::string> chosen = Show(open_, FileDialogPurpose::InputFile, false);
    if (chosen)
        InputTaken(*chosen);
    return chosen;
}

std::optional<std::string> FileChoices::Output()
{
    save_.overwritePrompt = false;
    return Show(save_, FileDialogPurpose::OutputFile, true);
}

std::optional<std::string> FileChoices::NewOutput(const std::string& existing)
{
    save_.overwritePrompt = true;
    save_.fileName = existing;
    FolderFor(FileDialogPurpose::OutputFile) = FolderOf(existing);
    return Show(save_, FileDialogPurpose::OutputFile, true);
}

std::optional<std::vector<std::string>> FileChoices::SeveralInputs(FileDialogPurpose purpose)
{
    std::string& folder = FolderFor(FileDialogPurpose::SeveralInputs);
    open_.title = FileDialogTitle(purpose);
    open_.folder = folder;
    std::vector<std::string> chosen = dialogs_.OpenFiles(open_);
    if (chosen.empty())
        return std::nullopt;
    folder = FolderOf(chosen.front());
    return chosen;
}

std::optional<std::string> FileChoices::OutputFolder(const std::string& firstInput)
{
    const std::string start =
        outputFolder_.empty() ? NameOfPath(PathOfName(firstInput).parent_path().parent_path()) : outputFolder_;
    std::optional<std::string> chosen =
        dialogs_.ChooseFolder(FileDialogTitle(FileDialogPurpose::OutputFolder), start);
    if (chosen)
        outputFolder_ = *chosen;
    return chosen;
}

std::optional<std::string> FileChoices::LevelsFile()
{
    open_.fileName.clear();
    open_.filterIndex = kDefinitionFilesFilter;
    return Show(open_, FileDialogPurpose::LoadLevels, false);
}

void FileChoices::LevelsFileTaken()
{
    open_.fileName.clear();
    open_.filterIndex = kFlatFilesFilter;
}

std::optional<std::string> FileChoices::Viewer()
{
    const std::string flatFileName = std::exchange(open_.fileName, std::string());
    open_.filterIndex = ViewerFilter();
    std::optional<std::string> chosen = Show(open_, FileDialogPurpose::Viewer, false);
    open_.filterIndex = kFlatFilesFilter;
    open_.fileName = flatFileName;
    return chosen;
}

}  // namespace pellimar
