// Files under text streams where POSIX has its own ways: pipes, symbolic
// links, other programs' locks and file-size limits.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "streams/file_stream_fixture.h"
#include "support/reason_of_failure.h"

namespace pellimar {
namespace {

using testing::FileStreamTest;
using testing::ReadFileBytes;
using testing::ReasonOfFailure;

// A pipe given by name is written into while a program reads it, and is
// refused while none does, since the writes would wait for ever.
TEST_F(FileStreamTest, PipeIsRefusedInsteadOfBlocking)
{
    const std::string path = dir.File("pipe");
    ASSERT_EQ(0, mkfifo(path.c_str(), 0600));
    EXPECT_THROW(TS_TextStream(path, fmOpenRead), EFOpenError);
    EXPECT_EQ("no program reads it", ReasonOfFailure([&] { TS_TextStream(path, fmCreate); }));
    const int reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    {
        TS_TextStream writing(path, fmCreate);
        writing.WriteStr("piped");
        writing.Close();
    }
    char got[8] = {};
    EXPECT_EQ(5, ::read(reader, got, sizeof got));
    EXPECT_EQ("piped", std::string(got));
    ::close(reader);
}

TEST_F(FileStreamTest, OutputOnTheInputIsRefusedThroughASymbolicLink)
{
    const std::string symlink = dir.File("link.fff");
    std::filesystem::create_symlink(input, symlink);
    ExpectCreateRefused(symlink);
}

// Another run reading the same book keeps writers out, not readers.
TEST_F(FileStreamTest, AnotherProgramReadingTheFileKeepsWritersOutAndLetsReadersIn)
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
    EXPECT_NO_THROW(TS_TextStream(input, fmOpenRead));
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

}  // namespace
}  // namespace pellimar
