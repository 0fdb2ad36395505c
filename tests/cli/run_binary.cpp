// Process spawning for end-to-end tests.
#include "cli/run_binary.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace pellimar::testing {

namespace {

struct Started {
    pid_t child;
    std::string outPath;
    std::string errPath;
};

Started Start(const TempDir& dir, const std::string& program, const std::vector<std::string>& arguments,
              rlim_t fileSizeLimit)
{
    const std::string outPath = dir.File("stdout");
    const std::string errPath = dir.File("stderr");
    std::vector<std::string> all{program};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int in = open("/dev/null", O_RDONLY);
        dup2(in, STDIN_FILENO);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        if (fileSizeLimit != 0) {
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    return {child, outPath, errPath};
}

ProgramRun Finish(const Started& started)
{
    int status = 0;
    waitpid(started.child, &status, 0);
    ProgramRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.out = ReadFileBytes(started.outPath);
    run.err = ReadFileBytes(started.errPath);
    return run;
}

}  // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments, rlim_t fileSizeLimit)
{
    TempDir dir;
    return Finish(Start(dir, program, arguments, fileSizeLimit));
}

ProgramRun RunProgramInterrupted(const std::string& program, const std::vector<std::string>& arguments,
                                 const std::function<bool()>& ready)
{
    TempDir dir;
    const Started started = Start(dir, program, arguments, 0);
    for (int waited = 0; waited < 10000 && !ready(); ++waited)
        usleep(1000);
    kill(started.child, SIGINT);
    return Finish(started);
}

}  // namespace pellimar::testing
