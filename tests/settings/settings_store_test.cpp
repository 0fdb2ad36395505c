// Loading and saving all settings through the three files.
#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "streams/exceptions.h"
#include "support/expect_throw_msg.h"
#include "settings_store_fixture.h"
#include "support/temp_dir.h"
#include "write_failure.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::TempDir;
using testing::SettingsStoreTest;
using testing::WriteFileBytes;


TEST_F(SettingsStoreTest, FirstStartWithoutFilesGivesTheDefaults)
{
    const SettingsData loaded = LoadSettings(paths);
    EXPECT_EQ(SettingsData{}, loaded);
    EXPECT_TRUE(loaded.preferences.On(Preference::ShowProgMeter));
}

TEST_F(SettingsStoreTest, FirstSaveWritesTheOptionsAsZeroAndTwoEmptyPatternFiles)
{
    SettingsData defaults;
    SaveSettings(paths, defaults);
    EXPECT_EQ("[Options]\r\n" + PreferenceLines(defaults.preferences), Ini());
    EXPECT_EQ(std::string::npos, Ini().find("=1"));
    EXPECT_EQ("", ReadFileBytes(paths.pagePatterns));
    EXPECT_EQ("", ReadFileBytes(paths.refPatterns));
}

// The settings files of earlier versions hold these keys in this order, and
// a save keeps it; a later preference's key comes after them.
TEST_F(SettingsStoreTest, KeysOfEarlierFilesKeepTheirOrder)
{
    SaveSettings(paths, SettingsData{});
    EXPECT_TRUE(Ini().starts_with("[Options]\r\nSearch=0\r\nRemove=0\r\nNoProgMeter=0\r\nLeftJustOnly=0\r\nUseHR=0\r\n"
                                  "IDRecords=0\r\nReplaceReferences=0\r\nLineEndRecords=0\r\n"))
        << Ini();
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

TEST_F(SettingsStoreTest, OutputFolderOfCollectionsIsKeptWithTheOptions)
{
    SettingsData data;
    data.outputFolder = "/books/with refs";
    SaveSettings(paths, data);
    EXPECT_NE(std::string::npos, Ini().find(PreferenceLines(data.preferences) + "OutputFolder=/books/with refs\r\n"));
    EXPECT_EQ(data, LoadSettings(paths));
}

TEST_F(SettingsStoreTest, SaveOverAnExistingFileRewritesItsOwnPartsInOrderAndKeepsTheRest)
{
    WriteFileBytes(paths.iniFile, "; notes\r\n[Options]\r\nFFFViewer=/usr/bin/less\r\nUseHR=0\r\n"
                                  "[Mine]\r\nx=1\r\n[L1]\r\nOld=\r\n[InputFiles]\r\n/old.fff=\r\n");
    SaveSettings(paths, Sample());
    // UseHR keeps its place; the other keys follow the existing ones.
    const std::string useHR = "UseHR=1\r\n";
    std::string added = PreferenceLines(Sample().preferences);
    added.erase(added.find(useHR), useHR.size());
    EXPECT_EQ("; notes\r\n[Options]\r\nFFFViewer=/usr/bin/less\r\n" + useHR + added + "[Mine]\r\nx=1\r\n"
              "[L1]\r\nVolume=\r\nBook=\r\n[L7]\r\nVerse=\r\n"
              "[InputFiles]\r\n/data/new.fff=\r\n/data/old.fff=\r\n[OutputFiles]\r\n/data/out.fff=\r\n",
              Ini());
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

TEST_F(SettingsStoreTest, AwkwardEntriesSurviveASaveAndALoad)
{
    SettingsData data;
    data.levelHistories[0] = {"a=b", ";x", "[y]", " z ", "\"q\"", "%p=1", "say \"a=b\""};
    data.inputHistory = {"C:\\new\\in.fff", "/tmp/odd\nname.fff"};
    SaveSettings(paths, data);
    EXPECT_EQ(data, LoadSettings(paths));
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
        EXPECT_EQ(shown, LoadSettings(paths).preferences.On(Preference::ShowProgMeter)) << value;
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
    testing::FullDisk fullDisk;
    ExpectFailedSaveKeepsTheFiles();
}

}  // namespace
}  // namespace pellimar
