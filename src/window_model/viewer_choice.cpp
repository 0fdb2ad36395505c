// Choosing and starting the viewer.
#include "window_model/viewer_choice.h"

#include "settings/settings_store.h"

namespace pellimar {

bool ViewerChoice::Choose()
{
    const std::optional<std::string> chosen = choices_.Viewer();
    if (!chosen)
        return false;
    path_ = *chosen;
    SaveViewerPath(paths_, path_);
    return true;
}

void ViewerChoice::Launch(const std::string& file)
{
    if (path_.empty() && !Choose())
        return;
    launcher_.Start(path_, file);
}

}  // namespace pellimar
