// A run of the window's as a plan, and its report as the window tells it:
// the settings of the boxes and check boxes with the preferences, the level
// names of the last load, the run made with the window as its host.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "run/plan_checks.h"
#include "run/run_plan.h"
#include "run/run_report.h"
#include "window_model/box_texts.h"
#include "window_model/dialogs.h"
#include "window_model/level_import.h"
#include "window_model/run_session.h"
#include "window_model/window_view.h"

namespace pellimar {

// How many references a preview lists: of a file alone, and of each of
// several.
inline constexpr std::size_t kPreviewCount = 20;

struct WindowRunParts {
    const BoxTexts& boxes;
    const WindowView& view;
    const Preferences& preferences;
    const LevelImport& levelNames;
    Dialogs& dialogs;
};

// Nothing when a box holds a character the flat file cannot; the user was
// told. A preview or dry run lists kPreviewCount references a file. The plan
// may replace what stands under its outputs' names, since the window asks
// about them before it runs.
std::optional<RunPlan> WindowPlan(RunMode mode, std::vector<CollectionFile> files, const WindowRunParts& parts);

// Runs the plan with the window as its host; the caption names each file of
// a collection as it starts.
RunReport RunInWindow(RunSession& session, const RunPlan& plan, std::vector<bool> stood = {});

// The notes as the window tells them: of "this file", in whole sentences,
// the level names as the screen shows them.
NoteTelling WindowTelling(const RunPlan& plan);
std::vector<std::string> WindowNotes(const RunReport& report, std::size_t i);

// A problem of the checks, or a failed file, as the window says it: the
// message, then the file and the reason on a line of their own.
std::string ProblemText(const PlanProblem& problem);
std::string FailureText(const FileOutcome& outcome, const std::string& input);

}  // namespace pellimar
