// Process spawning for end-to-end tests (POSIX).
#include "cli/run_binary.h"

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "support/temp_dir.h"

namespace pellimar::testing {
namespace {

constexpr uid_t kNobody = 65534;

struct Started {
    pid_t child;
    std::string outPath;
    std::string errPath;
};

std::vector<char*> ArgumentVector(std::vector<std::string>& all)
{
    std::vector<char*> argv;
    for (std::string& argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    return argv;
}

// In the child, after a failed exec: why, on its standard error, which the
// test shows on failure (exit 127 alone says nothing).
[[noreturn]] void ExecFailed(const std::string& program)
{
    const std::string message = "cannot run " + program + ": " + ::strerror(errno) + "\n";
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, message.data(), message.size());
    _exit(127);
}

// In the child: its files and limits, then the program.
[[noreturn]] void Exec(const std::string& program, std::vector<std::string> all, const ProgramSetup& setup,
                       const std::string& outPath, const std::string& errPath)
{
    const int in = open(setup.input.c_str(), O_RDONLY);
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(in, STDIN_FILENO);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    if (setup.fileSizeLimit != 0) {
        const rlimit limit{setup.fileSizeLimit, setup.fileSizeLimit};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (setup.unprivileged && geteuid() == 0 &&
        (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))
        _exit(126);
    std::vector<char*> argv = ArgumentVector(all);
    execv(program.c_str(), argv.data());
    ExecFailed(program);
}

// "nobody" cannot reach a program in a checkout under a folder only root may
// enter (/root is 0700 on Debian): it runs a copy in the test's own folder,
// opened to every user.
std::string ProgramOthersCanRun(const TempDir& dir, const std::string& program)
{
    namespace fs = std::filesystem;
    const fs::path copy = dir.Path() / fs::path(program).filename();
    fs::copy_file(program, copy, fs::copy_options::overwrite_existing);
    const fs::perms everyoneRuns = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                   fs::perms::others_read | fs::perms::others_exec;
    fs::permissions(copy, everyoneRuns);
    fs::permissions(dir.Path(), everyoneRuns);
    return copy.string();
}

Started Start(const TempDir& dir, const std::string& program, const std::vector<std::string>& arguments,
              const ProgramSetup& setup)
{
    const std::string outPath = setup.output.empty() ? dir.File("stdout") : setup.output;
    const std::string errPath = dir.File("stderr");
    std::vector<std::string> all{program};
    all.insert(all.end(), arguments.begin(), arguments.end());
    const pid_t child = fork();
    if (child == 0)
        Exec(program, all, setup, outPath, errPath);
    return {child, setup.output.empty() ? outPath : std::string(), errPath};
}

ProgramRun Finish(const Started& started)
{
    int status = 0;
    waitpid(started.child, &status, 0);
    ProgramRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.out = started.outPath.empty() ? std::string() : ReadFileBytes(started.outPath);
    run.err = ReadFileBytes(started.errPath);
    return run;
}

}  // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const ProgramSetup& setup)
{
    TempDir dir;
    const bool dropsRoot = setup.unprivileged && geteuid() == 0;
    const std::string runnable = dropsRoot ? ProgramOthersCanRun(dir, program) : program;
    return Finish(Start(dir, runnable, arguments, setup));
}

ProgramRun RunProgramInterrupted(const std::string& program, const std::vector<std::string>& arguments,
                                 const std::function<bool(long)>& ready, int signal)
{
    TempDir dir;
    const Started started = Start(dir, program, arguments, {});
    for (int waited = 0; waited < 10000 && !ready(started.child); ++waited)
        usleep(1000);
    kill(started.child, signal);
    return Finish(started);
}

// The system shows such a file as "<folder>/#<inode> (deleted)".
bool HoldsUnnamedFileIn(long process, const std::string& folder)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/" + std::to_string(process) + "/fd", error)) {
        const std::string target = std::filesystem::read_symlink(entry.path(), error).string();
        if (target.starts_with(folder + "/#") && target.ends_with(" (deleted)"))
            return true;
    }
    return false;
}

std::string RunProgramOnTerminal(const std::string& program, const std::vector<std::string>& arguments, int columns)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        return "no terminal";
    const std::string terminal = ptsname(master);
    std::vector<std::string> all{program};
    all.insert(all.end(), arguments.begin(), arguments.end());
    const pid_t child = fork();
    if (child == 0) {
        setsid();
        const int slave = open(terminal.c_str(), O_RDWR);
        const winsize size{24, static_cast<unsigned short>(columns), 0, 0};
        ioctl(slave, TIOCSWINSZ, &size);
        dup2(slave, STDOUT_FILENO);
        dup2(slave, STDERR_FILENO);
        std::vector<char*> argv = ArgumentVector(all);
        execv(program.c_str(), argv.data());
        ExecFailed(program);
    }
    std::string received;
    char chunk[4096];
    for (ssize_t n; (n = read(master, chunk, sizeof chunk)) > 0;)
        received.append(chunk, static_cast<std::size_t>(n));
    waitpid(child, nullptr, 0);
    close(master);
    return received;
}

}  // namespace pellimar::testing
