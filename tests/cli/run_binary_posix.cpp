// Process spawning for end-to-end tests (POSIX).
#include "cli/run_binary.h"

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

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
    _exit(127);
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
    return Finish(Start(dir, program, arguments, setup));
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
        _exit(127);
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
