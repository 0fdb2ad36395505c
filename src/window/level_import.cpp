// "Load Levels": fills the seven level-name boxes from the first "<LN:" line
// of a chosen definition or flat file.
#include "engine/level_names_line.h"
#include "window/history_combo.h"
#include "window/main_window.h"

namespace pellimar {

void TZUDIzazu::LoadLevels1Click()
{
    EmptyLevelNames();
    OpenDialog1.fileName.clear();
    OpenDialog1.filterIndex = 2;
    if (services_.dialogs->OpenFile(OpenDialog1)) {
        // A file that cannot be opened raises here; the dialog then keeps the
        // typed name and the definition-file filter until its next use.
        FillLevelNames(OpenDialog1.fileName);
    }
    OpenDialog1.fileName.clear();
    OpenDialog1.filterIndex = 1;
}

void TZUDIzazu::EmptyLevelNames()
{
    for (THistoryComboBox* box : LevelBoxes)
        box->SetBytes("");
}

// Only the boxes' texts change; their histories take a name only when the
// user leaves the box or presses Enter in it.
void TZUDIzazu::FillLevelNames(const std::string& path)
{
    const std::vector<std::string> names = ReadLevelNamesFile(path);
    for (std::size_t i = 0; i < names.size(); ++i)
        LevelBoxes[i]->SetBytes(names[i]);
}

}  // namespace pellimar
