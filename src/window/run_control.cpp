// Begin and Cancel: the checks before a run, the run itself over the window
// as its host, the window's running state, and the dialogues at the end.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "engine/conversion.h"
#include "gauge/vantor_gauge.h"
#include "run/run_checks.h"
#include "settings/settings_store.h"
#include "window/byte_text.h"
#include "window/history_combo.h"
#include "window/main_window.h"
#include "window/program_launcher.h"

namespace pellimar {

void TZUDIzazu::Button2Click()
{
    if (FRunning) {
        FCancelRequested = true;  // the pass sees it before its next step
        return;
    }
    FCancelRequested = false;
    if (const RunCheck check = CheckRunInputs(SettingsForRun()); !check.Passed()) {
        services_.dialogs->ShowMessage(MessageKind::Error, check.message, MessageButtons::Ok);
        return;
    }
    if (!ConfirmOverwrite())
        return;
    RunFromWindow();
}

bool TZUDIzazu::ConfirmOverwrite()
{
    if (!OutputExists(ui.outEdit->Bytes()))
        return true;
    const MessageAnswer answer = services_.dialogs->ShowMessage(
        MessageKind::Warning, "Output File Exists.  Overwrite?", MessageButtons::YesNoCancel);
    if (answer == MessageAnswer::Yes)
        return true;
    if (answer != MessageAnswer::No)
        return false;
    ui.SaveDialog1.overwritePrompt = true;
    if (!services_.dialogs->SaveFile(ui.SaveDialog1))
        return false;
    ui.outEdit->SetBytes(ui.SaveDialog1.fileName);
    return true;
}

RunSettings TZUDIzazu::SettingsForRun() const
{
    RunSettings settings;
    settings.inputPath = ui.inEdit->Bytes();
    settings.outputPath = ui.outEdit->Bytes();
    settings.refPattern = ui.refCB->Bytes();
    settings.pagePattern = ui.pageCB->Bytes();
    for (int i = 0; i < kLevelCount; ++i)
        settings.levelTexts[i] = ui.LevelBoxes[i]->Bytes();
    settings.notSearched = ui.cbSearch->isChecked();
    settings.removePageMarks = ui.cbRemove->isChecked();
    return settings;
}

// An error from the pass goes to the general error handler (through the
// caller's guard) and no end dialogue is shown.
void TZUDIzazu::RunFromWindow()
{
    RunResult result = RunConversion(SettingsForRun(), *this, FLevels);
    if (FClosePending) {
        // The window was closed during the run: nobody is left to ask, so
        // the partial output is thrown away and an earlier file stays.
        FClosePending = false;
        if (result.partialOutput)
            result.partialOutput->Discard();
        close();
        return;
    }
    ShowRunEnd(result);
}

// Level records with IDs that name one of the levels, read as plain record
// codes because the switch is off: the likely reason for missing references.
std::string TZUDIzazu::IdRecordsAdvice(const RunResult& result) const
{
    if (result.unreadIdLevelRecords == 0 || FIdRecords)
        return {};
    return std::to_string(result.unreadIdLevelRecords) +
           " record codes of this file name a level in the form <RD,ID:n:Level>, as later Folio versions "
           "write level records. Switch on File > Preferences > ID record levels to read them as such.";
}

void TZUDIzazu::ShowRunEnd(RunResult& result)
{
    if (result.cancelled) {
        const MessageAnswer answer = services_.dialogs->ShowMessage(
            MessageKind::Confirm, "Operation Canceled.\rDelete output file?", MessageButtons::YesNo);
        // Yes leaves a file that stood under the output's name as it was;
        // No keeps the partial output under that name.
        if (answer == MessageAnswer::Yes)
            result.partialOutput->Discard();
        else
            result.partialOutput->PutInPlace();
        return;
    }
    const std::string text = std::to_string(result.refCount) + " total references created.\rView output file?";
    if (services_.dialogs->ShowMessageWithNote(MessageKind::Confirm, text, IdRecordsAdvice(result),
                                               MessageButtons::YesNo) == MessageAnswer::Yes)
        LaunchViewer();
}

void TZUDIzazu::SetRunControls(bool enabled)
{
    ui.Button1->setEnabled(enabled);
    ui.Using1->setEnabled(enabled);
    ui.About1->setEnabled(enabled);
}

void TZUDIzazu::EnterRunning()
{
    FRunning = true;
    ui.Button2->setText("&Cancel");
    ui.Button2->setEnabled(true);
    if (FShowProgMeter)
        ui.ProgBar1->show();
    ShowRunDisplay(true);
    SetRunControls(false);
    setCursor(Qt::WaitCursor);
}

void TZUDIzazu::ProgressChanged(std::int32_t runPercent, std::int64_t)
{
    FRunPercent = runPercent;
    if (FShowProgMeter)
        ui.ProgBar1->SetProgress(runPercent);
    UpdateTimeDisplay();
    QApplication::processEvents();
}

void TZUDIzazu::LeaveRunning()
{
    unsetCursor();
    ui.Button2->setText("&Begin");
    ui.Button2->setShortcut(QKeySequence());  // Alt+B is the menu's shortcut
    SetRunControls(true);
    ui.ProgBar1->hide();
    ShowRunDisplay(false);
    FRunning = false;
    // The boxes may have been edited during the run, when the rule let the
    // button be.
    UpdateBeginButton();
}

std::optional<std::string> TZUDIzazu::AskStartingPage(const PagePrompt& prompt)
{
    return services_.dialogs->InputBox(prompt.title, prompt.prompt, prompt.defaultText);
}

void TZUDIzazu::ShowRunDisplay(bool running)
{
    ui.lblStaticET->setVisible(running);
    ui.lblStaticRT->setVisible(running);
    ui.lblET->setText(kZeroClock);
    ui.lblRT->setText(kZeroClock);
    ui.lblET->setVisible(running);
    ui.lblRT->setVisible(running);
    if (running)
        FTimeDisplay.Start(services_.clock());
}

void TZUDIzazu::UpdateTimeDisplay()
{
    FTimeDisplay.Update(services_.clock(), FRunPercent);
    ui.lblET->setText(QString::fromStdString(FTimeDisplay.ElapsedText()));
    ui.lblRT->setText(QString::fromStdString(FTimeDisplay.RemainingText()));
}

void TZUDIzazu::SetFolioFlatFileViewer1Click()
{
    ui.OpenDialog1.filterIndex = kViewerFilter;
    if (services_.dialogs->OpenFile(ui.OpenDialog1)) {
        FViewerPath = ui.OpenDialog1.fileName;
        SaveViewerPath(services_.settingsPaths, FViewerPath);
    }
    ui.OpenDialog1.filterIndex = kFlatFilesFilter;
}

void TZUDIzazu::LaunchViewer()
{
    if (FViewerPath.empty()) {
        services_.dialogs->ShowMessage(MessageKind::Error, "FFFViewer key is not set in the INI-file",
                                       MessageButtons::Ok);
        return;
    }
    services_.launcher->Start(FViewerPath, ui.outEdit->Bytes());
}

}  // namespace pellimar
