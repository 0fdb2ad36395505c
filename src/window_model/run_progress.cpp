// The window while a run lasts: its running state, the progress display and
// the starting-page question, as the pass calls on its host.
#include "window_model/run_controller.h"

#include "window_model/error_box.h"

namespace pellimar {

void RunController::EnterRunning()
{
    running_ = true;
    beginEnabled_ = true;
    view_.SetBeginCaption(kCancelCaption);
    view_.EnableBegin(true);
    if (preferences_.On(Preference::ShowProgMeter))
        view_.ShowGauge(true);
    ShowRunDisplay(true);
    view_.EnableRunControls(false);
    view_.ShowBusyCursor(true);
    view_.ShowTaskProgress(0);
}

void RunController::ProgressChanged(std::int32_t runPercent, std::int64_t)
{
    runPercent_ = runPercent;
    if (preferences_.On(Preference::ShowProgMeter))
        view_.SetGaugeProgress(runPercent);
    view_.ShowTaskProgress(runPercent);
    if (const std::optional<std::string> caption = collectionShown_.NewCaption())
        view_.SetCaption(*caption);
    UpdateTimeDisplay();
    view_.ProcessPendingEvents();
}

void RunController::LeaveRunning()
{
    view_.ShowBusyCursor(false);
    view_.SetBeginCaption(kBeginCaption);
    view_.EnableRunControls(true);
    view_.ShowGauge(false);
    ShowRunDisplay(false);
    view_.ShowTaskProgress(std::nullopt);
    if (collectionShown_.Active())
        view_.SetCaption(kApplicationTitle);
    collectionShown_.End();
    running_ = false;
    // The boxes may have been edited during the run, when the rule let the
    // button be.
    UpdateBeginButton();
}

// The time the question stays open is the user's, not the run's.
std::optional<std::string> RunController::AskStartingPage(const PagePrompt& prompt)
{
    const std::int64_t asked = services_.clock();
    std::optional<std::string> answer = services_.dialogs.InputBox(prompt.title, prompt.prompt, prompt.defaultText);
    timeDisplay_.LeaveOut(ElapsedMs(asked, services_.clock()));
    return answer;
}

void RunController::ShowRunDisplay(bool running)
{
    view_.SetTimeReadouts(kZeroClock, kZeroClock);
    view_.ShowTimeReadouts(running);
    if (running)
        timeDisplay_.Start(services_.clock());
}

void RunController::UpdateTimeDisplay()
{
    timeDisplay_.Update(services_.clock(), runPercent_);
    view_.SetTimeReadouts(timeDisplay_.ElapsedText(), timeDisplay_.RemainingText());
}

}  // namespace pellimar
