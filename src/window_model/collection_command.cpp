// "Convert Several Files..." and several files dropped on the window: the
// inputs and the output folder chosen, then the collection's run; and
// "Preview Several Files...", the same inputs with their counts.
#include "run/collection_checks.h"
#include "window_model/main_window_model.h"

namespace pellimar {

void MainWindowModel::FilesDropped(const std::vector<std::string>& paths)
{
    if (paths.size() == 1)
        FileDropped(paths.front());
    else if (paths.size() > 1)
        ConvertSeveralFiles(paths);
}

bool MainWindowModel::HasReferencePattern(const char* before)
{
    if (!boxes_.Shown(HistoryBox::RefPattern).empty())
        return true;
    services_.dialogs->ShowMessage(MessageKind::Error,
                                   std::string("The Reference Pattern box is empty: fill it in before ") + before +
                                       " several files.",
                                   MessageButtons::Ok);
    return false;
}

void MainWindowModel::ConvertSeveralFiles(std::vector<std::string> inputs)
{
    if (run_.IsRunning())
        return;
    Guarded(*services_.dialogs, [&] {
        if (!HasReferencePattern("converting"))
            return;
        if (inputs.empty()) {
            std::optional<std::vector<std::string>> chosen = choices_.SeveralInputs();
            if (!chosen)
                return;
            inputs = std::move(*chosen);
        }
        if (const std::optional<std::string> folder = ChooseOutputFolder(inputs))
            run_.ConvertCollection(inputs, *folder);
    });
}

// A folder whose outputs would take the inputs' places is refused as soon
// as it is chosen, and the dialog comes back for another; the files chosen
// stay chosen.
std::optional<std::string> MainWindowModel::ChooseOutputFolder(const std::vector<std::string>& inputs)
{
    for (;;) {
        std::optional<std::string> folder = choices_.OutputFolder(inputs.front());
        if (!folder)
            return std::nullopt;
        const std::vector<CollectionProblem> held = OutputsThatAreInputs(PlanCollection(inputs, *folder));
        if (held.empty())
            return folder;
        std::vector<std::string> told;
        for (const CollectionProblem& problem : held)
            told.push_back(WithFileAndReason(problem.message, problem.file, problem.reason));
        services_.dialogs->ShowMessageWithNote(MessageKind::Error,
                                               "The outputs cannot go into " + *folder +
                                                   ": it holds inputs of this run. Choose another folder.",
                                               Listed(told, "\r"), MessageButtons::Ok);
    }
}

void MainWindowModel::PreviewSeveralFiles()
{
    if (run_.IsRunning())
        return;
    Guarded(*services_.dialogs, [&] {
        if (!HasReferencePattern("previewing"))
            return;
        if (const std::optional<std::vector<std::string>> inputs =
                choices_.SeveralInputs(FileDialogPurpose::PreviewInputs))
            run_.PreviewCollection(*inputs);
    });
}

}  // namespace pellimar
