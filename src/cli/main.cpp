// pellimar-cli: the conversion from the command line.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <string>
#include <vector>

#include "cli/run_cli.h"

namespace {

// Started without standard input, output or error, the program would hand
// their numbers to the files it opens, and the progress bar or a message
// would be written into the output. /dev/null takes each missing one, opened
// the other way round, so that using it fails as on a closed descriptor.
bool TakeMissingStandardDescriptors()
{
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        if (::open("/dev/null", (fd == STDIN_FILENO ? O_WRONLY : O_RDONLY) | O_NOCTTY) != fd)
            return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!TakeMissingStandardDescriptors())
        return pellimar::cli::kExitError;
    // A write past a file-size limit must fail as a write error, not kill us
    // with the output half written and nothing said.
    std::signal(SIGXFSZ, SIG_IGN);
    return pellimar::cli::RunCli(std::vector<std::string>(argv, argv + argc));
}
