// Begin and Cancel: the checks before a run, the run itself with the model
// as its host, the window's running state and progress display, and the
// dialogues at the end, the viewer among them.
#include <utility>

#include "run/run_checks.h"
#include "settings/settings_store.h"
#include "streams/exceptions.h"
#include "streams/native_file.h"
#include "streams/output_file.h"
#include "window_model/file_dialogs.h"
#include "window_model/main_window_model.h"
#include "window_model/program_launcher.h"

namespace pellimar {

void MainWindowModel::BeginOrCancel()
{
    if (running_) {
        cancelRequested_ = true;  // the pass sees it before its next step
        return;
    }
    // An error from the pass reaches the general error handler, and no end
    // dialogue is shown.
    Guarded([this] {
        cancelRequested_ = false;
        std::optional<RunSettings> settings = SettingsForRun();
        if (!settings || !PassesRunChecks(*settings) || RefuseOutputThatIsInput(*settings) || !ConfirmOverwrite())
            return;
        // The overwrite question may have chosen another output. A file the
        // user did not agree to replace, one that appears during the run,
        // is left alone.
        settings->outputPath = Text(HistoryBox::OutputFile);
        settings->replaceOutput = OutputExists(settings->outputPath);
        RunAndReport(*settings);
    });
}

bool MainWindowModel::PassesRunChecks(const RunSettings& settings)
{
    const RunCheck check = CheckRunInputs(settings);
    if (!check.Passed())
        services_.dialogs->ShowMessage(MessageKind::Error, WithFileAndReason(check.message, check.file, check.reason),
                                       MessageButtons::Ok);
    return check.Passed();
}

// The user's own input is never offered for overwriting: an output that is
// the input through a link or another spelling is refused first, as the run
// would refuse it.
bool MainWindowModel::RefuseOutputThatIsInput(const RunSettings& settings)
{
    if (!OutputIsInput(settings.inputPath, settings.outputPath))
        return false;
    HandleException(EFCreateError(FillPlaceholder(kCannotCreateFile, settings.outputPath),
                                  {settings.outputPath, kOutputIsInput}));
    return true;
}

namespace {

// What replacing the file would cost beyond its content, said while the
// user can still keep it.
std::string WhatReplacingLoses(const std::string& path)
{
    const OutputOutlook outlook = ForeseeOutput(path);
    std::string note;
    if (outlook.earlierLost)
        note = "No new file can take its place (" + outlook.whyInPlace +
               "): it will be written in place, and what it holds now is lost as soon as the run starts; a cancel "
               "or a failure leaves a partial file under its name.";
    for (const std::string& lost : outlook.notKept)
        note += (note.empty() ? "" : "\r") + std::string("The new file cannot keep ") + lost + ".";
    return note;
}

}  // namespace

bool MainWindowModel::ConfirmOverwrite()
{
    const std::string path = Text(HistoryBox::OutputFile);
    if (!OutputExists(path))
        return true;
    const MessageAnswer answer =
        services_.dialogs->ShowMessageWithNote(MessageKind::Warning, "Output File Exists.  Overwrite?",
                                               WhatReplacingLoses(path), MessageButtons::YesNoCancel);
    if (answer == MessageAnswer::Yes)
        return true;
    if (answer != MessageAnswer::No)
        return false;
    // The new name is most often a neighbour of the file kept: the dialog
    // starts beside it, on its name, whatever it was last used for.
    saveDialog_.overwritePrompt = true;
    saveDialog_.fileName = path;
    dialogFolders_[static_cast<int>(FileDialogPurpose::OutputFile)] = FolderOf(path);
    if (!ShowFileDialog(saveDialog_, FileDialogPurpose::OutputFile, true))
        return false;
    view_.SetBoxText(HistoryBox::OutputFile, saveDialog_.fileName);
    return true;
}

void MainWindowModel::RunPass(const std::function<void(RunHost&)>& pass)
{
    if (services_.runPass)
        services_.runPass(*this, pass);
    else
        pass(*this);
}

void MainWindowModel::RunAndReport(const RunSettings& settings)
{
    RunResult result;
    RunPass([&](RunHost& host) { result = RunConversion(settings, host, levels_); });
    if (closePending_) {
        // The window was closed during the run: nobody is left to ask, so
        // the partial output is thrown away and an earlier file stays.
        if (result.partialOutput)
            result.partialOutput->Discard();
        CloseIfPending();
        return;
    }
    ShowRunEnd(result);
}

// True when the window was closed during the run or preview just ended; it
// closes now.
bool MainWindowModel::CloseIfPending()
{
    if (!closePending_)
        return false;
    closePending_ = false;
    view_.CloseWindow();
    return true;
}

// Level records with IDs that name one of the levels, read as plain record
// codes because the switch is off: the likely reason for missing references.
std::string MainWindowModel::IdRecordsAdvice(std::int32_t unreadIdLevelRecords) const
{
    if (unreadIdLevelRecords == 0 || idRecords_)
        return {};
    const std::string count = unreadIdLevelRecords == 1 ? "1 record code of this file names"
                                                        : std::to_string(unreadIdLevelRecords) +
                                                              " record codes of this file name";
    return count + " a level in the form <RD,ID:n:Level>, as later Folio versions write level records. Switch on "
                   "File > Preferences > ID record levels to read them as such.";
}

void MainWindowModel::ShowRunEnd(RunResult& result)
{
    if (result.cancelled) {
        const MessageAnswer answer = services_.dialogs->ShowMessage(
            MessageKind::Confirm, "Operation Canceled.\rDelete output file?", MessageButtons::YesNo);
        // Yes leaves a file that stood under the output's name as it was;
        // No keeps the partial output under that name.
        if (answer != MessageAnswer::Yes)
            result.partialOutput->PutInPlace();
        else if (!result.partialOutput->Discard())
            ReportFailedRemoval(result.partialOutput->Path());
        return;
    }
    // The question stays the last line, right above Yes and No; advice goes
    // between it and the count.
    std::string text = std::to_string(result.refCount) + " total references created.\r";
    if (const std::string advice = IdRecordsAdvice(result.unreadIdLevelRecords); !advice.empty())
        text += "\r" + advice + "\r\r";
    if (services_.dialogs->ShowMessage(MessageKind::Confirm, text + "View output file?", MessageButtons::YesNo) ==
        MessageAnswer::Yes)
        LaunchViewer();
}

// Written in place, the partial output could not be removed: the user must
// not believe it gone.
void MainWindowModel::ReportFailedRemoval(const std::string& path)
{
    services_.dialogs->ShowMessage(
        MessageKind::Error,
        WithFileAndReason("The partial output could not be removed.", path, LastFailureReason()),
        MessageButtons::Ok);
}

void MainWindowModel::SetRunControls(bool enabled)
{
    view_.EnableRunControls(enabled);
}

void MainWindowModel::EnterRunning()
{
    running_ = true;
    beginEnabled_ = true;
    view_.SetBeginCaption(kCancelCaption);
    view_.EnableBegin(true);
    if (showProgMeter_)
        view_.ShowGauge(true);
    ShowRunDisplay(true);
    SetRunControls(false);
    view_.ShowBusyCursor(true);
}

void MainWindowModel::ProgressChanged(std::int32_t runPercent, std::int64_t)
{
    runPercent_ = runPercent;
    if (showProgMeter_)
        view_.SetGaugeProgress(runPercent);
    UpdateTimeDisplay();
    view_.ProcessPendingEvents();
}

void MainWindowModel::LeaveRunning()
{
    view_.ShowBusyCursor(false);
    view_.SetBeginCaption(kBeginCaption);
    SetRunControls(true);
    view_.ShowGauge(false);
    ShowRunDisplay(false);
    running_ = false;
    // The boxes may have been edited during the run, when the rule let the
    // button be.
    UpdateBeginButton();
}

// The time the question stays open is the user's, not the run's.
std::optional<std::string> MainWindowModel::AskStartingPage(const PagePrompt& prompt)
{
    const std::int64_t asked = services_.clock();
    std::optional<std::string> answer = services_.dialogs->InputBox(prompt.title, prompt.prompt, prompt.defaultText);
    timeDisplay_.LeaveOut(ElapsedMs(asked, services_.clock()));
    return answer;
}

void MainWindowModel::ShowRunDisplay(bool running)
{
    view_.SetTimeReadouts(kZeroClock, kZeroClock);
    view_.ShowTimeReadouts(running);
    if (running)
        timeDisplay_.Start(services_.clock());
}

void MainWindowModel::UpdateTimeDisplay()
{
    timeDisplay_.Update(services_.clock(), runPercent_);
    view_.SetTimeReadouts(timeDisplay_.ElapsedText(), timeDisplay_.RemainingText());
}

void MainWindowModel::ChooseViewer()
{
    Guarded([this] { AskForViewer(); });
}

// True when the user chose a viewer; it is stored at once. The chooser
// starts with no file name, as the flat file the open dialog last held would
// become the viewer on Enter; that name stays for the dialog's other uses.
bool MainWindowModel::AskForViewer()
{
    const std::string flatFileName = std::exchange(openDialog_.fileName, std::string());
    openDialog_.filterIndex = ViewerFilter();
    const bool chosen = ShowFileDialog(openDialog_, FileDialogPurpose::Viewer, false);
    openDialog_.filterIndex = kFlatFilesFilter;
    if (chosen)
        viewerPath_ = openDialog_.fileName;
    openDialog_.fileName = flatFileName;
    if (chosen)
        SaveViewerPath(services_.settingsPaths, viewerPath_);
    return chosen;
}

// With no viewer set yet, Yes to "View output file?" lets the user choose
// one first; cancelling that dialog views nothing.
void MainWindowModel::LaunchViewer()
{
    if (viewerPath_.empty() && !AskForViewer())
        return;
    services_.launcher->Start(viewerPath_, Text(HistoryBox::OutputFile));
}

}  // namespace pellimar
