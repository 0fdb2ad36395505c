// Where the settings file and the two pattern history files live.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace pellimar {

// One folder's three settings files.
struct SettingsFiles {
    std::string iniFile;       // the program's name with ".INI"
    std::string pagePatterns;  // "patterns.pag"
    std::string refPatterns;   // "patterns.ref"

    bool operator==(const SettingsFiles&) const = default;
};

// The files the settings are saved to and, when they are kept in the
// user's configuration folder instead of beside the program, the files
// beside the program that they take over.
struct SettingsPaths : SettingsFiles {
    // Each of these is read in place of its own counterpart above for as
    // long as that one does not exist, so that a first start finds what was
    // kept beside the program and the first save moves it to the user's
    // folder.
    std::optional<SettingsFiles> takenOver;

    bool operator==(const SettingsPaths&) const = default;
};

// The file that holds `file`'s settings now: the file itself, or while it
// does not exist, the one it takes over.
std::string FileToRead(const SettingsPaths& paths, std::string SettingsFiles::*file);

// The three files in `folder`; the settings file is named after `program`
// with its extension replaced by ".INI" ("pellimar" when `program` is empty).
SettingsPaths SettingsPathsIn(const std::filesystem::path& folder, const std::filesystem::path& program);

struct SettingsEnvironment {
    std::filesystem::path program;     // the running executable; empty when unknown
    std::string configDir;             // $PELLIMAR_CONFIG_DIR, which overrides all else
    std::filesystem::path userFolder;  // the user's own settings folder
};

// The user's settings folder on Linux: $XDG_CONFIG_HOME/pellimar when that is
// an absolute path, otherwise $HOME/.config/pellimar.
std::filesystem::path UserConfigFolder(const std::string& xdgConfigHome, const std::string& home);

// The user's settings folder on Windows: "Pellimar" in the roaming
// application-data folder (%APPDATA%), or in %USERPROFILE%\AppData\Roaming
// when that variable is not set.
std::filesystem::path UserAppDataFolder(const std::wstring& appData, const std::wstring& userProfile);

// What this process may do with a file or folder: write a file (read it
// too), create files in a folder.
enum class FileAccess { Missing, ReadOnly, Writable };
using AccessProbe = std::function<FileAccess(const std::filesystem::path&)>;
FileAccess ProbeAccess(const std::filesystem::path& path);

// The override folder when given. Else beside the program, when the
// settings file there can be written, or when there is none and the
// folder can be written, but never in one of the system's own folders.
// Else the user's own folder, taking over the files beside the program.
SettingsPaths ChooseSettingsFiles(const SettingsEnvironment& environment, const AccessProbe& access);

// The environment of this process: the running program and, by system, the
// user's folder.
SettingsEnvironment CurrentSettingsEnvironment();

// The files for a program in this environment. A chosen folder other than
// the program's own is created when missing (a failure shows later as a
// failed save).
SettingsPaths LocateSettingsFilesFor(const SettingsEnvironment& environment);
SettingsPaths LocateSettingsFiles();

}  // namespace pellimar
