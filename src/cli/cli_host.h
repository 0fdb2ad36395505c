// The command line's side of a run or a collection: progress on standard
// error, the fixed starting-page answer, the switches of the configuration,
// and Ctrl+C as cancel. Safe to ask from a collection's jobs.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/configuration.h"
#include "cli/progress_bar.h"
#include "run/collection.h"

namespace pellimar::cli {

class CliHost : public CollectionHost {
public:
    // `inputs`: the files of a collection, which the progress names.
    CliHost(const Configuration& configuration, bool showProgress, std::vector<std::string> inputs = {});

    void EnterRunning() override;
    void ProgressChanged(std::int32_t runPercent, std::int64_t bytesConsumed) override;
    void LeaveRunning() override;
    // The progress names the file: "3/12 book3.fff".
    void FileStarted(std::size_t index) override;
    std::optional<std::string> AskStartingPage(const PagePrompt& prompt) override;
    bool SwitchOn(RunSwitch runSwitch) const override { return configuration_.preferences.SwitchOn(runSwitch); }
    bool CancelRequested() const override;

private:
    const Configuration& configuration_;
    std::optional<ProgressBar> progress_;
    std::vector<std::string> inputs_;
};

}  // namespace pellimar::cli
