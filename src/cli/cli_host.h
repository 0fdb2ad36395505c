// The command line's side of a run or a collection: progress on standard
// error, the fixed starting-page answer, the switches of the configuration,
// and Ctrl+C as cancel. Safe to ask from a collection's jobs.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "cli/configuration.h"
#include "cli/progress_bar.h"
#include "run/collection.h"

namespace pellimar::cli {

class CliHost : public CollectionHost {
public:
    CliHost(const Configuration& configuration, bool showProgress);

    void EnterRunning() override;
    void ProgressChanged(std::int32_t runPercent, std::int64_t bytesConsumed) override;
    void LeaveRunning() override;
    // The progress names the file: "3/12 book3.fff".
    void FileStarted(std::size_t index) override;
    // Hands the output over to `onOutputOpened`, and keeps whether it is
    // written in place.
    void OutputOpened(const OutputFile& output) override;
    std::optional<std::string> AskStartingPage(const PagePrompt& prompt) override;
    bool SwitchOn(RunSwitch runSwitch) const override { return configuration_.preferences.SwitchOn(runSwitch); }
    bool CancelRequested() const override;

    // True once the run has opened an output that it writes in place: from
    // then on, whatever ends the run, the file holds what was written.
    bool WritesInPlace() const { return writesInPlace_; }

    std::function<void(const OutputFile&)> onOutputOpened;

private:
    const Configuration& configuration_;
    std::optional<ProgressBar> progress_;
    bool writesInPlace_ = false;
};

}  // namespace pellimar::cli
