// Where the settings files are placed.
#include "settings/settings_paths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <optional>
#include <ostream>

#include "settings/settings_store.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace pellimar {

void PrintTo(const SettingsFiles& files, std::ostream* out)
{
    *out << "{" << files.iniFile << ", " << files.pagePatterns << ", " << files.refPatterns << "}";
}

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
    // Beside /opt/pellimar/pellimar: the settings file and the folder as given.
    SettingsPaths Choose(FileAccess iniFile, FileAccess folder) const
    {
        return ChooseSettingsFiles(environment, [=](const fs::path& path) {
            if (path == "/opt/pellimar/pellimar.INI")
                return iniFile;
            EXPECT_EQ("/opt/pellimar", path);
            return folder;
        });
    }

    SettingsEnvironment environment{"/opt/pellimar/pellimar", "", "/home/ann/.cfg/pellimar"};
    const SettingsPaths beside = SettingsPathsIn("/opt/pellimar", "pellimar");
    const SettingsPaths inUserFolder = SettingsPathsIn("/home/ann/.cfg/pellimar", "pellimar");
};

TEST_F(SettingsFolderTest, FilesStayBesideTheProgramOnlyWhereTheyCanBeWritten)
{
    struct Case {
        FileAccess iniFile;
        FileAccess folder;
        bool besideTheProgram;
    };
    const std::vector<Case> cases = {
        {FileAccess::Writable, FileAccess::Writable, true}, {FileAccess::Writable, FileAccess::ReadOnly, true},
        {FileAccess::Missing, FileAccess::Writable, true},  {FileAccess::Missing, FileAccess::ReadOnly, false},
        {FileAccess::ReadOnly, FileAccess::Writable, false}, {FileAccess::ReadOnly, FileAccess::ReadOnly, false},
    };
    for (const Case& c : cases) {
        SettingsPaths expected = beside;
        if (!c.besideTheProgram) {
            expected = inUserFolder;
            expected.takenOver = beside;  // what stands beside the program
        }
        EXPECT_EQ(expected, Choose(c.iniFile, c.folder))
            << static_cast<int>(c.iniFile) << " " << static_cast<int>(c.folder);
    }
}

TEST(UserFolderTest, XdgConfigHomeWhenAbsoluteElseDotConfig)
{
    EXPECT_EQ("/x/cfg/pellimar", UserConfigFolder("/x/cfg", "/home/ann"));
    EXPECT_EQ("/home/ann/.config/pellimar", UserConfigFolder("relative/cfg", "/home/ann"));
    EXPECT_EQ("/home/ann/.config/pellimar", UserConfigFolder("", "/home/ann"));
}

TEST_F(SettingsFolderTest, InstalledProgramKeepsNothingBesideItselfEvenWhenWritable)
{
    const auto everythingWritable = [](const fs::path&) { return FileAccess::Writable; };
    for (const char* folder : {"/usr/bin", "/usr/local/bin", "/bin"}) {
        environment.program = fs::path(folder) / "pellimar";
        SettingsPaths expected = inUserFolder;
        expected.takenOver = SettingsPathsIn(folder, "pellimar");
        EXPECT_EQ(expected, ChooseSettingsFiles(environment, everythingWritable)) << folder;
    }
    environment.program = "/usrlocal/pellimar";
    EXPECT_EQ(SettingsPathsIn("/usrlocal", "pellimar"), ChooseSettingsFiles(environment, everythingWritable));
}

TEST_F(SettingsFolderTest, OverrideFolderWinsOverEverythingAndTakesNothingOver)
{
    environment.configDir = "/tmp/elsewhere";
    EXPECT_EQ(SettingsPathsIn("/tmp/elsewhere", "pellimar"), Choose(FileAccess::ReadOnly, FileAccess::ReadOnly));
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

// A read-only program folder whose settings file is read-only too, as an
// unprivileged user sees a copy in a shared folder: the first start reads
// those settings, the first save moves them to the user's folder (the
// viewer, which a save does not write, included), and the program's own
// files stay as they were.
TEST(LocateSettingsFilesTest, FirstStartTakesOverTheSettingsBesideAProgramItMayNotWrite)
{
    testing::TempDir dir;
    const fs::path app = dir.Path() / "app";
    fs::create_directories(app);
    const std::string programIni = (app / "pellimar.INI").string();
    const std::string stored = "[L1]\r\nBook=\r\n[Options]\r\nUseHR=1\r\nFFFViewer=/usr/bin/less\r\n";
    testing::WriteFileBytes(programIni, stored);
    testing::WriteFileBytes((app / "patterns.ref").string(), "1:#\r\n");
    ::chmod(programIni.c_str(), 0444);
    ::chmod(app.c_str(), 0555);
    fs::create_directory(dir.Path() / "home");
    ::chmod(dir.Path().c_str(), 0755);
    ::chmod((dir.Path() / "home").c_str(), 0777);
    const fs::path userFolder = dir.Path() / "home" / ".config" / "pellimar";
    const SettingsEnvironment environment{app / "pellimar", "", userFolder};

    EXPECT_TRUE(testing::RunUnprivileged([&] {
        const SettingsPaths paths = LocateSettingsFilesFor(environment);
        EXPECT_EQ((userFolder / "pellimar.INI").string(), paths.iniFile);
        SettingsData data = LoadSettings(paths);
        EXPECT_EQ((std::vector<std::string>{"Book"}), data.levelHistories[0]);
        EXPECT_EQ((std::vector<std::string>{"1:#"}), data.refPatternHistory);
        EXPECT_TRUE(data.preferences.On(Preference::UseHR));
        data.levelHistories[1] = {"Verse"};
        SaveSettings(paths, data);
        EXPECT_EQ(data, LoadSettings(LocateSettingsFilesFor(environment)));
    }));
    EXPECT_EQ(stored, testing::ReadFileBytes(programIni));
    EXPECT_NE(std::string::npos, testing::ReadFileBytes((userFolder / "pellimar.INI").string()).find("FFFViewer="));
}

// Made read-only, a settings file or folder is so for root too: the
// settings then go to root's own folder, as the guide advises.
TEST(SettingsAccessTest, FileOrFolderMadeReadOnlyIsReadOnlyForEveryone)
{
    testing::TempDir dir;
    const fs::path file = dir.Path() / "pellimar.INI";
    testing::WriteFileBytes(file.string(), "");
    const fs::path folder = dir.Path() / "app";
    fs::create_directory(folder);
    EXPECT_EQ(FileAccess::Writable, ProbeAccess(file));
    EXPECT_EQ(FileAccess::Writable, ProbeAccess(folder));
    ::chmod(file.c_str(), 0444);
    ::chmod(folder.c_str(), 0555);
    EXPECT_EQ(FileAccess::ReadOnly, ProbeAccess(file));
    EXPECT_EQ(FileAccess::ReadOnly, ProbeAccess(folder));
    EXPECT_EQ(FileAccess::Missing, ProbeAccess(dir.Path() / "none.INI"));
}

}  // namespace
}  // namespace pellimar
