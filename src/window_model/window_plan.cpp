// The window's plans and reports.
#include "window_model/window_plan.h"

#include "run/plan_checks.h"
#include "window_model/check_boxes.h"
#include "window_model/error_box.h"
#include "window_model/screen_text.h"
#include "window_model/window_run_settings.h"

namespace pellimar {

std::optional<RunPlan> WindowPlan(RunMode mode, std::vector<CollectionFile> files, const WindowRunParts& parts)
{
    std::optional<RunSettings> settings =
        RunSettingsOfWindow(parts.boxes, parts.view, parts.preferences, parts.dialogs);
    if (!settings)
        return std::nullopt;
    RunPlan plan;
    plan.mode = mode;
    plan.settings = std::move(*settings);
    plan.preferences = WithCheckBoxes(parts.preferences, parts.view);
    plan.files = std::move(files);
    plan.replaceExisting = true;
    // Previews list this many; a conversion does not look at it.
    plan.previewLimit = kPreviewCount;
    plan.levelsFile = parts.levelNames.File();
    plan.skippedLevelName = parts.levelNames.Skipped();
    return plan;
}

RunReport RunInWindow(RunSession& session, const RunPlan& plan, std::vector<bool> stood)
{
    std::vector<std::string> captioned;
    if (plan.IsCollection()) {
        for (const CollectionFile& file : plan.files)
            captioned.push_back(file.input);
    }
    std::vector<FileOutcome> outcomes;
    session.RunCollection(captioned, [&](CollectionHost& host) { outcomes = RunPlanned(plan, host); });
    return RunReport(plan, std::move(outcomes), std::move(stood));
}

NoteTelling WindowTelling(const RunPlan& plan)
{
    return {Voice::Window, plan.mode != RunMode::Convert, plan.mode == RunMode::Preview, {}, ScreenTextFromFile};
}

std::vector<std::string> WindowNotes(const RunReport& report, std::size_t i)
{
    std::vector<std::string> notes;
    for (RunNote& note : report.Notes(i, WindowTelling(report.Plan())))
        notes.push_back(std::move(note.text));
    return notes;
}

std::string ProblemText(const PlanProblem& problem)
{
    return WithFileAndReason(problem.message, problem.file, problem.reason);
}

std::string FailureText(const FileOutcome& outcome, const std::string& input)
{
    const ErrorContext& context = outcome.errorContext;
    return WithFileAndReason(outcome.error, context.file.empty() ? input : context.file, context.reason);
}

}  // namespace pellimar
