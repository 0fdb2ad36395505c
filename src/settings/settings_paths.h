// Where the settings file and the two pattern history files live.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace pellimar {

struct SettingsPaths {
    std::string iniFile;       // the program's name with ".INI"
    std::string pagePatterns;  // "patterns.pag"
    std::string refPatterns;   // "patterns.ref"
};

// The three files in `folder`; the settings file is named after `program`
// with its extension replaced by ".INI" ("pellimar" when `program` is empty).
SettingsPaths SettingsPathsIn(const std::filesystem::path& folder, const std::filesystem::path& program);

struct SettingsEnvironment {
    std::filesystem::path program;  // the running executable; empty when unknown
    std::string configDir;          // $PELLIMAR_CONFIG_DIR, which overrides all else
    std::string xdgConfigHome;      // $XDG_CONFIG_HOME
    std::string home;               // $HOME
};

// The override when given; else the program's folder when it can be written
// and is not one of the system's own (the files live beside the program);
// else the user's configuration folder,
// $XDG_CONFIG_HOME/pellimar when that is an absolute path, otherwise
// $HOME/.config/pellimar.
std::filesystem::path ChooseSettingsFolder(const SettingsEnvironment& environment,
                                           const std::function<bool(const std::filesystem::path&)>& writable);

// The environment of this process: the program from /proc/self/exe.
SettingsEnvironment CurrentSettingsEnvironment();

// The files for this process. A chosen folder other than the program's own
// is created when missing (a failure shows later as a failed save).
SettingsPaths LocateSettingsFiles();

}  // namespace pellimar
