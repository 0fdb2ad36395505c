// Where the settings live on POSIX: the program from /proc, the user's home,
// and what the effective user may write.
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "settings/settings_paths.h"

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

}  // namespace

FileAccess ProbeAccess(const fs::path& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? FileAccess::Missing : FileAccess::ReadOnly;
    // Made read-only, it is so for a privileged user too, whom the system
    // would let write it all the same.
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return FileAccess::ReadOnly;
    // As the effective user, who is the one to open the files.
    const int wanted = S_ISDIR(info.st_mode) ? W_OK | X_OK : R_OK | W_OK;
    return ::faccessat(AT_FDCWD, path.c_str(), wanted, AT_EACCESS) == 0 ? FileAccess::Writable
                                                                          : FileAccess::ReadOnly;
}

SettingsEnvironment CurrentSettingsEnvironment()
{
    std::error_code error;
    fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error)
        program.clear();
    return {program, EnvironmentValue("PELLIMAR_CONFIG_DIR"),
            UserConfigFolder(EnvironmentValue("XDG_CONFIG_HOME"), HomeFolder())};
}

}  // namespace pellimar
