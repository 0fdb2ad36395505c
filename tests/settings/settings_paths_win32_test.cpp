// Where the settings files are placed on Windows: the user's application-data
// folder, whatever its name.
#include "settings/settings_paths.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "settings/settings_store.h"
#include "streams/file_faults.h"
#include "streams/wide_names.h"
#include "support/temp_dir.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;

TEST(UserFolderTest, PellimarInAppDataElseInTheProfilesRoamingFolder)
{
    EXPECT_EQ(fs::path(L"C:\\Users\\Ann\\AppData\\Roaming\\Pellimar"),
              UserAppDataFolder(L"C:\\Users\\Ann\\AppData\\Roaming", L"C:\\Users\\Ann"));
    EXPECT_EQ(fs::path(L"C:\\Users\\Ann\\AppData\\Roaming\\Pellimar"), UserAppDataFolder(L"", L"C:\\Users\\Ann"));
}

// A user folder whose name the ANSI code page cannot spell: found, created,
// written and read back under that very name.
TEST(LocateSettingsFilesTest, TheUsersFolderFollowsAppDataUnderAnyName)
{
    testing::TempDir dir;
    const fs::path appData = dir.Path() / L"\u65e5\u672c \u0394";
    fs::create_directories(appData);
    const std::wstring saved = _wgetenv(L"APPDATA") != nullptr ? _wgetenv(L"APPDATA") : L"";
    _wputenv_s(L"APPDATA", appData.wstring().c_str());
    const fs::path userFolder = CurrentSettingsEnvironment().userFolder;
    _wputenv_s(L"APPDATA", saved.c_str());
    EXPECT_EQ(appData / L"Pellimar", userFolder);

    const SettingsPaths paths = LocateSettingsFilesFor({"", "", userFolder});
    EXPECT_EQ(NameOfPath(userFolder / L"pellimar.INI"), paths.iniFile);
    SettingsData data;
    data.levelHistories[0] = {"Book"};
    SaveSettings(paths, data);
    EXPECT_TRUE(fs::exists(userFolder / L"pellimar.INI"));
    EXPECT_EQ(data, LoadSettings(paths));
}

// The folder's probe is a file the file layer makes, so that a folder that
// refuses new files can be tried anywhere.
TEST(ProbeAccessTest, AFolderIsWritableOnlyWhenTheFileLayerMakesAFileThere)
{
    testing::TempDir dir;
    EXPECT_EQ(FileAccess::Writable, ProbeAccess(dir.Path()));
    ArmFileFault(FileCall::Open, ERROR_ACCESS_DENIED);
    EXPECT_EQ(FileAccess::ReadOnly, ProbeAccess(dir.Path()));
    DisarmFileFaults();
    EXPECT_TRUE(fs::is_empty(dir.Path()));
}

}  // namespace
}  // namespace pellimar
