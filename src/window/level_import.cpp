// Level names from the first "<LN:" line of a file ("Load Levels" and a
// dropped definition file), and the input a dropped file gives.
#include "engine/level_names_line.h"
#include "window/file_drop.h"
#include "window/history_combo.h"
#include "window/main_window.h"

namespace pellimar {

void TZUDIzazu::LoadLevels1Click()
{
    EmptyLevelNames();
    ui.OpenDialog1.fileName.clear();
    ui.OpenDialog1.filterIndex = kDefinitionFilesFilter;
    if (services_.dialogs->OpenFile(ui.OpenDialog1)) {
        // A file that cannot be opened raises here; the dialog then keeps the
        // typed name and the definition-file filter until its next use.
        FillLevelNames(ui.OpenDialog1.fileName);
    }
    ui.OpenDialog1.fileName.clear();
    ui.OpenDialog1.filterIndex = kFlatFilesFilter;
}

void TZUDIzazu::EmptyLevelNames()
{
    for (THistoryComboBox* box : ui.LevelBoxes)
        box->SetBytes("");
}

// Only the boxes' texts change; their histories take a name only when the
// user leaves the box or presses Enter in it.
void TZUDIzazu::FillLevelNames(const std::string& path)
{
    const std::vector<std::string> names = ReadLevelNamesFile(path);
    for (std::size_t i = 0; i < names.size(); ++i)
        ui.LevelBoxes[i]->SetBytes(names[i]);
}

void TZUDIzazu::ImportLevelNames(const std::string& path)
{
    EmptyLevelNames();
    FillLevelNames(path);
}

void TZUDIzazu::TakeInputFile(const std::string& path)
{
    ui.inEdit->SetBytes(path);
    // As after the input-file dialog, the output dialog starts on the input's name.
    ui.SaveDialog1.fileName = path;
    if (ui.outEdit->Bytes().empty())
        ui.outEdit->SetBytes(DerivedOutputPath(path));
}

}  // namespace pellimar
