// "Preview": the first references a run would make, shown before anything
// is converted. It makes the checks of Begin except those of the output,
// asks the same page question, and shows progress with Cancel as a run does.
#include <QAction>

#include "engine/preview.h"
#include "run/run_checks.h"
#include "window/history_combo.h"
#include "window/main_window.h"

namespace pellimar {
namespace {

constexpr std::size_t kPreviewCount = 20;

}  // namespace

void TZUDIzazu::Preview1Click()
{
    if (FRunning)
        return;
    FCancelRequested = false;
    RememberRunTexts();
    const RunSettings settings = SettingsForRun();
    if (const RunCheck check = CheckRunInputs(settings); !check.Passed()) {
        services_.dialogs->ShowMessage(MessageKind::Error, check.message, MessageButtons::Ok);
        return;
    }
    const PreviewResult result = RunPreview(settings, *this, FLevels, kPreviewCount);
    if (FClosePending) {
        FClosePending = false;
        close();
        return;
    }
    if (!result.cancelled)
        services_.dialogs->ShowPreview(result.references);
}

// The texts a run reads go into their boxes' histories, as leaving each box
// would put them there.
void TZUDIzazu::RememberRunTexts()
{
    for (THistoryComboBox* box : ui.HistoryBoxes()) {
        if (box != ui.outEdit)
            box->AddShownText();
    }
}

}  // namespace pellimar
