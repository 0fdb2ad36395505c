// The command line's run host.
#include "cli/cli_host.h"

#include "cli/console.h"
#include "streams/output_file.h"
#include "streams/wide_names.h"

namespace pellimar::cli {

CliHost::CliHost(const Configuration& configuration, bool showProgress, std::vector<std::string> inputs)
    : configuration_(configuration), inputs_(std::move(inputs))
{
    if (showProgress)
        progress_.emplace();
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
    return std::to_string(configuration_.startPage);
}

void CliHost::FileStarted(std::size_t index)
{
    if (!progress_ || index >= inputs_.size())
        return;
    progress_->SetLabel(std::to_string(index + 1) + "/" + std::to_string(inputs_.size()) + " " +
                        NameOfPath(PathOfName(inputs_[index]).filename()));
}

bool CliHost::CancelRequested() const
{
    return CancelSignalled();
}

}  // namespace pellimar::cli
