// Whole-file writes through symbolic links, over hard-linked files, and of
// files that belong to someone else.
#include "settings/file_io.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "settings/ini_file.h"
#include "support/access_lists.h"
#include "support/root_powers.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::WriteFileBytes;

// While it lives, no file of this process can grow beyond `bytes`, which
// fails writes as a full disk does, also for root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limited{bytes, saved_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

class ReplaceFileContentsTest : public ::testing::Test {
protected:
    std::string File(const std::string& name) const { return dir.File(name); }

    testing::TempDir dir;
};

TEST_F(ReplaceFileContentsTest, ChainOfRelativeLinksIsWrittenThroughAndStays)
{
    fs::create_directories(dir.Path() / "dots" / "store");
    WriteFileBytes(File("dots/store/real.INI"), "old");
    fs::create_symlink("store/real.INI", File("dots/link.INI"));  // relative to dots/
    fs::create_symlink("dots/link.INI", File("pellimar.INI"));

    ASSERT_TRUE(ReplaceFileContents(File("pellimar.INI"), "new"));

    EXPECT_TRUE(fs::is_symlink(File("pellimar.INI")));
    EXPECT_TRUE(fs::is_symlink(File("dots/link.INI")));
    EXPECT_EQ("new", ReadFileBytes(File("dots/store/real.INI")));
}

TEST_F(ReplaceFileContentsTest, LinkToAFileNotYetThereCreatesItAndStays)
{
    fs::create_directory(dir.Path() / "dots");
    fs::create_symlink("dots/pellimar.INI", File("pellimar.INI"));

    ASSERT_TRUE(ReplaceFileContents(File("pellimar.INI"), "first"));

    EXPECT_TRUE(fs::is_symlink(File("pellimar.INI")));
    EXPECT_EQ("first", ReadFileBytes(File("dots/pellimar.INI")));
}

TEST_F(ReplaceFileContentsTest, EveryHardLinkSeesTheNewContent)
{
    WriteFileBytes(File("pellimar.INI"), "old content");
    fs::create_hard_link(File("pellimar.INI"), File("backup.INI"));

    ASSERT_TRUE(ReplaceFileContents(File("pellimar.INI"), "new"));

    EXPECT_EQ("new", ReadFileBytes(File("backup.INI")));
    EXPECT_TRUE(fs::equivalent(File("pellimar.INI"), File("backup.INI")));
}

TEST_F(ReplaceFileContentsTest, FailedRewriteOfAHardLinkedFileKeepsTheOldContent)
{
    const std::string old = "[Options]\r\nUseHR=1\r\n";
    WriteFileBytes(File("pellimar.INI"), old);
    fs::create_hard_link(File("pellimar.INI"), File("backup.INI"));
    {
        FileSizeLimit fullDisk(old.size() + 4);
        EXPECT_FALSE(ReplaceFileContents(File("pellimar.INI"), old + std::string(100, 'x')));
    }
    EXPECT_EQ(old, ReadFileBytes(File("backup.INI")));
}

TEST_F(ReplaceFileContentsTest, ReplacementKeepsTheOwnerAndTheMode)
{
    if (!testing::RunningAsRoot())
        GTEST_SKIP() << "only root can give a file to another user";
    WriteFileBytes(File("pellimar.INI"), "old");
    ASSERT_EQ(0, ::chown(File("pellimar.INI").c_str(), testing::kUnprivilegedId, testing::kUnprivilegedId));
    ASSERT_EQ(0, ::chmod(File("pellimar.INI").c_str(), 0640));

    ASSERT_TRUE(ReplaceFileContents(File("pellimar.INI"), "new"));

    struct stat info {};
    ASSERT_EQ(0, ::stat(File("pellimar.INI").c_str(), &info));
    EXPECT_EQ(testing::kUnprivilegedId, info.st_uid);
    EXPECT_EQ(testing::kUnprivilegedId, info.st_gid);
    EXPECT_EQ(0640u, info.st_mode & 07777);
    EXPECT_EQ("new", ReadFileBytes(File("pellimar.INI")));
}

TEST_F(ReplaceFileContentsTest, ReplacingKeepsTheFileModeAndFollowsASymbolicLink)
{
    const std::string target = File("real.INI");
    WriteFileBytes(target, "[Options]\r\n");
    ::chmod(target.c_str(), 0640);
    fs::create_symlink(target, File("Pellimar.INI"));
    TIniFile(File("Pellimar.INI")).WriteBool("Options", "Remove", true);
    EXPECT_TRUE(fs::is_symlink(File("Pellimar.INI")));
    EXPECT_EQ("[Options]\r\nRemove=1\r\n", ReadFileBytes(target));
    EXPECT_EQ(fs::perms(0640), fs::status(target).permissions());
}

// Made read-only, a file stays unchanged also for root, whom the system
// would let write it.
TEST_F(ReplaceFileContentsTest, FileMadeReadOnlyIsNeverChanged)
{
    WriteFileBytes(File("pellimar.INI"), "old");
    ASSERT_EQ(0, ::chmod(File("pellimar.INI").c_str(), 0444));
    EXPECT_FALSE(ReplaceFileContents(File("pellimar.INI"), "new"));
    EXPECT_EQ("old", ReadFileBytes(File("pellimar.INI")));
}

// No new file can take the place of a file bound over another (as
// containers have theirs): it is rewritten in place, and a failed rewrite
// puts the old bytes back.
TEST_F(ReplaceFileContentsTest, FileThatIsAMountPointIsRewrittenInPlace)
{
    WriteFileBytes(File("source.INI"), "old");
    WriteFileBytes(File("pellimar.INI"), "");
    const testing::BindMount bound(File("source.INI"), File("pellimar.INI"));
    if (!bound.Active())
        GTEST_SKIP() << "only root can bind a file over another";
    ASSERT_TRUE(ReplaceFileContents(File("pellimar.INI"), "new"));
    EXPECT_EQ("new", ReadFileBytes(File("source.INI")));
    {
        FileSizeLimit fullDisk(10);
        EXPECT_FALSE(ReplaceFileContents(File("pellimar.INI"), std::string(100, 'x')));
    }
    EXPECT_EQ("new", ReadFileBytes(File("source.INI")));
}

TEST_F(ReplaceFileContentsTest, NewFileGetsThePermissionsOfAnyNewFileThere)
{
    if (!testing::SetAttribute(dir.Path().string(), testing::kDefaultListAttribute, testing::SharingDefaultList()))
        GTEST_SKIP() << "this file system keeps no access control lists";
    const std::string plain = testing::CreatedPlainly(File("plain.INI"));
    ASSERT_TRUE(ReplaceFileContents(File("pellimar.INI"), "new"));
    EXPECT_EQ(fs::status(plain).permissions(), fs::status(File("pellimar.INI")).permissions());
    EXPECT_EQ(testing::Attribute(plain, testing::kAccessListAttribute),
              testing::Attribute(File("pellimar.INI"), testing::kAccessListAttribute));
}

}  // namespace
}  // namespace pellimar
