// The run's output file: written beside the output, put in place or thrown
// away, and what may not be replaced refused.
#include "streams/output_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "streams/exceptions.h"
#include "streams/file_names.h"
#include "streams/output_file_fixture.h"
#include "support/expect_throw_msg.h"

namespace pellimar {
namespace {

namespace fs = std::filesystem;
using testing::FileNames;
using testing::OutputFileTest;
using testing::ReadFileBytes;
using testing::WriteThrough;

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

TEST_F(OutputFileTest, TheInputUnderAnyNameIsRefusedBeforeAnythingIsWritten)
{
    TS_TextStream input(path, fmOpenRead);
    fs::create_hard_link(path, dir.File("hard.fff"));
    for (const std::string& name : {path, dir.File("hard.fff"), (dir.Path() / "." / "out.fff").string()})
        EXPECT_THROW_MSG(OutputFile{name}, EFCreateError, "Cannot create file " + name);
    EXPECT_EQ("earlier", ReadFileBytes(path));
    EXPECT_EQ((std::set<std::string>{"hard.fff", "out.fff"}), FileNames(dir.Path()));
}

TEST_F(OutputFileTest, FolderIsRefusedAndADeviceIsWrittenDirectlyAndLeftAlone)
{
    EXPECT_THROW_MSG(OutputFile{dir.Path().string()}, EFCreateError, "Cannot create file " + dir.Path().string());
    OutputFile device(kNullDevice);
    EXPECT_FALSE(device.WritesInPlace());
    WriteThrough(device, "new");
    EXPECT_TRUE(device.Discard());
    const NativeFile stillThere = NativeFile::OpenExistingForWriting(kNullDevice);
    ASSERT_TRUE(stillThere.IsOpen());
    EXPECT_EQ(FileKind::Device, stillThere.Facts()->kind);
}

}  // namespace
}  // namespace pellimar
