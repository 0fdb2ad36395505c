// An input leased against other programs' writers while a run reads it: a
// writer before the run refuses it, a writer during the run fails it
// without being kept waiting, and what changes no byte (a new link, a new
// mode) fails nothing. Without a lease the file's times still tell.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "engine/conversion.h"
#include "engine/run_frame.h"
#include "engine/scripted_host.h"
#include "streams/file_faults.h"
#include "streams/file_stream.h"
#include "support/temp_dir.h"

namespace pellimar {
namespace {

using Clock = std::chrono::steady_clock;

// A second program that opens `path` for writing and keeps it open until it
// is ended; back once it has opened it.
class Writer {
public:
    explicit Writer(const std::string& path)
    {
        int opened[2];
        EXPECT_EQ(0, ::pipe(opened));
        child_ = ::fork();
        if (child_ == 0) {
            const int fd = ::open(path.c_str(), O_WRONLY);
            (void)!::write(opened[1], &fd, sizeof fd);
            ::pause();
            ::_exit(0);
        }
        int fd = -1;
        EXPECT_EQ(static_cast<ssize_t>(sizeof fd), ::read(opened[0], &fd, sizeof fd));
        EXPECT_GE(fd, 0);
        ::close(opened[0]);
        ::close(opened[1]);
    }
    ~Writer()
    {
        ::kill(child_, SIGKILL);
        ::waitpid(child_, nullptr, 0);
    }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

private:
    pid_t child_ = -1;
};

class InputLease : public ::testing::Test {
protected:
    InputLease()
    {
        settings.refPattern = "1";
        settings.levelTexts[0] = "Book";
        settings.inputPath = dir.File("in.fff");
        settings.outputPath = dir.File("out.fff");
        std::string input = "<RD:Book>B\r\n";
        while (input.size() < 1'000'000)
            input += "<RD>" + std::to_string(input.size()) + " text of the record\r\n";
        testing::WriteFileBytes(settings.inputPath, input);
        testing::WriteFileBytes(settings.outputPath, "earlier");
    }
    ~InputLease() override { DisarmFileFaults(); }

    // `during` runs once, half way through the run; the run's failure, or
    // nothing when it converted.
    std::string Converting(const std::function<void()>& during = [] {})
    {
        host.onProgress = [&, done = false](std::int32_t percent) mutable {
            if (percent >= 50 && !done) {
                done = true;
                during();
            }
        };
        try {
            LevelLists levels;
            RunConversion(settings, host, levels);
        } catch (const Exception& error) {
            return std::string(error.what()) + (error.Reason().empty() ? "" : ": " + error.Reason());
        }
        return {};
    }

    testing::TempDir dir;
    RunSettings settings;
    testing::ScriptedHost host;
};

TEST_F(InputLease, InputAnotherProgramWritesIsRefusedBeforeAnythingIsWritten)
{
    const Writer writer(settings.inputPath);
    EXPECT_EQ("Cannot open file " + settings.inputPath + ": " + kOpenForWritingElsewhere, Converting());
    EXPECT_EQ("earlier", testing::ReadFileBytes(settings.outputPath));
}

// The kernel would keep the writer waiting until it broke the lease itself,
// 45 seconds later by default; the run lets go at once.
TEST_F(InputLease, WriterDuringTheRunFailsItAndWaitsForNothing)
{
    Clock::duration waited{};
    const std::string failure = Converting([&] {
        const Clock::time_point start = Clock::now();
        const Writer writer(settings.inputPath);
        waited = Clock::now() - start;
    });
    EXPECT_EQ(settings.inputPath + " changed while it was being read; " + settings.outputPath + " was left as it was",
              failure);
    EXPECT_LT(waited, std::chrono::seconds(10));
    EXPECT_EQ("earlier", testing::ReadFileBytes(settings.outputPath));
}

// Under a lease a new link or mode is no change of the input; without one,
// only the file's times can tell, and they do not tell those apart.
TEST_F(InputLease, NewLinkOrModeChangesTheInputOnlyWithoutALease)
{
    for (const bool leased : {true, false}) {
        SCOPED_TRACE(leased ? "leased" : "no lease to be had");
        for (const auto& change : std::vector<std::function<void()>>{
                 [&] { std::filesystem::create_hard_link(settings.inputPath, dir.File("backup.fff")); },
                 [&] { ::chmod(settings.inputPath.c_str(), 0600); }}) {
            std::filesystem::remove(dir.File("backup.fff"));
            testing::WriteFileBytes(settings.outputPath, "earlier");
            if (!leased)
                ArmFileFault(FileCall::Lease, EACCES, 0, 1000);
            const std::string failure = Converting(change);
            DisarmFileFaults();
            if (leased) {
                EXPECT_EQ("", failure);
                EXPECT_NE(std::string::npos, testing::ReadFileBytes(settings.outputPath).find("<CS:Reference>B"));
            } else {
                EXPECT_EQ(settings.inputPath + " changed while it was being read; " + settings.outputPath +
                              " was left as it was",
                          failure);
            }
        }
    }
}

}  // namespace
}  // namespace pellimar
