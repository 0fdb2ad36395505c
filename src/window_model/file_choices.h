// The window's file dialogs: the open dialog (shared by the input file, Load
// Levels and the viewer) and the save dialog (the output file), each keeping
// its file name and filter from one use to the next, and a folder
// remembered for each purpose.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "window_model/dialogs.h"
#include "window_model/file_dialogs.h"

namespace pellimar {

class FileChoices {
public:
    explicit FileChoices(Dialogs& dialogs)
        : dialogs_(dialogs), open_(InitialOpenDialog()), save_(InitialSaveDialog())
    {
    }

    // The chosen file's full path, or nothing when the user cancelled.
    std::optional<std::string> Input();
    // Overwriting is asked when a run starts, so this dialog does not ask.
    std::optional<std::string> Output();
    // After No to overwriting: the new name is most often a neighbour of
    // the file kept, so the dialog starts beside it, on its name, and asks
    // before overwriting.
    std::optional<std::string> NewOutput(const std::string& existing);
    // Definition files first, with no name offered. The dialog keeps both
    // until LevelsFileTaken, so that a file that cannot be read leaves them
    // for the next try.
    std::optional<std::string> LevelsFile();
    void LevelsFileTaken();
    // Programs, with no name offered: the flat file the dialog last held
    // would become the viewer on Enter. That name stays for its other uses.
    std::optional<std::string> Viewer();

    // The inputs of a collection: several flat files, in the order the
    // dialog gives them; nothing when the user cancelled. The dialog is
    // captioned for its purpose, to convert or to preview them, and opens
    // in one folder for both.
    std::optional<std::vector<std::string>> SeveralInputs(
        FileDialogPurpose purpose = FileDialogPurpose::SeveralInputs);
    // The folder a collection's outputs go to, offered where the last one
    // was chosen (kept from one start to the next); the first time, in the
    // folder above that of `firstInput`, where a folder beside the inputs'
    // own is at hand.
    std::optional<std::string> OutputFolder(const std::string& firstInput);
    void TakeOutputFolder(const std::string& folder) { outputFolder_ = folder; }
    const std::string& LastOutputFolder() const { return outputFolder_; }

    // The output dialog next offers the input's name.
    void InputTaken(const std::string& path) { save_.fileName = path; }

    const FileDialogState& OpenDialog() const { return open_; }
    const FileDialogState& SaveDialog() const { return save_; }

private:
    std::optional<std::string> Show(FileDialogState& dialog, FileDialogPurpose purpose, bool save);
    std::string& FolderFor(FileDialogPurpose purpose) { return folders_[static_cast<int>(purpose)]; }

    Dialogs& dialogs_;
    FileDialogState open_;
    FileDialogState save_;
    std::array<std::string, kFileDialogPurposeCount> folders_;
    std::string outputFolder_;
};

}  // namespace pellimar
