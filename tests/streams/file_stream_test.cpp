// Opening, exclusive access and write failures of files under text streams.
#include "streams/text_stream.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "streams/exceptions.h"
#include "streams/file_names.h"
#include "streams/file_stream.h"
#include "streams/file_stream_fixture.h"
#include "support/expect_throw_msg.h"
#include "support/reason_of_failure.h"

namespace pellimar {
namespace {

using testing::FileStreamTest;
using testing::ReadFileBytes;
using testing::ReasonOfFailure;
using testing::WriteFileBytes;

TEST_F(FileStreamTest, MissingFileCannotBeOpened)
{
    const std::string path = dir.File("missing.fff");
    EXPECT_THROW_MSG(TS_TextStream(path, fmOpenRead), EFOpenError, "Cannot open file " + path);
}

TEST_F(FileStreamTest, FolderCannotBeOpenedOrCreated)
{
    const std::string path = dir.Path().string();
    EXPECT_THROW_MSG(TS_TextStream(path, fmOpenRead), EFOpenError, "Cannot open file " + path);
    EXPECT_THROW_MSG(TS_TextStream(path, fmCreate), EFCreateError, "Cannot create file " + path);
}

TEST_F(FileStreamTest, FileInAMissingFolderCannotBeCreated)
{
    const std::string path = dir.File("no/such/folder/out.fff");
    EXPECT_THROW_MSG(TS_TextStream(path, fmCreate), EFCreateError, "Cannot create file " + path);
}

// Two names of one input are two inputs that share their bytes: both are
// read at once, in one process, whatever the order of their reads.
TEST_F(FileStreamTest, TwoNamesOfOneFileAreReadAtOnce)
{
    const std::string hardlink = dir.File("hard.fff");
    std::filesystem::create_hard_link(input, hardlink);
    TS_TextStream first(input, fmOpenRead);
    TS_TextStream second(hardlink, fmOpenRead);
    TS_TextStream third(input, fmOpenRead);
    EXPECT_EQ('o', second.ReadChar());
    EXPECT_EQ("original bytes", first.ReadLine());
    EXPECT_EQ("riginal bytes", second.ReadLine());
    EXPECT_EQ("original bytes", third.ReadLine());
}

// While a stream of this program writes a file, no other may read it; once
// the writer is gone, readers share it again.
TEST_F(FileStreamTest, FileBeingWrittenIsRefusedToReaders)
{
    const std::string path = dir.File("out.fff");
    {
        TS_TextStream writing(path, fmCreate);
        EXPECT_EQ("this run is writing it", ReasonOfFailure([&] { TS_TextStream reading(path, fmOpenRead); }));
        EXPECT_EQ("this run is writing it", ReasonOfFailure([&] { TS_TextStream again(path, fmCreate); }));
    }
    TS_TextStream reading(path, fmOpenRead);
    EXPECT_EQ(kOutputIsInput, ReasonOfFailure([&] { TS_TextStream writing(path, fmCreate); }));
}

TEST_F(FileStreamTest, OutputOnTheInputIsRefusedUnderEverySpellingOfItsPath)
{
    ExpectCreateRefused(input);
    ExpectCreateRefused((dir.Path() / "." / "input.fff").string());
    ExpectCreateRefused((dir.Path() / ".." / dir.Path().filename() / "input.fff").string());
}

TEST_F(FileStreamTest, OutputOnTheInputIsRefusedThroughAHardLink)
{
    const std::string hardlink = dir.File("hard.fff");
    std::filesystem::create_hard_link(input, hardlink);
    ExpectCreateRefused(hardlink);
}

TEST_F(FileStreamTest, FileIsFreeAgainOnceTheStreamIsGone)
{
    { TS_TextStream reading(input, fmOpenRead); }
    TS_TextStream writing(input, fmCreate);
    writing.WriteStr("replaced");
    writing.Close();
    EXPECT_EQ("replaced", ReadFileBytes(input));
}

TEST_F(FileStreamTest, LargeFileReadsBackInOrderAcrossChunks)
{
    const std::string path = dir.File("big.fff");
    std::string text(1 << 20, '\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>(i * 131 % 251);
    {
        TS_TextStream out(path, fmCreate);
        out.WriteStr(text.substr(0, 100));
        for (std::size_t i = 100; i < 300000; ++i)
            out.WriteChar(static_cast<std::uint8_t>(text[i]));
        out.WriteStr(text.substr(300000));
        out.Close();
    }
    ASSERT_EQ(text, ReadFileBytes(path));
    TS_TextStream in(path, fmOpenRead);
    EXPECT_EQ(static_cast<std::int64_t>(text.size()), in.Size());
    std::string back;
    std::uint8_t ch;
    while (in.TryReadByte(ch)) {
        back += static_cast<char>(ch);
        if (back.size() == 500000) {
            EXPECT_EQ(500000, in.Position());
        }
    }
    EXPECT_EQ(text, back);
    EXPECT_TRUE(in.Eof());
}

// A small read leaves a chunk behind; a block read after it takes the rest
// of that chunk and then the file itself, and the blocks after that start
// where the file's data does rather than inside a chunk.
TEST_F(FileStreamTest, BlockReadsAfterASmallReadGiveTheFileInOrder)
{
    const std::string path = dir.File("blocks.fff");
    std::string text(3 * 256 * 1024 + 77, '\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<char>(i * 131 % 251);
    WriteFileBytes(path, text);
    TFileStream in(path, fmOpenRead);
    std::string back(text.size(), '\0');
    std::int64_t at = in.Read(back.data(), 10);
    while (const std::int64_t n = in.Read(back.data() + at, std::min<std::int64_t>(256 * 1024, text.size() - at)))
        at += n;
    EXPECT_EQ(static_cast<std::int64_t>(text.size()), at);
    EXPECT_EQ(text, back);
}

TEST_F(FileStreamTest, FileOpenForReadingRefusesWritesAtOnce)
{
    TS_TextStream reading(input, fmOpenRead);
    const std::string block(8192, 'w');
    EXPECT_THROW_MSG(reading.WriteBuffer(block.data(), 8192), EWriteError, "Stream write error");
    EXPECT_EQ("original bytes", ReadFileBytes(input));
}

TEST_F(FileStreamTest, EmptyWritePastTheEndLeavesTheSizeAlone)
{
    const std::string path = dir.File("out.fff");
    TFileStream file(path, fmCreate);
    EXPECT_EQ(3, file.Write("abc", 3));
    file.SetPosition(9);
    EXPECT_EQ(0, file.Write("", 0));
    EXPECT_EQ(3, file.Size());
    EXPECT_EQ(9, file.Position());
    EXPECT_TRUE(file.Close());
    EXPECT_EQ("abc", ReadFileBytes(path));
}

TEST_F(FileStreamTest, CloseTwiceAndDestroyAfterCloseAreHarmless)
{
    const std::string path = dir.File("out.fff");
    TS_TextStream out(path, fmCreate);
    out.WriteStr("abc");
    out.Close();
    out.Close();
    EXPECT_EQ("abc", ReadFileBytes(path));
}

TEST_F(FileStreamTest, OutputMayBeACharacterDevice)
{
    TS_TextStream out(kNullDevice, fmCreate);
    out.WriteStr(std::string(20000, 'n'));
    EXPECT_NO_THROW(out.Close());
}

}  // namespace
}  // namespace pellimar
