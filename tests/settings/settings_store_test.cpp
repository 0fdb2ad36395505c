// Loading and saving all settings through the three files.
#include "settings/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "streams/exceptions.h"
#include "support/expect_throw_msg.h"
#include "support/temp_dir.h"
#include "unprivileged.h"
#include "write_failure.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

class SettingsStoreTest : public ::testing::Test {
protected:
    static SettingsData Sample()
    {
        SettingsData data;
        data.levelHistories[0] = {"Volume", "Book"};
        data.levelHistories[6] = {"Verse"};
        data.inputHistory = {"/data/new.fff", "/data/old.fff"};
        data.outputHistory = {"/data/out.fff"};
        data.pagePatternHistory = {"[#]", "", "p. #"};
        data.refPatternHistory = {"1 2:#"};
        data.notSearched = true;
        data.showProgMeter = false;
        data.useHR = true;
        return data;
    }

    // Sample() with a change in each of the three files.
    static SettingsData Changed()
    {
        SettingsData data = Sample();
        data.levelHistories[3] = {"Chapter"};
        data.pagePatternHistory = {"p#"};
        data.refPatternHistory = {"2:#"};
        return data;
    }

    std::string Ini() const { return ReadFileBytes(paths.iniFile); }
    // In the order in which a save writes them.
    std::vector<std::string> Files() const { return {paths.iniFile, paths.refPatterns, paths.pagePatterns}; }
    std::vector<std::string> Contents() const
    {
        std::vector<std::string> contents;
        for (const std::string& file : Files())
            contents.push_back(ReadFileBytes(file));
        return contents;
    }
    // Lets the unprivileged user into the folder and gives it the files.
    void HandOverToTheUnprivilegedUser() const
    {
        ::chmod(dir.Path().c_str(), 0777);
        for (const std::string& file : Files()) {
            if (testing::RunningAsRoot())
                ::chown(file.c_str(), testing::kUnprivilegedId, testing::kUnprivilegedId);
        }
    }

    TempDir dir;
    SettingsPaths paths = SettingsPathsIn(dir.Path(), "/usr/bin/Pellimar");
};

TEST_F(SettingsStoreTest, FirstStartWithoutFilesGivesTheDefaults)
{
    const SettingsData loaded = LoadSettings(paths);
    EXPECT_EQ(SettingsData{}, loaded);
    EXPECT_TRUE(loaded.showProgMeter);
}

TEST_F(SettingsStoreTest, FirstSaveWritesTheFiveOptionsAsZeroAndTwoEmptyPatternFiles)
{
    SettingsData defaults;
    SaveSettings(paths, defaults);
    EXPECT_EQ("[Options]\r\nSearch=0\r\nRemove=0\r\nNoProgMeter=0\r\nLeftJustOnly=0\r\nUseHR=0\r\n", Ini());
    EXPECT_EQ("", ReadFileBytes(paths.pagePatterns));
    EXPECT_EQ("", ReadFileBytes(paths.refPatterns));
}

TEST_F(SettingsStoreTest, EverythingComesBackInItsOrderAndTheTopEntryIsFirst)
{
    SettingsData data = Sample();
    data.viewerPath = "/opt/viewer/" + std::string(3000, 'v');
    SaveViewerPath(paths, data.viewerPath);
    SaveSettings(paths, data);  // leaves the viewer path alone
    EXPECT_EQ(data, LoadSettings(paths));
    EXPECT_NE(std::string::npos, Ini().find("[L1]\r\nVolume=\r\nBook=\r\n"));
    EXPECT_EQ("[#]\r\n\r\np. #\r\n", ReadFileBytes(paths.pagePatterns));
}

TEST_F(SettingsStoreTest, HistoryLargerThan8192BytesSurvives)
{
    SettingsData data;
    // More names than a key list fetched through an 8192-byte buffer of
    // zero-terminated names could hold.
    std::size_t namesAndZeros = 0;
    for (int i = 0; namesAndZeros <= 8192; ++i) {
        data.inputHistory.push_back("/home/user/texts/file" + std::to_string(i) + ".fff");
        namesAndZeros += data.inputHistory.back().size() + 1;
    }
    SaveSettings(paths, data);
    EXPECT_EQ(data.inputHistory, LoadSettings(paths).inputHistory);
}

