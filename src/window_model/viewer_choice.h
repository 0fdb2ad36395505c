// The flat-file viewer: the program the user names once, stored in the
// settings the moment it is chosen, and started on an output.
#pragma once

#include <string>

#include "settings/settings_paths.h"
#include "window_model/file_choices.h"
#include "window_model/program_launcher.h"

namespace pellimar {

class ViewerChoice {
public:
    ViewerChoice(FileChoices& choices, ProgramLauncher& launcher, SettingsPaths paths)
        : choices_(choices), launcher_(launcher), paths_(std::move(paths))
    {
    }

    const std::string& Path() const { return path_; }
    // As the settings hold it, when they are loaded.
    void Take(std::string path) { path_ = std::move(path); }
    // True when the user chose a viewer; it is stored at once.
    bool Choose();
    // With no viewer set yet, the user chooses one first; cancelling that
    // views nothing.
    void Launch(const std::string& file);

private:
    FileChoices& choices_;
    ProgramLauncher& launcher_;
    SettingsPaths paths_;
    std::string path_;
};

}  // namespace pellimar
