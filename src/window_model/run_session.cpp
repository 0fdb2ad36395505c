// The window while a pass lasts.
#include "window_model/run_session.h"

#include "window_model/collection_pass_host.h"
#include "window_model/error_box.h"

namespace pellimar {

void RunSession::Run(const std::function<void(RunHost&)>& pass)
{
    cancelRequested_ = false;
    if (services_.runPass)
        services_.runPass(*this, pass);
    else
        pass(*this);
}

void RunSession::RunCollection(const std::vector<std::string>& inputs,
                               const std::function<void(CollectionHost&)>& pass)
{
    collectionShown_.Begin(inputs);
    Run([&](RunHost& host) {
        CollectionPassHost collectionHost(host, collectionShown_);
        pass(collectionHost);
    });
}

bool RunSession::CloseRequested()
{
    if (!running_)
        return true;
    cancelRequested_ = true;
    closePending_ = true;
    return false;
}

bool RunSession::CloseIfPending()
{
    if (!closePending_)
        return false;
    closePending_ = false;
    view_.CloseWindow();
    return true;
}

void RunSession::UpdateBeginButton()
{
    if (running_)
        return;
    const std::string input = boxes_.Shown(HistoryBox::InputFile);
    const std::string output = boxes_.Shown(HistoryBox::OutputFile);
    beginEnabled_ = !input.empty() && !output.empty() && output != input && !boxes_.Shown(HistoryBox::RefPattern).empty();
    view_.EnableBegin(beginEnabled_);
}

void RunSession::EnterRunning()
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

void RunSession::ProgressChanged(std::int32_t runPercent, std::int64_t)
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

void RunSession::LeaveRunning()
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
std::optional<std::string> RunSession::AskStartingPage(const PagePrompt& prompt)
{
    const std::int64_t asked = services_.clock();
    std::optional<std::string> answer = services_.dialogs.InputBox(prompt.title, prompt.prompt, prompt.defaultText);
    timeDisplay_.LeaveOut(ElapsedMs(asked, services_.clock()));
    return answer;
}

void RunSession::ShowRunDisplay(bool running)
{
    view_.SetTimeReadouts(kZeroClock, kZeroClock);
    view_.ShowTimeReadouts(running);
    if (running)
        timeDisplay_.Start(services_.clock());
}

void RunSession::UpdateTimeDisplay()
{
    timeDisplay_.Update(services_.clock(), runPercent_);
    view_.SetTimeReadouts(timeDisplay_.ElapsedText(), timeDisplay_.RemainingText());
}

}  // namespace pellimar