TEST_F(SettingsStoreTest, EmptiedHistoryLeavesNoSection)
{
    SaveSettings(paths, Sample());
    SettingsData emptied = Sample();
    emptied.levelHistories[0].clear();
    SaveSettings(paths, emptied);
    EXPECT_EQ(std::string::npos, Ini().find("[L1]"));
    EXPECT_TRUE(LoadSettings(paths).levelHistories[0].empty());
}

TEST_F(SettingsStoreTest, NoProgMeterTurnsTheMeterOffOnlyForANonZeroNumber)
{
    for (const auto& [value, shown] : {std::pair{"1", false}, {"0x0", true}, {"yes", true}}) {
        WriteFileBytes(paths.iniFile, std::string("[OPTIONS]\nnoprogmeter=") + value + "\n");
        EXPECT_EQ(shown, LoadSettings(paths).showProgMeter) << value;
    }
}

TEST_F(SettingsStoreTest, FailedIniWriteEndsTheSaveBeforeThePatternFiles)
{
    WriteFileBytes(dir.File("file"), "");
    paths.iniFile = dir.File("file") + "/Pellimar.INI";
    EXPECT_THROW_MSG(SaveSettings(paths, Sample()), Exception, "Unable to write to " + paths.iniFile);
    EXPECT_FALSE(fs::exists(paths.refPatterns));
    EXPECT_FALSE(fs::exists(paths.pagePatterns));
}

TEST_F(SettingsStoreTest, FailedReferencePatternFileLeavesThePagePatternFileUnwritten)
{
    WriteFileBytes(dir.File("file"), "");
    paths.refPatterns = dir.File("file") + "/patterns.ref";
    EXPECT_THROW_MSG(SaveSettings(paths, Sample()), EFCreateError, "Cannot create file " + paths.refPatterns);
    EXPECT_TRUE(fs::exists(paths.iniFile));
    EXPECT_FALSE(fs::exists(paths.pagePatterns));
}

// After a good save, a save that cannot write raises the INI message and
// every file keeps what the good save wrote.
class FailedSaveTest : public SettingsStoreTest {
protected:
    FailedSaveTest() { SaveSettings(paths, Sample()); }

    void ExpectFailedSaveKeepsTheFiles()
    {
        const std::string ini = Ini();
        const std::string pagePatterns = ReadFileBytes(paths.pagePatterns);
        SettingsData changed = Sample();
        changed.levelHistories[3] = {"Chapter"};
        changed.pagePatternHistory.clear();
        EXPECT_THROW_MSG(SaveSettings(paths, changed), Exception, "Unable to write to " + paths.iniFile);
        EXPECT_EQ(ini, Ini());
        EXPECT_EQ(pagePatterns, ReadFileBytes(paths.pagePatterns));
    }
};

TEST_F(FailedSaveTest, OnAFullDisk)
{
    testing::FileSizeLimit fullDisk(16);
    ExpectFailedSaveKeepsTheFiles();
}

// A file the user may not write, by its mode or by its owner, is never
// changed: the save stops there with that file's message, having written
// only the files before it (the INI file, then "patterns.ref", then
// "patterns.pag").
TEST_F(SettingsStoreTest, FileTheUserMayNotWriteIsNeverChanged)
{
    struct Case {
        std::size_t file;
        bool otherOwner;  // else read-only (0444)
        std::string message;
    };
    const std::vector<Case> cases = {
        {0, false, "Unable to write to "}, {0, true, "Unable to write to "},
        {1, false, "Cannot create file "}, {2, true, "Cannot create file "},
    };
    for (const Case& c : cases) {
        if (c.otherOwner && !testing::RunningAsRoot())
            continue;  // no other owner to give the file to
        SaveSettings(paths, Sample());
        HandOverToTheUnprivilegedUser();
        const std::string locked = Files()[c.file];
        if (c.otherOwner)
            ASSERT_EQ(0, ::chown(locked.c_str(), 0, 0));
        else
            ASSERT_EQ(0, ::chmod(locked.c_str(), 0444));
        const std::vector<std::string> before = Contents();

        EXPECT_TRUE(testing::RunUnprivileged([&] {
            EXPECT_THROW_MSG(SaveSettings(paths, Changed()), Exception, c.message + locked);
        })) << locked;

        const std::vector<std::string> after = Contents();
        for (std::size_t i = 0; i < after.size(); ++i)
            EXPECT_EQ(i >= c.file, before[i] == after[i]) << Files()[i] << " with " << locked << " locked";
        for (const std::string& file : Files())
            std::filesystem::remove(file);
    }
}

