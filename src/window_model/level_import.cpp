// Level names from the first "<LN:" line of a file ("Load Levels" and a
// dropped definition file), and the input a dropped file gives.
#include "engine/level_names_line.h"
#include "window_model/dropped_file.h"
#include "window_model/file_dialogs.h"
#include "window_model/main_window_model.h"

namespace pellimar {

void MainWindowModel::LoadLevels()
{
    Guarded([this] {
        EmptyLevelNames();
        openDialog_.fileName.clear();
        openDialog_.filterIndex = kDefinitionFilesFilter;
        if (ShowFileDialog(openDialog_, FileDialogPurpose::LoadLevels, false)) {
            // A file that cannot be opened raises here; the dialog then keeps
            // the typed name and the definition-file filter until its next use.
            FillLevelNames(openDialog_.fileName);
        }
        openDialog_.fileName.clear();
        openDialog_.filterIndex = kFlatFilesFilter;
    });
}

void MainWindowModel::EmptyLevelNames()
{
    for (int i = 0; i < kLevelCount; ++i)
        view_.SetBoxText(LevelBox(i), "");
}

// Only the boxes' texts change; their histories take a name only when the
// user leaves the box or presses Enter in it.
void MainWindowModel::FillLevelNames(const std::string& path)
{
    const std::vector<std::string> names = ReadLevelNamesFile(path);
    for (std::size_t i = 0; i < names.size(); ++i)
        ShowBoxText(LevelBox(static_cast<int>(i)), names[i]);
}

void MainWindowModel::FileDropped(const std::string& path)
{
    Guarded([&] {
        if (IsDefinitionFile(path)) {
            EmptyLevelNames();
            FillLevelNames(path);
        } else {
            TakeInputFile(path);
        }
    });
    UpdateBeginButton();
}

void MainWindowModel::TakeInputFile(const std::string& path)
{
    view_.SetBoxText(HistoryBox::InputFile, path);
    // As after the input-file dialog, the output dialog starts on the input's name.
    saveDialog_.fileName = path;
    if (Text(HistoryBox::OutputFile).empty())
        view_.SetBoxText(HistoryBox::OutputFile, DerivedOutputPath(path));
}

}  // namespace pellimar
