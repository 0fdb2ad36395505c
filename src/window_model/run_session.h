// The window while a pass lasts, whatever the pass is (a run, a preview, a
// collection): the running state, the Begin button that is the Cancel
// button meanwhile, the progress and time display, and the starting-page
// question, as the pass calls on its host. The window closed during a pass
// is handled here too, since the pass must stop first.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/run_host.h"
#include "run/collection.h"
#include "run/preferences.h"
#include "run/run_time.h"
#include "window_model/box_texts.h"
#include "window_model/collection_shown.h"
#include "window_model/dialogs.h"
#include "window_model/window_view.h"

namespace pellimar {

// Runs a pass (a conversion, a preview) with the given host; when unset,
// on the caller's thread.
using PassRunner = std::function<void(RunHost& host, const std::function<void(RunHost&)>& pass)>;

struct RunServices {
    Dialogs& dialogs;
    // Local time of day in milliseconds.
    std::function<std::int64_t()> clock;
    PassRunner runPass;
};

class RunSession : public RunHost {
public:
    RunSession(WindowView& view, RunServices services, const BoxTexts& boxes, const Preferences& preferences)
        : view_(view), services_(std::move(services)), boxes_(boxes), preferences_(preferences)
    {
    }

    // Runs a pass with this as its host; a cancel asked before it is
    // forgotten.
    void Run(const std::function<void(RunHost&)>& pass);
    // The same for a collection of these inputs, whose file under way the
    // caption names.
    void RunCollection(const std::vector<std::string>& inputs, const std::function<void(CollectionHost&)>& pass);

    // Asks the pass under way to stop before its next step.
    void RequestCancel() { cancelRequested_ = true; }
    // True when the window may close now; during a pass the pass is
    // cancelled and the window closes when it ends.
    bool CloseRequested();
    // The window was closed during the pass just ended; CloseIfPending
    // closes it now, after what the caller must still throw away.
    bool ClosePending() const { return closePending_; }
    bool CloseIfPending();

    // Begin is enabled exactly when the input, the output and the reference
    // pattern are filled and the output is not the input. While a run lasts
    // the button is its Cancel button and is left alone.
    void UpdateBeginButton();
    bool BeginEnabled() const { return beginEnabled_; }
    bool IsRunning() const { return running_; }
    std::int32_t RunPercent() const { return runPercent_; }

    // RunHost
    void EnterRunning() override;
    void ProgressChanged(std::int32_t runPercent, std::int64_t bytesConsumed) override;
    void LeaveRunning() override;
    std::optional<std::string> AskStartingPage(const PagePrompt& prompt) override;
    bool SwitchOn(RunSwitch runSwitch) const override { return preferences_.SwitchOn(runSwitch); }
    bool CancelRequested() const override { return cancelRequested_; }

private:
    void ShowRunDisplay(bool running);
    void UpdateTimeDisplay();

    WindowView& view_;
    RunServices services_;
    const BoxTexts& boxes_;
    const Preferences& preferences_;
    RunTimeDisplay timeDisplay_;
    CollectionShown collectionShown_;
    std::int32_t runPercent_ = 0;
    bool running_ = false;
    bool cancelRequested_ = false;
    bool closePending_ = false;
    bool beginEnabled_ = false;
};

}  // namespace pellimar