TEST_F(SettingsStoreTest, ReadOnlyFolderStillLetsItsWritableFilesBeUpdated)
{
    SaveSettings(paths, Sample());
    HandOverToTheUnprivilegedUser();
    ::chmod(dir.Path().c_str(), 0555);
    EXPECT_TRUE(testing::RunUnprivileged([&] { SaveSettings(paths, Changed()); }));
    EXPECT_EQ(Changed(), LoadSettings(paths));
}

// Logs every operation that reaches the file, then does it.
class LoggingIniFile : public TIniFile {
public:
    using TIniFile::TIniFile;

    std::string ReadString(std::string_view s, std::string_view k, std::string_view d) const override
    {
        Log("ReadString", s, k);
        return TIniFile::ReadString(s, k, d);
    }
    void WriteString(std::string_view s, std::string_view k, std::string_view v) override
    {
        Log("WriteString", s, k);
        TIniFile::WriteString(s, k, v);
    }
    void ReadSection(std::string_view s, std::vector<std::string>& keys) const override
    {
        Log("ReadSection", s, "");
        TIniFile::ReadSection(s, keys);
    }
    void EraseSection(std::string_view s) override
    {
        Log("EraseSection", s, "");
        TIniFile::EraseSection(s);
    }

    mutable std::vector<std::string> log;

private:
    void Log(std::string_view operation, std::string_view section, std::string_view key) const
    {
        std::string line(operation);
        line.append(" ").append(section);
        if (!key.empty())
            line.append("/").append(key);
        log.push_back(line);
    }
};

TEST_F(SettingsStoreTest, LoadReadsLevelsOptionsViewerThenFileHistories)
{
    const LoggingIniFile ini(paths.iniFile);
    SettingsData data;
    ReadIniSettings(ini, data);
    EXPECT_EQ((std::vector<std::string>{
                  "ReadSection L1", "ReadSection L2", "ReadSection L3", "ReadSection L4", "ReadSection L5",
                  "ReadSection L6", "ReadSection L7", "ReadString Options/Search", "ReadString Options/Remove",
                  "ReadString Options/NoProgMeter", "ReadString Options/LeftJustOnly", "ReadString Options/UseHR",
                  "ReadString Options/FFFViewer", "ReadSection InputFiles", "ReadSection OutputFiles"}),
              ini.log);
}

TEST_F(SettingsStoreTest, SaveRewritesLevelsThenOptionsThenFileHistories)
{
    LoggingIniFile ini(paths.iniFile);
    SettingsData data;
    data.levelHistories[1] = {"Part", "Section"};
    data.outputHistory = {"/x.fff"};
    WriteIniSettings(ini, data);
    EXPECT_EQ((std::vector<std::string>{
                  "EraseSection L1", "EraseSection L2", "WriteString L2/Part", "WriteString L2/Section",
                  "EraseSection L3", "EraseSection L4", "EraseSection L5", "EraseSection L6", "EraseSection L7",
                  "WriteString Options/Search", "WriteString Options/Remove", "WriteString Options/NoProgMeter",
                  "WriteString Options/LeftJustOnly", "WriteString Options/UseHR", "EraseSection InputFiles",
                  "EraseSection OutputFiles", "WriteString OutputFiles//x.fff"}),
              ini.log);
}

}  // namespace
}  // namespace pellimar
