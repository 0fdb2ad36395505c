// Choosing the settings folder from the program's location and environment.
#include "settings/settings_paths.h"

#include "streams/wide_names.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;

// A program installed into the system's folders keeps no files beside
// itself, even when run by a user who could write there (root).
bool IsSystemProgramFolder(const fs::path& folder)
{
    const std::string text = NameOfPath(folder.lexically_normal());
    for (const char* system : {"/usr", "/bin", "/sbin", "/lib"}) {
        const std::string prefix = system;
        if (text == prefix || text.starts_with(prefix + "/"))
            return true;
    }
    return false;
}

// A settings file that stands beside the program is the user's, to be used
// where it is as long as it can be written; without one, the folder must
// take new files.
bool CanKeepSettingsBeside(const fs::path& programFolder, const SettingsFiles& beside, const AccessProbe& access)
{
    switch (access(PathOfName(beside.iniFile))) {
    case FileAccess::Writable: return true;
    case FileAccess::Missing: return access(programFolder) == FileAccess::Writable;
    case FileAccess::ReadOnly: return false;
    }
    return false;
}

}  // namespace

fs::path UserConfigFolder(const std::string& xdgConfigHome, const std::string& home)
{
    const fs::path xdg = xdgConfigHome;
    if (xdg.is_absolute())
        return xdg / "pellimar";
    return fs::path(home) / ".config" / "pellimar";
}

fs::path UserAppDataFolder(const std::wstring& appData, const std::wstring& userProfile)
{
    if (!appData.empty())
        return fs::path(appData) / L"Pellimar";
    return fs::path(userProfile) / L"AppData" / L"Roaming" / L"Pellimar";
}

std::string FileToRead(const SettingsPaths& paths, std::string SettingsFiles::*file)
{
    std::error_code error;
    if (!paths.takenOver || fs::exists(PathOfName(paths.*file), error))
        return paths.*file;
    return (*paths.takenOver).*file;
}

SettingsPaths SettingsPathsIn(const fs::path& folder, const fs::path& program)
{
    fs::path iniName = program.empty() ? fs::path("pellimar") : program.filename();
    iniName.replace_extension(".INI");
    const SettingsFiles files{NameOfPath(folder / iniName), NameOfPath(folder / "patterns.pag"),
                              NameOfPath(folder / "patterns.ref")};
    return {files, std::nullopt};
}

SettingsPaths ChooseSettingsFiles(const SettingsEnvironment& environment, const AccessProbe& access)
{
    if (!environment.configDir.empty())
        return SettingsPathsIn(PathOfName(environment.configDir), environment.program);
    SettingsPaths inUserFolder = SettingsPathsIn(environment.userFolder, environment.program);
    if (environment.program.empty())
        return inUserFolder;
    const fs::path programFolder = environment.program.parent_path();
    const SettingsPaths beside = SettingsPathsIn(programFolder, environment.program);
    if (!IsSystemProgramFolder(programFolder) && CanKeepSettingsBeside(programFolder, beside, access))
        return beside;
    inUserFolder.takenOver = beside;
    return inUserFolder;
}

SettingsPaths LocateSettingsFilesFor(const SettingsEnvironment& environment)
{
    SettingsPaths paths = ChooseSettingsFiles(environment, ProbeAccess);
    const fs::path folder = PathOfName(paths.iniFile).parent_path();
    if (folder != environment.program.parent_path()) {
        std::error_code ignored;
        fs::create_directories(folder, ignored);
    }
    return paths;
}

SettingsPaths LocateSettingsFiles()
{
    return LocateSettingsFilesFor(CurrentSettingsEnvironment());
}

}  // namespace pellimar
