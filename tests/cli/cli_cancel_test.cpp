// pellimar-cli cancelled while it waits for input: Ctrl+C on a terminal and
// SIGINT or SIGTERM while an idle pipe sends nothing end the run at once,
// as any cancel does.
#include <fcntl.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "cli/cli_fixture.h"

namespace pellimar {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Far more than a cancel needs; a program that waits for data never gets
// there.
constexpr auto kExitLimit = 10s;

// Starts the program with standard input on `reading` (opened to be closed
// on exec, as every other descriptor of the test), its output and errors in
// the file named.
pid_t Start(const std::vector<std::string>& arguments, int reading, bool terminal, const std::string& errPath)
{
    std::vector<std::string> all{PELLIMAR_CLI_PATH};
    all.insert(all.end(), arguments.begin(), arguments.end());
    const pid_t child = fork();
    if (child != 0)
        return child;
    if (terminal) {
        // A session of its own whose controlling terminal is the one read,
        // so that Ctrl+C typed there reaches it.
        setsid();
        ioctl(reading, TIOCSCTTY, 0);
    }
    dup2(reading, STDIN_FILENO);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(err, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    std::vector<char*> argv;
    for (std::string& argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
}

// The exit status, or -1 when the program did not end within the limit
// (it is then killed).
int WaitForExit(pid_t child, Clock::duration limit)
{
    const Clock::time_point until = Clock::now() + limit;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (Clock::now() > until) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(5ms);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

class CliCancel : public testing::Cli {
protected:
    // Until the program has taken all that was sent and waits for more.
    static void WaitUntilDrained(int readingEnd)
    {
        for (int unread = 1, waited = 0; unread > 0 && waited < 5000; ++waited) {
            ioctl(readingEnd, FIONREAD, &unread);
            std::this_thread::sleep_for(1ms);
        }
        std::this_thread::sleep_for(100ms);
    }

    // The cancel ends the run quickly, with the usual message, and leaves
    // no output behind: none stood there, and none was written.
    void ExpectCancelledAtOnce(pid_t child, Clock::time_point signalled)
    {
        const int status = WaitForExit(child, kExitLimit);
        const auto took = Clock::now() - signalled;
        EXPECT_EQ(130, status);
        EXPECT_LT(took, kExitLimit);
        const std::string err = testing::ReadFileBytes(errPath);
        EXPECT_NE(std::string::npos, err.find("Operation Canceled. " + output + " was not written.")) << err;
        EXPECT_EQ(std::string::npos, err.find("error")) << err;
        EXPECT_FALSE(std::filesystem::exists(output));
        EXPECT_EQ((std::set<std::string>{"in.fff", "stderr"}), testing::FileNames(dir.Path()));
    }

    std::string errPath = dir.File("stderr");
};

TEST_F(CliCancel, SignalWhileAnIdlePipeSendsNothing)
{
    for (const int signal : {SIGINT, SIGTERM}) {
        int ends[2];
        ASSERT_EQ(0, pipe2(ends, O_CLOEXEC));
        const pid_t child = Start({"-r", "x", "-", output}, ends[0], false, errPath);
        // Part of a file, the pipe then left open: data may still come.
        ASSERT_EQ(10, write(ends[1], "<RD>Genesi", 10));
        WaitUntilDrained(ends[0]);
        const Clock::time_point signalled = Clock::now();
        kill(child, signal);
        ExpectCancelledAtOnce(child, signalled);
        close(ends[0]);
        close(ends[1]);
    }
}

TEST_F(CliCancel, CtrlCOnTheTerminalItReads)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_TRUE(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
    const int terminal = open(ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(terminal, 0);
    const pid_t child = Start({"-r", "x", "--no-progress", "-", output}, terminal, true, errPath);
    ASSERT_EQ(12, write(master, "<RD>Genesis\n", 12));
    WaitUntilDrained(terminal);
    const Clock::time_point signalled = Clock::now();
    ASSERT_EQ(1, write(master, "\x03", 1));
    ExpectCancelledAtOnce(child, signalled);
    close(terminal);
    close(master);
}

}  // namespace
}  // namespace pellimar
