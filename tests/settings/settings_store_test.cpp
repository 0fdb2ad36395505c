// Loading and saving all settings through the three files.
#include "settings/settings_store.h"

#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "streams/exceptions.h"
#include "support/expect_throw_msg.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"
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
        data.idRecords = true;
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
    // Lets the unprivileged user into the folder and gives it the files
    // (which, without root, are that user's already).
    void HandOverToTheUnprivilegedUser() const
    {
        ::chmod(dir.Path().c_str(), 0777);
        if (!testing::RunningAsRoot())
            return;
        for (const std::string& file : Files())
            ::chown(file.c_str(), testing::kUnprivilegedId, testing::kUnprivilegedId);
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

TEST_F(SettingsStoreTest, FirstSaveWritesTheOptionsAsZeroAndTwoEmptyPatternFiles)
{
    SettingsData defaults;
    SaveSettings(paths, defaults);
    EXPECT_EQ("[Options]\r\nSearch=0\r\nRemove=0\r\nNoProgMeter=0\r\nLeftJustOnly=0\r\nUseHR=0\r\nIDRecords=0\r\n",
              Ini());
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

TEST_F(SettingsStoreTest, SaveOverAnExistingFileRewritesItsOwnPartsInOrderAndKeepsTheRest)
{
    WriteFileBytes(paths.iniFile, "; notes\r\n[Options]\r\nFFFViewer=/usr/bin/less\r\nUseHR=0\r\n"
                                  "[Mine]\r\nx=1\r\n[L1]\r\nOld=\r\n[InputFiles]\r\n/old.fff=\r\n");
    SaveSettings(paths, Sample());
    EXPECT_EQ("; notes\r\n[Options]\r\nFFFViewer=/usr/bin/less\r\nUseHR=1\r\nSearch=1\r\nRemove=0\r\n"
              "NoProgMeter=1\r\nLeftJustOnly=0\r\nIDRecords=1\r\n[Mine]\r\nx=1\r\n"
              "[L1]\r\nVolume=\r\nBook=\r\n[L7]\r\nVerse=\r\n"
              "[InputFiles]\r\n/data/new.fff=\r\n/data/old.fff=\r\n[OutputFiles]\r\n/data/out.fff=\r\n",
              Ini());
}

// Counts the files renamed into a folder, by name, from its creation on:
// each atomic replacement of a file is one.
class RenameCounter {
public:
    explicit RenameCounter(const fs::path& folder) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        // With the renames' other halves in between, the kernel does not
        // merge the repeated renames to one name into a single event.
        ::inotify_add_watch(fd_, folder.c_str(), IN_MOVED_FROM | IN_MOVED_TO);
    }
    ~RenameCounter() { ::close(fd_); }
    RenameCounter(const RenameCounter&) = delete;
    RenameCounter& operator=(const RenameCounter&) = delete;

    // The renames since the last call.
    std::map<std::string, int> Take()
    {
        std::map<std::string, int> counts;
        alignas(inotify_event) char buffer[65536];
        ssize_t n;
        while ((n = ::read(fd_, buffer, sizeof buffer)) > 0) {
            for (const char* at = buffer; at < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                if ((event->mask & IN_MOVED_TO) != 0)
                    ++counts[event->name];
                at += sizeof(inotify_event) + event->len;
            }
        }
        return counts;
    }

private:
    int fd_;
};

TEST_F(SettingsStoreTest, SaveWritesEachFileOnceAndTheViewerPathAlone)
{
    SaveSettings(paths, Sample());
    RenameCounter renames(dir.Path());
    SaveSettings(paths, Changed());
    EXPECT_EQ((std::map<std::string, int>{{"Pellimar.INI", 1}, {"patterns.pag", 1}, {"patterns.ref", 1}}),
              renames.Take());
    SaveViewerPath(paths, "/usr/bin/less");
    EXPECT_EQ((std::map<std::string, int>{{"Pellimar.INI", 1}}), renames.Take());
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

}  // namespace
}  // namespace pellimar
