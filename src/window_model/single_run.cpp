// One file's run and preview.
#include "window_model/single_run.h"

#include <utility>

#include "engine/preview.h"
#include "run/level_notes.h"
#include "run/plan_checks.h"
#include "run/run_checks.h"
#include "run/run_summary.h"
#include "streams/output_file.h"
#include "window_model/error_box.h"
#include "window_model/output_replacement.h"
#include "window_model/screen_text.h"
#include "window_model/window_run_settings.h"

namespace pellimar {
namespace {

// A preview that stopped short of its count has found every reference.
std::string PreviewHeading(std::size_t count)
{
    if (count == 0)
        return "The run would make no reference.";
    if (count == 1)
        return "The run would make one reference:";
    if (count < kPreviewCount)
        return "The run would make " + std::to_string(count) + " references:";
    return "The first " + std::to_string(count) + " references the run would make:";
}

// The references as the screen shows the file's text.
std::vector<PreviewReference> ScreenReferences(std::vector<PreviewReference> references)
{
    for (PreviewReference& reference : references) {
        reference.text = ScreenTextFromFile(reference.text);
        reference.recordStart = ScreenTextFromFile(reference.recordStart);
    }
    return references;
}

// The levels the level records read name, with their counts and first
// headings; a preview that stopped early read only part of the file.
std::string LevelsShown(const LevelCensus& seen, bool whole)
{
    const std::vector<std::string> lines = LevelLines(seen);
    if (lines.empty())
        return whole ? "This file has no level records." : "The part of the file read has no level records.";
    std::string text = whole ? "Level records of this file:" : "Level records in the part of the file read:";
    for (const std::string& line : lines)
        text += "\r" + line;
    return ScreenTextFromFile(text);
}

}  // namespace

void SingleRun::BeginOrCancel()
{
    if (session_.IsRunning()) {
        session_.RequestCancel();
        return;
    }
    // An error from the pass reaches the general error handler, and no end
    // dialogue is shown.
    Guarded(dialogs_, [this] {
        const std::string input = boxes_.Shown(HistoryBox::InputFile);
        std::optional<RunPlan> plan =
            WindowPlan(RunMode::Convert, {{input, boxes_.Shown(HistoryBox::OutputFile)}}, Parts());
        if (!plan || !PassesChecks(*plan) || !ConfirmOverwrite())
            return;
        // The overwrite question may have chosen another output. A file the
        // user did not agree to replace, one that appears during the run,
        // is left alone.
        plan->files[0].output = boxes_.Shown(HistoryBox::OutputFile);
        plan->replaceExisting = OutputExists(plan->files[0].output);
        RunAndReport(*plan);
    });
}

WindowRunParts SingleRun::Parts() const
{
    return {boxes_, view_, preferences_, levelNames_, dialogs_};
}

// The first problem, as a run would have stopped at it: the input's and the
// patterns' in a message box, the output's as the run's own errors. The
// user's own input is never offered for overwriting.
bool SingleRun::PassesChecks(const RunPlan& plan)
{
    const std::vector<PlanProblem> problems = CheckPlan(plan);
    if (problems.empty())
        return true;
    const PlanProblem& first = problems.front();
    const bool ofInputs = first.failure != RunCheckFailure::None && first.failure != RunCheckFailure::OutputIsDevice &&
                          first.failure != RunCheckFailure::OutputIsFolder;
    if (ofInputs)
        dialogs_.ShowMessage(MessageKind::Error, ProblemText(first), MessageButtons::Ok);
    else
        dialogs_.ShowErrorBox(kApplicationTitle, ProblemText(first));
    return false;
}

bool SingleRun::ConfirmOverwrite()
{
    const std::string path = boxes_.Shown(HistoryBox::OutputFile);
    if (!OutputExists(path))
        return true;
    const MessageAnswer answer = dialogs_.ShowMessageWithNote(
        MessageKind::Warning, "Output File Exists.  Overwrite?", WhatReplacingLoses(path), MessageButtons::YesNoCancel);
    if (answer == MessageAnswer::Yes)
        return true;
    if (answer != MessageAnswer::No)
        return false;
    const std::optional<std::string> chosen = choices_.NewOutput(path);
    if (!chosen)
        return false;
    boxes_.Show(HistoryBox::OutputFile, *chosen);
    return true;
}

void SingleRun::RunAndReport(const RunPlan& plan)
{
    RunReport report = RunInWindow(session_, plan);
    FileOutcome& outcome = report.Outcome(0);
    if (session_.ClosePending()) {
        // The window was closed during the run: nobody is left to ask, so
        // the partial output is thrown away and an earlier file stays.
        if (outcome.result.partialOutput)
            outcome.result.partialOutput->Discard();
        session_.CloseIfPending();
        return;
    }
    switch (outcome.state) {
        case FileOutcome::State::Failed:
            dialogs_.ShowErrorBox(kApplicationTitle, FailureText(outcome, plan.files[0].input));
            break;
        case FileOutcome::State::Cancelled:
            ShowCancelled(outcome.result);
            break;
        case FileOutcome::State::NotRun:
            break;  // cancelled before it began: nothing was written
        case FileOutcome::State::Converted:
            ShowRunEnd(report);
            break;
    }
}

void SingleRun::ShowCancelled(RunResult& result)
{
    const MessageAnswer answer = dialogs_.ShowMessage(MessageKind::Confirm, "Operation Canceled.\rDelete output file?",
                                                      MessageButtons::YesNo);
    // Yes leaves a file that stood under the output's name as it was; No
    // keeps the partial output under that name.
    if (answer != MessageAnswer::Yes)
        result.partialOutput->PutInPlace();
    else if (!result.partialOutput->Discard())
        ReportFailedRemoval(dialogs_, result.partialOutput->Path());
}

// The question stays the last line, right above Yes and No; the notes go
// between it and the summary.
void SingleRun::ShowRunEnd(const RunReport& report)
{
    const RunResult& result = report.Outcome(0).result;
    std::string text =
        RunSummary(report.Plan().settings.earlierReferences, result.refCount, result.EarlierReferences()) + "\r";
    const std::vector<std::string> notes = WindowNotes(report, 0);
    for (const std::string& note : notes)
        text += "\r" + note + "\r";
    if (!notes.empty())
        text += "\r";
    if (dialogs_.ShowMessage(MessageKind::Confirm, text + "View output file?", MessageButtons::YesNo) ==
        MessageAnswer::Yes)
        viewer_.Launch(report.File(0).output);
}

// The texts a preview reads go into their boxes' histories, as leaving each
// box would put them there. It makes the checks of Begin but those of the
// output.
void SingleRun::Preview()
{
    if (session_.IsRunning())
        return;
    Guarded(dialogs_, [this] {
        for (int i = 0; i < kHistoryBoxCount; ++i) {
            if (const auto box = static_cast<HistoryBox>(i); box != HistoryBox::OutputFile)
                boxes_.AddShown(box);
        }
        const std::optional<RunPlan> plan =
            WindowPlan(RunMode::Preview, {{boxes_.Shown(HistoryBox::InputFile), {}}}, Parts());
        if (!plan || !PassesChecks(*plan))
            return;
        const RunReport report = RunInWindow(session_, *plan);
        const FileOutcome& outcome = report.Outcome(0);
        const bool stopped =
            outcome.state == FileOutcome::State::Cancelled || outcome.state == FileOutcome::State::NotRun;
        if (session_.CloseIfPending() || stopped)
            return;
        if (outcome.state == FileOutcome::State::Failed) {
            dialogs_.ShowErrorBox(kApplicationTitle, FailureText(outcome, plan->files[0].input));
            return;
        }
        std::string text;
        for (const std::string& note : WindowNotes(report, 0))
            text += (text.empty() ? "" : " ") + note;
        dialogs_.ShowPreview({PreviewHeading(outcome.references.size()),
                              LevelsShown(outcome.result.levelsSeen, outcome.wholeRead),
                              ScreenReferences(outcome.references),
                              std::move(text),
                              {}});
    });
}

}  // namespace pellimar
