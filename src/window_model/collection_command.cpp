// "Convert Several Files..." and several files dropped on the window: the
// inputs and the output folder chosen, then the collection's run.
#include "window_model/main_window_model.h"

namespace pellimar {

void MainWindowModel::FilesDropped(const std::vector<std::string>& paths)
{
    if (paths.size() == 1)
        FileDropped(paths.front());
    else if (paths.size() > 1)
        ConvertSeveralFiles(paths);
}

void MainWindowModel::ConvertSeveralFiles(std::vector<std::string> inputs)
{
    if (run_.IsRunning())
        return;
    Guarded(*services_.dialogs, [&] {
        if (boxes_.Shown(HistoryBox::RefPattern).empty()) {
            services_.dialogs->ShowMessage(MessageKind::Error,
                                           "The Reference Pattern box is empty: fill it in before converting "
                                           "several files.",
                                           MessageButtons::Ok);
            return;
        }
        if (inputs.empty()) {
            std::optional<std::vector<std::string>> chosen = choices_.SeveralInputs();
            if (!chosen)
                return;
            inputs = std::move(*chosen);
        }
        if (const std::optional<std::string> folder = choices_.OutputFolder())
            run_.ConvertCollection(inputs, *folder);
    });
}

}  // namespace pellimar
