// The command line's side of a run: progress on standard error, the fixed
// starting-page answer, the switches of the configuration, and Ctrl+C as
// cancel.
#pragma once

#include <optional>
#include <string>

#include "cli/configuration.h"
#include "cli/progress_bar.h"
#include "engine/run_host.h"

namespace pellimar::cli {

class CliHost : public RunHost {
public:
    CliHost(const Configuration& configuration, bool showProgress);

    void EnterRunning() override;
    void ProgressChanged(std::int32_t runPercent, std::int64_t bytesConsumed) override;
    void LeaveRunning() override;
    std::optional<std::string> AskStartingPage(const PagePrompt& prompt) override;
    bool SwitchOn(RunSwitch runSwitch) const override { return configuration_.preferences.SwitchOn(runSwitch); }
    bool CancelRequested() const override;

private:
    const Configuration& configuration_;
    std::optional<ProgressBar> progress_;
};

}  // namespace pellimar::cli
