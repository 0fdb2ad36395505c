// The filters of the window's open and save dialogs.
#include "window_model/file_dialogs.h"

namespace pellimar {

FileDialogState InitialOpenDialog()
{
    return {{{"Folio Flat Files (*.fff)", "*.fff"},
             {"Folio Def files (*.def)", "*.def"},
             {"Text Files (*.txt)", "*.txt"},
             {"Executable Files (*.exe)", "*.exe"},
             {"All Files (*.*)", "*.*"}},
            kFlatFilesFilter,
            "",
            "FFF",
            false};
}

FileDialogState InitialSaveDialog()
{
    return {{{"Folio Flat Files (*.fff)", "*.fff"}, {"Text Files (*.txt)", "*.txt"}, {"All Files (*.*)", "*.*"}},
            1,
            "",
            "FFF",
            false};
}

}  // namespace pellimar
