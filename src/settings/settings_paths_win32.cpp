// Where the settings live on Windows: the program's own path, the user's
// profile, and what the user may write.
#include <windows.h>

#include <cstdlib>

#include "settings/settings_paths.h"
#include "streams/fresh_file_win32.h"
#include "streams/native_file.h"
#include "streams/wide_names.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;

std::wstring EnvironmentValue(const wchar_t* name)
{
    const wchar_t* value = _wgetenv(name);
    return value != nullptr ? value : L"";
}

}  // namespace

FileAccess ProbeAccess(const fs::path& path)
{
    const DWORD attributes = GetFileAttributesW(path.wstring().c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? FileAccess::Missing : FileAccess::ReadOnly;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return FolderTakesNewFiles(path.wstring()) ? FileAccess::Writable : FileAccess::ReadOnly;
    return NativeFile::OpenExistingForUpdate(NameOfPath(path)).IsOpen() ? FileAccess::Writable
                                                                         : FileAccess::ReadOnly;
}

SettingsEnvironment CurrentSettingsEnvironment()
{
    std::wstring program(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size()));
        if (length == 0) {
            program.clear();
            break;
        }
        if (length < program.size()) {
            program.resize(length);
            break;
        }
        program.resize(program.size() * 2);
    }
    return {fs::path(program), NameOfWide(EnvironmentValue(L"PELLIMAR_CONFIG_DIR")),
            UserAppDataFolder(EnvironmentValue(L"APPDATA"), EnvironmentValue(L"USERPROFILE"))};
}

}  // namespace pellimar
