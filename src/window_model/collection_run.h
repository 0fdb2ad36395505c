// "Convert Several Files..." and several files dropped on the window: the
// inputs and the output folder chosen, the checks with every reason told at
// once, one question for all the outputs that exist, the run, and the
// summary or the question about the file cut short. "Preview Several
// Files...": the same inputs with what a run would make of each.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "run/collection.h"
#include "run/preferences.h"
#include "run/run_plan.h"
#include "run/run_report.h"
#include "window_model/box_texts.h"
#include "window_model/file_choices.h"
#include "window_model/level_import.h"
#include "window_model/run_session.h"
#include "window_model/window_plan.h"

namespace pellimar {

class CollectionRun {
public:
    CollectionRun(RunSession& session, const WindowView& view, Dialogs& dialogs, BoxTexts& boxes, FileChoices& choices,
                  const LevelImport& levelNames, const Preferences& preferences)
        : session_(session),
          view_(view),
          dialogs_(dialogs),
          boxes_(boxes),
          choices_(choices),
          levelNames_(levelNames),
          preferences_(preferences)
    {
    }

    // The inputs chosen in the dialog when none are given, then the output
    // folder, then the run; true when the run went ahead.
    bool ConvertSeveralFiles(std::vector<std::string> inputs);
    // The inputs chosen in the dialog, then each one's counts.
    void PreviewSeveralFiles();

private:
    WindowRunParts Parts() const;
    // False, with the reason told, when the reference pattern is empty.
    bool HasReferencePattern(const char* before);
    // Asked until the outputs would take no input's place, or cancelled.
    std::optional<std::string> ChooseOutputFolder(const std::vector<std::string>& inputs);
    bool Convert(const std::vector<std::string>& inputs, const std::string& folder);
    bool PassesChecks(const RunPlan& plan);
    bool ConfirmOverwritingAll(const std::vector<std::string>& existing);
    bool OutputFolderReady(const std::string& folder);
    void RunAndReport(const RunPlan& plan);
    void ShowEnd(const RunReport& report);
    void AskToDeleteCurrent(RunReport& report, std::size_t current);
    void Preview(const std::vector<std::string>& inputs);

    RunSession& session_;
    const WindowView& view_;
    Dialogs& dialogs_;
    BoxTexts& boxes_;
    FileChoices& choices_;
    const LevelImport& levelNames_;
    const Preferences& preferences_;
};

}  // namespace pellimar
