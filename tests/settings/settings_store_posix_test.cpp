// The settings files where POSIX has its own ways: renames seen by the
// system, owners and modes, and a user without privileges.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "settings_store_fixture.h"
#include "streams/exceptions.h"
#include "support/expect_throw_msg.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;

class SettingsStorePosixTest : public testing::SettingsStoreTest {
protected:
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
};

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

TEST_F(SettingsStorePosixTest, SaveWritesEachFileOnceAndTheViewerPathAlone)
{
    SaveSettings(paths, Sample());
    RenameCounter renames(dir.Path());
    SaveSettings(paths, Changed());
    EXPECT_EQ((std::map<std::string, int>{{"Pellimar.INI", 1}, {"patterns.pag", 1}, {"patterns.ref", 1}}),
              renames.Take());
    SaveViewerPath(paths, "/usr/bin/less");
    EXPECT_EQ((std::map<std::string, int>{{"Pellimar.INI", 1}}), renames.Take());
}


// A file the user may not write, by its mode or by its owner, is never
// changed: the save stops there with that file's message, having written
// only the files before it (the INI file, then "patterns.ref", then
// "patterns.pag").
TEST_F(SettingsStorePosixTest, FileTheUserMayNotWriteIsNeverChanged)
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

TEST_F(SettingsStorePosixTest, ReadOnlyFolderStillLetsItsWritableFilesBeUpdated)
{
    SaveSettings(paths, Sample());
    HandOverToTheUnprivilegedUser();
    ::chmod(dir.Path().c_str(), 0555);
    EXPECT_TRUE(testing::RunUnprivileged([&] { SaveSettings(paths, Changed()); }));
    EXPECT_EQ(Changed(), LoadSettings(paths));
}

}  // namespace
}  // namespace pellimar
