// The window model's life: the settings loaded at the first show and saved
// at close, and the general error handler every command reports through.
#include "window_model/main_window_model.h"

#include "settings/settings_store.h"
#include "window_model/file_dialogs.h"

namespace pellimar {

MainWindowModel::MainWindowModel(WindowView& view, WindowServices services)
    : view_(view), services_(std::move(services)), openDialog_(InitialOpenDialog()), saveDialog_(InitialSaveDialog())
{
}

void MainWindowModel::FirstShown()
{
    Guarded([this] { LoadSettingsIntoWindow(LoadSettings(services_.settingsPaths)); });
}

// Closing during a run first lets the run stop and clean up; the window then
// closes from the run's end.
bool MainWindowModel::CloseRequested()
{
    if (running_) {
        cancelRequested_ = true;
        closePending_ = true;
        return false;
    }
    // A failed save is reported, and the window closes all the same: keeping
    // it open would not make the settings file writable.
    Guarded([this] { SaveSettings(services_.settingsPaths, SettingsFromWindow()); });
    return true;
}

void MainWindowModel::LoadSettingsIntoWindow(const SettingsData& data)
{
    for (int i = 0; i < kLevelCount; ++i)
        SetHistory(LevelBox(i), data.levelHistories[i]);
    view_.SetOptionChecked(RunOption::NotSearched, data.notSearched);
    view_.SetOptionChecked(RunOption::RemovePageMarks, data.removePageMarkers);
    showProgMeter_ = data.showProgMeter;
    leftJustOnly_ = data.leftJustOnly;
    useHR_ = data.useHR;
    idRecords_ = data.idRecords;
    viewerPath_ = data.viewerPath;
    SetHistory(HistoryBox::InputFile, data.inputHistory);
    SetHistory(HistoryBox::OutputFile, data.outputHistory);
    SetHistory(HistoryBox::PagePattern, data.pagePatternHistory);
    SetHistory(HistoryBox::RefPattern, data.refPatternHistory);
}

SettingsData MainWindowModel::SettingsFromWindow() const
{
    SettingsData data;
    for (int i = 0; i < kLevelCount; ++i)
        data.levelHistories[i] = History(LevelBox(i));
    data.notSearched = view_.OptionChecked(RunOption::NotSearched);
    data.removePageMarkers = view_.OptionChecked(RunOption::RemovePageMarks);
    data.showProgMeter = showProgMeter_;
    data.leftJustOnly = leftJustOnly_;
    data.useHR = useHR_;
    data.idRecords = idRecords_;
    data.viewerPath = viewerPath_;
    data.inputHistory = History(HistoryBox::InputFile);
    data.outputHistory = History(HistoryBox::OutputFile);
    data.pagePatternHistory = History(HistoryBox::PagePattern);
    data.refPatternHistory = History(HistoryBox::RefPattern);
    return data;
}

void MainWindowModel::Guarded(const std::function<void()>& command)
{
    try {
        command();
    } catch (const std::exception& error) {
        HandleException(error);
    }
}

void MainWindowModel::HandleException(const std::exception& error)
{
    std::string message = error.what();
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        message += '.';
    services_.dialogs->ShowErrorBox(kApplicationTitle, message);
}

}  // namespace pellimar
