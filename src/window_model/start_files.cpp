// The files the program was started with (from a file manager's "Open
// With", or a command line): one is the input, whatever its name, as the
// file the program was asked to open (a definition file dropped on the
// window gives the level names instead); several wait for "Convert Several
// Files...", since a run of them needs the level names and patterns that a
// fresh window lacks.
#include <utility>

#include "run/run_summary.h"
#include "window_model/main_window_model.h"

namespace pellimar {

void MainWindowModel::TakeStartFiles()
{
    const std::vector<std::string> files = std::exchange(services_.startFiles, {});
    // Begin waits for the reference pattern, which a window just shown lacks.
    if (files.size() == 1)
        TakeInputFile(files.front());
    if (files.size() < 2)
        return;
    chosenSeveral_ = files;
    services_.dialogs->ShowMessageWithNote(
        MessageKind::Information,
        std::to_string(files.size()) +
            " files are chosen to be converted together.\rNothing is converted yet: fill in the level names and the "
            "patterns, then choose File > Convert Several Files..., which asks for the output folder.",
        Listed(files, "\r"), MessageButtons::Ok);
}

}  // namespace pellimar
