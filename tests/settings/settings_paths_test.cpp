// Where the settings files are placed.
#include "settings/settings_paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "support/temp_dir.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;

TEST(SettingsPathsTest, IniFileIsTheProgramNameWithIniAndThePatternFilesSitBesideIt)
{
    const SettingsPaths paths = SettingsPathsIn("/opt/tools", "/usr/bin/Pellimar.exe");
    EXPECT_EQ("/opt/tools/Pellimar.INI", paths.iniFile);
    EXPECT_EQ("/opt/tools/patterns.pag", paths.pagePatterns);
    EXPECT_EQ("/opt/tools/patterns.ref", paths.refPatterns);
    EXPECT_EQ("/d/pellimar.INI", SettingsPathsIn("/d", "/my.tools/pellimar").iniFile);
    EXPECT_EQ("/d/pellimar.INI", SettingsPathsIn("/d", "").iniFile);
}

class SettingsFolderTest : public ::testing::Test {
protected:
    fs::path Choose(bool programFolderWritable) const
    {
        return ChooseSettingsFolder(environment, [&](const fs::path& folder) {
            EXPECT_EQ("/opt/pellimar", folder);
            return programFolderWritable;
        });
    }

    SettingsEnvironment environment{"/opt/pellimar/pellimar", "", "/home/ann/.cfg", "/home/ann"};
};

TEST_F(SettingsFolderTest, WritableProgramFolderHoldsTheFiles)
{
    EXPECT_EQ("/opt/pellimar", Choose(true));
}

TEST_F(SettingsFolderTest, UnwritableProgramFolderSendsThemToTheUserConfigFolder)
{
    EXPECT_EQ("/home/ann/.cfg/pellimar", Choose(false));
    environment.xdgConfigHome = "relative/cfg";  // not absolute: ignored
    EXPECT_EQ("/home/ann/.config/pellimar", Choose(false));
    environment.xdgConfigHome = "";
    EXPECT_EQ("/home/ann/.config/pellimar", Choose(false));
}

TEST_F(SettingsFolderTest, InstalledProgramKeepsNothingBesideItselfEvenWhenWritable)
{
    for (const char* program : {"/usr/bin/pellimar", "/usr/local/bin/pellimar", "/bin/pellimar"}) {
        environment.program = program;
        EXPECT_EQ("/home/ann/.cfg/pellimar", ChooseSettingsFolder(environment, [](const fs::path&) { return true; }))
            << program;
    }
    environment.program = "/usrlocal/pellimar";
    EXPECT_EQ("/usrlocal", ChooseSettingsFolder(environment, [](const fs::path&) { return true; }));
}

TEST_F(SettingsFolderTest, OverrideFolderWinsOverEverything)
{
    environment.configDir = "/tmp/elsewhere";
    EXPECT_EQ("/tmp/elsewhere", ChooseSettingsFolder(environment, [](const fs::path&) { return true; }));
}

// Sets an environment variable for its lifetime.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : name_(name)
    {
        if (const char* saved = std::getenv(name))
            saved_ = saved;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable()
    {
        if (saved_)
            ::setenv(name_, saved_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> saved_;
};

TEST(LocateSettingsFilesTest, UsesTheOverrideFolderAndTheRunningProgramsName)
{
    testing::TempDir dir;
    const fs::path folder = dir.Path() / "config" / "pellimar";
    const ScopedVariable configDir("PELLIMAR_CONFIG_DIR", folder.string());

    const SettingsPaths paths = LocateSettingsFiles();

    EXPECT_EQ((folder / "settings_tests.INI").string(), paths.iniFile);
    EXPECT_EQ((folder / "patterns.ref").string(), paths.refPatterns);
    EXPECT_TRUE(fs::is_directory(folder));
}

}  // namespace
}  // namespace pellimar
