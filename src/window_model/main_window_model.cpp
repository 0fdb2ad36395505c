// The window model's life: the settings loaded at the first show and saved
// at close, and the general error handler every command reports through.
#include "window_model/main_window_model.h"

#include "settings/settings_store.h"
#include "streams/exceptions.h"
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

// The file and the reason go on a line of their own, as the command line
// gives them, so that the message says what went wrong and where; a message
// that names the file already gets the reason alone.
std::string WithFileAndReason(const std::string& message, const std::string& file, const std::string& reason)
{
    const bool named = file.empty() || message.find(file) != std::string::npos;
    const std::string context = named ? reason : reason.empty() ? file : file + ": " + reason;
    return context.empty() ? message : message + "\r" + context;
}

void MainWindowModel::HandleException(const std::exception& error)
{
    std::string message = error.what();
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        message += '.';
    if (const auto* withContext = dynamic_cast<const Exception*>(&error))
        message = WithFileAndReason(message, withContext->File(), withContext->Reason());
    services_.dialogs->ShowErrorBox(kApplicationTitle, message);
}

}  // namespace pellimar
