// The filters of the window's open and save dialogs.
#include "window_model/file_dialogs.h"

#include <filesystem>

namespace pellimar {

const char* FileDialogTitle(FileDialogPurpose purpose)
{
    switch (purpose) {
    case FileDialogPurpose::InputFile: return "Input File";
    case FileDialogPurpose::OutputFile: return "Output File";
    case FileDialogPurpose::LoadLevels: return "Load Levels";
    case FileDialogPurpose::Viewer: return "Folio Flat File Viewer";
    case FileDialogPurpose::SeveralInputs: return "Convert Several Files";
    case FileDialogPurpose::OutputFolder: return "Output Folder";
    case FileDialogPurpose::PreviewInputs: return "Preview Several Files";
    }
    return "";
}

std::string FolderOf(const std::string& path)
{
    return std::filesystem::path(path).parent_path().string();
}

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
            false,
            {},
            {}};
}

FileDialogState InitialSaveDialog()
{
    return {{{"Folio Flat Files (*.fff)", "*.fff"}, {"Text Files (*.txt)", "*.txt"}, {"All Files (*.*)", "*.*"}},
            1,
            "",
            "FFF",
            false,
            {},
            {}};
}

}  // namespace pellimar
