// The command line's system on POSIX: signals and a terminal.
#include <sys/ioctl.h>
#include <unistd.h>

#include <csignal>

#include "cli/console.h"

namespace pellimar::cli {
namespace {

volatile std::sig_atomic_t cancelSignalled = 0;
volatile std::sig_atomic_t terminalResized = 0;

extern "C" void OnCancelSignal(int)
{
    cancelSignalled = 1;
}

extern "C" void OnTerminalResize(int)
{
    terminalResized = 1;
}

}  // namespace

void InstallCancelHandler()
{
    struct sigaction action {};
    action.sa_handler = OnCancelSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // A closed terminal or a dropped connection stops the run as TERM does.
    sigaction(SIGHUP, &action, nullptr);
}

bool CancelSignalled()
{
    return cancelSignalled != 0;
}

bool StandardErrorIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}

std::optional<int> TerminalColumns()
{
    winsize size {};
    if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return std::nullopt;
}

void FollowTerminalResizes()
{
    struct sigaction action {};
    action.sa_handler = OnTerminalResize;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGWINCH, &action, nullptr);
}

bool TerminalResized()
{
    const bool resized = terminalResized != 0;
    terminalResized = 0;
    return resized;
}

void WriteToStandardError(std::string_view text)
{
    (void)!::write(STDERR_FILENO, text.data(), text.size());
}

bool NamesStandardOutput(const std::string& path)
{
    return path == "/dev/stdout" || path == "/dev/fd/1" || path == "/proc/self/fd/1";
}

}  // namespace pellimar::cli
