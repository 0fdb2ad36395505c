// The run's output file: written beside the output, put in place or thrown
// away, links and permission bits kept, and what may not be replaced refused.
#include "streams/output_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "streams/exceptions.h"
#include "streams/text_stream.h"
#include "support/expect_throw_msg.h"
#include "support/temp_dir.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;
using testing::FileNames;
using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

void WriteThrough(OutputFile& output, const std::string& bytes)
{
    std::unique_ptr<TS_TextStream> stream = output.CreateStream();
    stream->WriteStr(bytes);
    stream->Close();
}

class OutputFileTest : public ::testing::Test {
protected:
    OutputFileTest() { WriteFileBytes(path, "earlier"); }

    TempDir dir;
    std::string path = dir.File("out.fff");
};

TEST_F(OutputFileTest, TheNameShowsTheEarlierFileUntilTheNewOneIsPutInPlace)
{
    OutputFile output(path);
    WriteThrough(output, "new");
    EXPECT_EQ("earlier", ReadFileBytes(path));
    output.PutInPlace();
    EXPECT_EQ("new", ReadFileBytes(path));
    EXPECT_EQ(std::set<std::string>{"out.fff"}, FileNames(dir.Path()));
}

TEST_F(OutputFileTest, DiscardingOrDroppingLeavesTheEarlierFileAndNothingElse)
{
    {
        OutputFile output(path);
        WriteThrough(output, "new");
        output.Discard();
    }
    {
        OutputFile output(path);
        WriteThrough(output, "new");
    }
    EXPECT_EQ("earlier", ReadFileBytes(path));
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

TEST_F(OutputFileTest, TheInputUnderAnyNameIsRefusedBeforeAnythingIsWritten)
{
    TS_TextStream input(path, fmOpenRead);
    fs::create_hard_link(path, dir.File("hard.fff"));
    for (const std::string& name : {path, dir.File("hard.fff"), (dir.Path() / "." / "out.fff").string()})
        EXPECT_THROW_MSG(OutputFile{name}, EFCreateError, "Cannot create file " + name);
    EXPECT_EQ("earlier", ReadFileBytes(path));
    EXPECT_EQ((std::set<std::string>{"hard.fff", "out.fff"}), FileNames(dir.Path()));
}

TEST_F(OutputFileTest, FolderIsRefusedAndADeviceIsWrittenInPlace)
{
    EXPECT_THROW_MSG(OutputFile{dir.Path().string()}, EFCreateError, "Cannot create file " + dir.Path().string());
    OutputFile device("/dev/null");
    EXPECT_TRUE(device.WritesInPlace());
    WriteThrough(device, "new");
    device.Discard();
    EXPECT_TRUE(fs::exists("/dev/null"));
}

}  // namespace
}  // namespace pellimar
