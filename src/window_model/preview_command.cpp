// "Preview": the first references a run would make, shown before anything
// is converted. It makes the checks of Begin except those of the output,
// asks the same page question, and shows progress with Cancel as a run does.
#include "engine/preview.h"
#include "window_model/main_window_model.h"
#include "window_model/screen_text.h"

namespace pellimar {
namespace {

constexpr std::size_t kPreviewCount = 20;

// The references as the screen shows the file's text.
std::vector<PreviewReference> ScreenPreview(std::vector<PreviewReference> references)
{
    for (PreviewReference& reference : references) {
        reference.text = ScreenTextFromFile(reference.text);
        reference.recordStart = ScreenTextFromFile(reference.recordStart);
    }
    return references;
}

}  // namespace

void MainWindowModel::Preview()
{
    if (running_)
        return;
    Guarded([this] { ShowPreview(); });
}

void MainWindowModel::ShowPreview()
{
    cancelRequested_ = false;
    RememberRunTexts();
    const std::optional<RunSettings> settings = SettingsForRun();
    if (!settings || !PassesRunChecks(*settings))
        return;
    const PreviewResult result = RunPreview(*settings, *this, levels_, kPreviewCount);
    if (CloseIfPending())
        return;
    if (!result.cancelled)
        services_.dialogs->ShowPreview(ScreenPreview(result.references));
}

// The texts a run reads go into their boxes' histories, as leaving each box
// would put them there.
void MainWindowModel::RememberRunTexts()
{
    for (int i = 0; i < kHistoryBoxCount; ++i) {
        const auto box = static_cast<HistoryBox>(i);
        if (box != HistoryBox::OutputFile)
            AddShownText(box);
    }
}

}  // namespace pellimar
