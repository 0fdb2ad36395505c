// Choosing the settings folder from the program's location and environment.
#include "settings/settings_paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace pellimar {
namespace {

namespace fs = std::filesystem;

std::string EnvironmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string HomeFolder()
{
    std::string home = EnvironmentValue("HOME");
    if (home.empty()) {
        if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr)
            home = user->pw_dir;
    }
    return home;
}

bool CanWriteFolder(const fs::path& folder)
{
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

// A program installed into the system's folders keeps no files beside
// itself, even when run by a user who could write there (root).
bool IsSystemProgramFolder(const fs::path& folder)
{
    const std::string text = folder.lexically_normal().string();
    for (const char* system : {"/usr", "/bin", "/sbin", "/lib"}) {
        const std::string prefix = system;
        if (text == prefix || text.starts_with(prefix + "/"))
            return true;
    }
    return false;
}

fs::path UserConfigFolder(const SettingsEnvironment& environment)
{
    const fs::path xdg = environment.xdgConfigHome;
    if (xdg.is_absolute())
        return xdg / "pellimar";
    return fs::path(environment.home) / ".config" / "pellimar";
}

}  // namespace

SettingsPaths SettingsPathsIn(const fs::path& folder, const fs::path& program)
{
    fs::path iniName = program.empty() ? fs::path("pellimar") : program.filename();
    iniName.replace_extension(".INI");
    return {(folder / iniName).string(), (folder / "patterns.pag").string(), (folder / "patterns.ref").string()};
}

fs::path ChooseSettingsFolder(const SettingsEnvironment& environment,
                              const std::function<bool(const fs::path&)>& writable)
{
    if (!environment.configDir.empty())
        return environment.configDir;
    const fs::path programFolder = environment.program.parent_path();
    if (!environment.program.empty() && !IsSystemProgramFolder(programFolder) && writable(programFolder))
        return programFolder;
    return UserConfigFolder(environment);
}

SettingsEnvironment CurrentSettingsEnvironment()
{
    std::error_code error;
    fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error)
        program.clear();
    return {program, EnvironmentValue("PELLIMAR_CONFIG_DIR"), EnvironmentValue("XDG_CONFIG_HOME"), HomeFolder()};
}

SettingsPaths LocateSettingsFiles()
{
    const SettingsEnvironment environment = CurrentSettingsEnvironment();
    const fs::path folder = ChooseSettingsFolder(environment, CanWriteFolder);
    if (folder != environment.program.parent_path()) {
        std::error_code ignored;
        fs::create_directories(folder, ignored);
    }
    return SettingsPathsIn(folder, environment.program);
}

}  // namespace pellimar
