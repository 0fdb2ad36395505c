// The run's output where POSIX has its own ways: an earlier file others may
// still read, symbolic links and permission bits.
#include <gtest/gtest.h>

#include <filesystem>

#include "streams/output_file_fixture.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;
using testing::FileNames;
using testing::OutputFileTest;
using testing::ReadFileBytes;
using testing::WriteFileBytes;
using testing::WriteThrough;

// Readers that take no lock still see the earlier file during the run.
TEST_F(OutputFileTest, TheNameShowsTheEarlierFileUntilTheNewOneIsPutInPlace)
{
    OutputFile output(path);
    WriteThrough(output, "new");
    EXPECT_EQ("earlier", ReadFileBytes(path));
    output.PutInPlace();
    EXPECT_EQ("new", ReadFileBytes(path));
    EXPECT_EQ(std::set<std::string>{"out.fff"}, FileNames(dir.Path()));
}

TEST_F(OutputFileTest, LinkStaysALinkToItsReplacedTarget)
{
    fs::create_directory(dir.Path() / "real");
    const std::string target = dir.File("real/book.fff");
    WriteFileBytes(target, "earlier");
    fs::create_symlink("real/book.fff", dir.File("link.fff"));
    OutputFile output(dir.File("link.fff"));
    WriteThrough(output, "new");
    output.PutInPlace();
    EXPECT_TRUE(fs::is_symlink(dir.File("link.fff")));
    EXPECT_EQ("new", ReadFileBytes(target));
    EXPECT_EQ(std::set<std::string>{"book.fff"}, FileNames(dir.Path() / "real"));
}

TEST_F(OutputFileTest, ReplacedFileKeepsItsPermissionBits)
{
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(path, mode);
    OutputFile output(path);
    WriteThrough(output, "new");
    output.PutInPlace();
    EXPECT_EQ(mode, fs::status(path).permissions());
}

}  // namespace
}  // namespace pellimar
