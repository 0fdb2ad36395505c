// Level names from a file.
#include "window_model/level_import.h"

#include "engine/level_names_line.h"
#include "window_model/error_box.h"

namespace pellimar {

// A file that cannot be opened raises before the dialog is done with, which
// then keeps the typed name and the definition-file filter for its next use.
void LevelImport::Load()
{
    Guarded(dialogs_, [this] {
        Empty();
        if (const std::optional<std::string> chosen = choices_.LevelsFile())
            Fill(*chosen);
        choices_.LevelsFileTaken();
    });
}

void LevelImport::Take(const std::string& path)
{
    Empty();
    Fill(path);
}

void LevelImport::Empty()
{
    for (int i = 0; i < kLevelCount; ++i)
        boxes_.Show(LevelBox(i), "");
    file_.clear();
    skipped_.clear();
}

void LevelImport::Fill(const std::string& path)
{
    const LevelNamesLine line = ReadLevelNamesLine(path);
    for (std::size_t i = 0; i < line.names.size(); ++i)
        boxes_.ShowFileText(LevelBox(static_cast<int>(i)), line.names[i]);
    file_ = path.substr(path.find_last_of("/\\") + 1);
    skipped_ = line.skipped;
}

}  // namespace pellimar
