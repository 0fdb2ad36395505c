// Level names from the first "<LN:" line of a file ("Load Levels" and a
// dropped definition file), and the input a dropped file gives.
#include "engine/level_names_line.h"
#include "window_model/dropped_file.h"
#include "window_model/main_window_model.h"

namespace pellimar {

// A file that cannot be opened raises before the dialog is done with, which
// then keeps the typed name and the definition-file filter for its next use.
void MainWindowModel::LoadLevels()
{
    Guarded(*services_.dialogs, [this] {
        EmptyLevelNames();
        if (const std::optional<std::string> chosen = choices_.LevelsFile())
            FillLevelNames(*chosen);
        choices_.LevelsFileTaken();
    });
}

void MainWindowModel::EmptyLevelNames()
{
    for (int i = 0; i < kLevelCount; ++i)
        boxes_.Show(LevelBox(i), "");
    run_.LevelsLoaded({}, {});
}

// Only the boxes' texts change; their histories take a name only when the
// user leaves the box or presses Enter in it.
void MainWindowModel::FillLevelNames(const std::string& path)
{
    const LevelNamesLine line = ReadLevelNamesLine(path);
    for (std::size_t i = 0; i < line.names.size(); ++i)
        boxes_.ShowFileText(LevelBox(static_cast<int>(i)), line.names[i]);
    run_.LevelsLoaded(path, line.skipped);
}

void MainWindowModel::FileDropped(const std::string& path)
{
    Guarded(*services_.dialogs, [&] {
        if (IsDefinitionFile(path)) {
            EmptyLevelNames();
            FillLevelNames(path);
        } else {
            TakeInputFile(path);
        }
    });
    run_.UpdateBeginButton();
}

void MainWindowModel::TakeInputFile(const std::string& path)
{
    boxes_.Show(HistoryBox::InputFile, path);
    // As after the input-file dialog, the output dialog starts on the input's name.
    choices_.InputTaken(path);
    if (boxes_.Shown(HistoryBox::OutputFile).empty())
        boxes_.Show(HistoryBox::OutputFile, DerivedOutputPath(path));
}

}  // namespace pellimar
