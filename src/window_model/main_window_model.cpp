// The window model's life: its pieces put together, the settings loaded at
// the first show and saved at close.
#include "window_model/main_window_model.h"

#include "run/local_clock.h"
#include "settings/settings_store.h"
#include "window_model/check_boxes.h"

namespace pellimar {
namespace {

RunServices RunServicesOf(const WindowServices& services)
{
    return {*services.dialogs, services.clock ? services.clock : LocalTimeOfDayMs, services.runPass};
}

}  // namespace

MainWindowModel::MainWindowModel(WindowView& view, WindowServices services)
    : view_(view),
      services_(std::move(services)),
      boxes_(view),
      choices_(*services_.dialogs),
      viewer_(choices_, *services_.launcher, services_.settingsPaths),
      levelNames_(boxes_, choices_, *services_.dialogs),
      session_(view, RunServicesOf(services_), boxes_, preferences_),
      single_(session_, view, *services_.dialogs, boxes_, choices_, viewer_, levelNames_, preferences_),
      collection_(session_, view, *services_.dialogs, boxes_, choices_, levelNames_, preferences_)
{
}

void MainWindowModel::FirstShown()
{
    Guarded(*services_.dialogs, [this] { LoadSettingsIntoWindow(LoadSettings(services_.settingsPaths)); });
}

// Closing during a run first lets the run stop and clean up; the window then
// closes from the run's end. A failed save is reported, and the window closes
// all the same: keeping it open would not make the settings file writable.
bool MainWindowModel::CloseRequested()
{
    if (!session_.CloseRequested())
        return false;
    Guarded(*services_.dialogs, [this] { SaveSettings(services_.settingsPaths, SettingsFromWindow()); });
    return true;
}

void MainWindowModel::LoadSettingsIntoWindow(const SettingsData& data)
{
    for (int i = 0; i < kLevelCount; ++i)
        boxes_.SetHistory(LevelBox(i), data.levelHistories[i]);
    ShowCheckBoxes(view_, data.preferences);
    preferences_ = data.preferences;
    viewer_.Take(data.viewerPath);
    boxes_.SetHistory(HistoryBox::InputFile, data.inputHistory);
    boxes_.SetHistory(HistoryBox::OutputFile, data.outputHistory);
    boxes_.SetHistory(HistoryBox::PagePattern, data.pagePatternHistory);
    boxes_.SetHistory(HistoryBox::RefPattern, data.refPatternHistory);
    choices_.TakeOutputFolder(data.outputFolder);
}

SettingsData MainWindowModel::SettingsFromWindow() const
{
    SettingsData data;
    for (int i = 0; i < kLevelCount; ++i)
        data.levelHistories[i] = History(LevelBox(i));
    data.preferences = WithCheckBoxes(preferences_, view_);
    data.viewerPath = viewer_.Path();
    data.inputHistory = History(HistoryBox::InputFile);
    data.outputHistory = History(HistoryBox::OutputFile);
    data.pagePatternHistory = History(HistoryBox::PagePattern);
    data.refPatternHistory = History(HistoryBox::RefPattern);
    data.outputFolder = choices_.LastOutputFolder();
    return data;
}

}  // namespace pellimar
