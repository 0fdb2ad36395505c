// Begin and Preview for the file of the boxes: the checks before a run, the
// run, and the dialogues at its end, the viewer among them; or the first
// references a run would make, shown before anything is converted.
#pragma once

#include <string>
#include <vector>

#include "engine/conversion.h"
#include "run/preferences.h"
#include "run/run_plan.h"
#include "run/run_report.h"
#include "window_model/box_texts.h"
#include "window_model/file_choices.h"
#include "window_model/level_import.h"
#include "window_model/run_session.h"
#include "window_model/viewer_choice.h"
#include "window_model/window_plan.h"

namespace pellimar {

class SingleRun {
public:
    SingleRun(RunSession& session, const WindowView& view, Dialogs& dialogs, BoxTexts& boxes, FileChoices& choices,
              ViewerChoice& viewer, const LevelImport& levelNames, const Preferences& preferences)
        : session_(session), view_(view), dialogs_(dialogs), boxes_(boxes), choices_(choices), viewer_(viewer),
          levelNames_(levelNames), preferences_(preferences)
    {
    }

    // Starts a run after its checks; while one runs, asks it to stop.
    void BeginOrCancel();
    // It makes the checks of Begin except those of the output, asks the
    // same page question, and shows progress with Cancel as a run does.
    void Preview();

private:
    WindowRunParts Parts() const;
    bool PassesChecks(const RunPlan& plan);
    bool ConfirmOverwrite();
    void RunAndReport(const RunPlan& plan);
    void ShowCancelled(RunResult& result);
    void ShowRunEnd(const RunReport& report);

    RunSession& session_;
    const WindowView& view_;
    Dialogs& dialogs_;
    BoxTexts& boxes_;
    FileChoices& choices_;
    ViewerChoice& viewer_;
    const LevelImport& levelNames_;
    const Preferences& preferences_;
};

}  // namespace pellimar
