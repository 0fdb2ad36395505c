// The command line's run host.
#include "cli/cli_host.h"

#include <unistd.h>

#include <cstdio>

namespace pellimar::cli {
namespace {

volatile std::sig_atomic_t cancelSignalled = 0;

extern "C" void OnCancelSignal(int)
{
    cancelSignalled = 1;
}

}  // namespace

void InstallCancelHandler()
{
    struct sigaction action {};
    action.sa_handler = OnCancelSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

CliHost::CliHost(const Options& options, bool showProgress) : options_(options)
{
    if (showProgress)
        progress_.emplace(STDERR_FILENO);
}

void CliHost::EnterRunning()
{
    if (progress_) {
        FollowTerminalResizes();
        progress_->Start();
    }
}

void CliHost::ProgressChanged(std::int32_t runPercent, std::int64_t bytesConsumed)
{
    if (progress_)
        progress_->Show(runPercent, bytesConsumed);
}

void CliHost::LeaveRunning()
{
    if (progress_)
        progress_->Finish();
}

std::optional<std::string> CliHost::AskStartingPage(const PagePrompt&)
{
    return options_.startPage;
}

bool CliHost::CancelRequested() const
{
    return cancelSignalled != 0;
}

}  // namespace pellimar::cli
