// Opening, exclusive access and write failures of files under text streams.
#include "streams/text_stream.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "streams/exceptions.h"
#include "support/expect_throw_msg.h"
#include "support/temp_dir.h"

namespace pellimar {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

class FileStreamTest : public ::testing::Test {
protected:
    FileStreamTest()
    {
        input = dir.File("input.fff");
        WriteFileBytes(input, "original bytes");
    }

    // Creating a stream on `path` while `input` is open for reading fails and
    // leaves the input as it was.
    void ExpectCreateRefused(const std::string& path)
    {
        TS_TextStream reading(input, fmOpenRead);
        EXPECT_THROW_MSG(TS_TextStream(path, fmCreate), EFCreateError, "Cannot create file " + path);
        EXPECT_EQ("original bytes", ReadFileBytes(input));
    }

    TempDir dir;
    std::string input;
};

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

TEST_F(FileStreamTest, PipeIsRefusedInsteadOfBlocking)
{
    const std::string path = dir.File("pipe");
    ASSERT_EQ(0, mkfifo(path.c_str(), 0600));
    EXPECT_THROW(TS_TextStream(path, fmOpenRead), EFOpenError);
    EXPECT_THROW(TS_TextStream(path, fmCreate), EFCreateError);
}

TEST_F(FileStreamTest, FileInAMissingFolderCannotBeCreated)
{
    const std::string path = dir.File("no/such/folder/out.fff");
    EXPECT_THROW_MSG(TS_TextStream(path, fmCreate), EFCreateError, "Cannot create file " + path);
}

TEST_F(FileStreamTest, SecondReaderOfTheSameFileIsRefused)
{
    TS_TextStream first(input, fmOpenRead);
    EXPECT_THROW_MSG(TS_TextStream(input, fmOpenRead), EFOpenError, "Cannot open file " + input);
}

TEST_F(FileStreamTest, OutputOnTheInputIsRefusedUnderEverySpelling)
{
    ExpectCreateRefused(input);

    const std::string symlink = dir.File("link.fff");
    std::filesystem::create_symlink(input, symlink);
    ExpectCreateRefused(symlink);

    const std::string hardlink = dir.File("hard.fff");
    std::filesystem::create_hard_link(input, hardlink);
    ExpectCreateRefused(hardlink);

    ExpectCreateRefused((dir.Path() / "." / "input.fff").string());
    ExpectCreateRefused((dir.Path() / ".." / dir.Path().filename() / "input.fff").string());
}

TEST_F(FileStreamTest, FileIsFreeAgainOnceTheStreamIsGone)
{
    { TS_TextStream reading(input, fmOpenRead); }
    TS_TextStream writing(input, fmCreate);
    writing.WriteStr("replaced");
    writing.Close();
    EXPECT_EQ("replaced", ReadFileBytes(input));
}

TEST_F(FileStreamTest, AnotherProgramsHoldKeepsTheFileUntouched)
{
    int ready[2];
    ASSERT_EQ(0, pipe(ready));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The child holds the file open, as another program would.
        TS_TextStream reading(input, fmOpenRead);
        const char opened = 'o';
        (void)!write(ready[1], &opened, 1);
        pause();
        _exit(0);
    }
    char opened = 0;
    ASSERT_EQ(1, read(ready[0], &opened, 1));
    EXPECT_THROW(TS_TextStream(input, fmCreate), EFCreateError);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_EQ("original bytes", ReadFileBytes(input));
}

// Runs `body` in a child whose file-size limit is `limit` bytes, with SIGXFSZ
// ignored so that writes past the limit fail instead of killing it. Returns
// the child's exit status.
template <typename Body>
int InChildWithFileSizeLimit(rlim_t limit, Body body)
{
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit rl{limit, limit};
        setrlimit(RLIMIT_FSIZE, &rl);
        int status = 99;
        try {
            status = body();
        } catch (...) {
        }
        _exit(status);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

TEST_F(FileStreamTest, FailedFinalFlushIsReportedByClose)
{
    const std::string path = dir.File("out.fff");
    const int status = InChildWithFileSizeLimit(100, [&] {
        try {
            TS_TextStream out(path, fmCreate);
            out.WriteStr(std::string(500, 'x'));
            out.Close();
            return 0;
        } catch (const EWriteError& error) {
            return std::string(error.what()) == "Stream write error" ? 1 : 2;
        }
    });
    EXPECT_EQ(1, status);
}

TEST_F(FileStreamTest, FailedWriteIsReportedWhileWriting)
{
    const std::string path = dir.File("out.fff");
    const int status = InChildWithFileSizeLimit(300000, [&] {
        try {
            TS_TextStream out(path, fmCreate);
            for (int i = 0; i < 1000000; ++i)
                out.WriteChar('y');
            return 0;
        } catch (const EWriteError&) {
            return 1;
        }
    });
    EXPECT_EQ(1, status);
}

TEST_F(FileStreamTest, EverythingWrittenBeforeAFailureIsInTheFile)
{
    const std::string path = dir.File("out.fff");
    const int status = InChildWithFileSizeLimit(300000, [&] {
        TS_TextStream out(path, fmCreate);
        for (int i = 0; i < 1000000; ++i)
            out.WriteChar(static_cast<std::uint8_t>('a' + i % 26));
        return 0;
    });
    EXPECT_EQ(99, status);  // the write error ended the child
    const std::string written = ReadFileBytes(path);
    ASSERT_EQ(300000u, written.size());
    for (std::size_t i = 0; i < written.size(); ++i)
        ASSERT_EQ(static_cast<char>('a' + i % 26), written[i]) << i;
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
    TS_TextStream out("/dev/null", fmCreate);
    out.WriteStr(std::string(20000, 'n'));
    EXPECT_NO_THROW(out.Close());
}

}  // namespace
}  // namespace pellimar
