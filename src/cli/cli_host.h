// The command line's side of a run: progress on standard error, the fixed
// starting-page answer, the switches from the options, and Ctrl+C as cancel.
#pragma once

#include <optional>
#include <string>

#include "cli/options.h"
#include "cli/progress_bar.h"
#include "engine/run_host.h"

namespace pellimar::cli {

class CliHost : public RunHost {
public:
    CliHost(const Options& options, bool showProgress);

    void EnterRunning() override;
    void ProgressChanged(std::int32_t runPercent, std::int64_t bytesConsumed) override;
    void LeaveRunning() override;
    std::optional<std::string> AskStartingPage(const PagePrompt& prompt) override;
    bool LeftJustOnly() const override { return options_.leftJustOnly; }
    bool UseHR() const override { return options_.useHR; }
    bool IdRecords() const override { return options_.idRecords; }
    bool CancelRequested() const override;

private:
    const Options& options_;
    std::optional<ProgressBar> progress_;
};

}  // namespace pellimar::cli
