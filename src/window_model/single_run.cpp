// One file's run and preview.
#include "window_model/single_run.h"

#include <utility>

#include "engine/preview.h"
#include "run/level_notes.h"
#include "run/run_checks.h"
#include "run/run_summary.h"
#include "streams/exceptions.h"
#include "streams/output_file.h"
#include "window_model/error_box.h"
#include "window_model/output_replacement.h"
#include "window_model/screen_text.h"
#include "window_model/window_run_settings.h"

namespace pellimar {
namespace {

constexpr std::size_t kPreviewCount = 20;

// A preview that stopped short of its count has found every reference.
std::string PreviewHeading(std::size_t count)
{
    if (count == 0)
        return "The run would make no reference.";
    if (count == 1)
        return "The run would make one reference:";
    if (count < kPreviewCount)
        return "The run would make " + std::to_string(count) + " references:";
    return "The first " + std::to_string(count) + " references the run would make:";
}

// The references as the screen shows the file's text.
std::vector<PreviewReference> ScreenReferences(std::vector<PreviewReference> references)
{
    for (PreviewReference& reference : references) {
        reference.text = ScreenTextFromFile(reference.text);
        reference.recordStart = ScreenTextFromFile(reference.recordStart);
    }
    return references;
}

// The levels the level records read name, with their counts and first
// headings; a preview that stopped early read only part of the file.
std::string LevelsShown(const LevelCensus& seen, bool whole)
{
    const std::vector<std::string> lines = LevelLines(seen);
    if (lines.empty())
        return whole ? "This file has no level records." : "The part of the file read has no level records.";
    std::string text = whole ? "Level records of this file:" : "Level records in the part of the file read:";
    for (const std::string& line : lines)
        text += "\r" + line;
    return ScreenTextFromFile(text);
}

}  // namespace

void SingleRun::BeginOrCancel()
{
    if (session_.IsRunning()) {
        session_.RequestCancel();
        return;
    }
    // An error from the pass reaches the general error handler, and no end
    // dialogue is shown.
    Guarded(dialogs_, [this] {
        std::optional<RunSettings> settings = RunSettingsOfWindow(boxes_, view_, preferences_, dialogs_);
        if (!settings || !PassesRunChecks(*settings) || !PassesOutputChecks(*settings) || !ConfirmOverwrite())
            return;
        // The overwrite question may have chosen another output. A file the
        // user did not agree to replace, one that appears during the run,
        // is left alone.
        settings->outputPath = boxes_.Shown(HistoryBox::OutputFile);
        settings->replaceOutput = OutputExists(settings->outputPath);
        RunAndReport(*settings);
    });
}

bool SingleRun::PassesRunChecks(const RunSettings& settings)
{
    const RunCheck check = CheckRunInputs(settings);
    if (!check.Passed())
        dialogs_.ShowMessage(MessageKind::Error, WithFileAndReason(check.message, check.file, check.reason),
                             MessageButtons::Ok);
    return check.Passed();
}

// The user's own input is never offered for overwriting: an output that is
// the input through a link or another spelling is refused first, as the run
// would refuse it; so is a folder, and a name Windows takes for a device.
bool SingleRun::PassesOutputChecks(const RunSettings& settings)
{
    const RunCheck check = CheckRunOutput(settings);
    if (!check.Passed())
        ReportError(dialogs_, EFCreateError(check.message, {check.file, check.reason}));
    return check.Passed();
}

bool SingleRun::ConfirmOverwrite()
{
    const std::string path = boxes_.Shown(HistoryBox::OutputFile);
    if (!OutputExists(path))
        return true;
    const MessageAnswer answer = dialogs_.ShowMessageWithNote(
        MessageKind::Warning, "Output File Exists.  Overwrite?", WhatReplacingLoses(path), MessageButtons::YesNoCancel);
    if (answer == MessageAnswer::Yes)
        return true;
    if (answer != MessageAnswer::No)
        return false;
    const std::optional<std::string> chosen = choices_.NewOutput(path);
    if (!chosen)
        return false;
    boxes_.Show(HistoryBox::OutputFile, *chosen);
    return true;
}

void SingleRun::RunAndReport(const RunSettings& settings)
{
    RunResult result;
    session_.Run([&](RunHost& host) { result = RunConversion(settings, host, levels_); });
    if (session_.ClosePending()) {
        // The window was closed during the run: nobody is left to ask, so
        // the partial output is thrown away and an earlier file stays.
        if (result.partialOutput)
            result.partialOutput->Discard();
        session_.CloseIfPending();
        return;
    }
    if (result.cancelled)
        ShowCancelled(result);
    else
        ShowRunEnd(settings, result);
}

void SingleRun::ShowCancelled(RunResult& result)
{
    const MessageAnswer answer = dialogs_.ShowMessage(MessageKind::Confirm, "Operation Canceled.\rDelete output file?",
                                                      MessageButtons::YesNo);
    // Yes leaves a file that stood under the output's name as it was; No
    // keeps the partial output under that name.
    if (answer != MessageAnswer::Yes)
        result.partialOutput->PutInPlace();
    else if (!result.partialOutput->Discard())
        ReportFailedRemoval(dialogs_, result.partialOutput->Path());
}

// The question stays the last line, right above Yes and No; the notes go
// between it and the summary.
void SingleRun::ShowRunEnd(const RunSettings& settings, RunResult& result)
{
    std::string text = RunSummary(settings.earlierReferences, result.refCount, result.EarlierReferences()) + "\r";
    const std::vector<RunNote> notes = Notes(FindingsOf(result), settings, false, true);
    for (const RunNote& note : notes)
        text += "\r" + note.text + "\r";
    if (!notes.empty())
        text += "\r";
    if (dialogs_.ShowMessage(MessageKind::Confirm, text + "View output file?", MessageButtons::YesNo) ==
        MessageAnswer::Yes)
        viewer_.Launch(boxes_.Shown(HistoryBox::OutputFile));
}

// The notes name the file as "this file", and the level names as the screen
// shows them.
std::vector<RunNote> SingleRun::Notes(const RunFindings& found, const RunSettings& settings, bool partRead,
                                      bool wholeRead) const
{
    const RunTelling telling{Voice::Window,      partRead,           partRead,          wholeRead, {},
                             levelNames_.File(), levelNames_.Skipped(), ScreenTextFromFile};
    return RunNotes(found, telling, settings, preferences_);
}

// The texts a preview reads go into their boxes' histories, as leaving each
// box would put them there.
void SingleRun::Preview()
{
    if (session_.IsRunning())
        return;
    Guarded(dialogs_, [this] {
        for (int i = 0; i < kHistoryBoxCount; ++i) {
            if (const auto box = static_cast<HistoryBox>(i); box != HistoryBox::OutputFile)
                boxes_.AddShown(box);
        }
        const std::optional<RunSettings> settings = RunSettingsOfWindow(boxes_, view_, preferences_, dialogs_);
        if (!settings || !PassesRunChecks(*settings))
            return;
        PreviewResult result;
        session_.Run([&](RunHost& host) { result = RunPreview(*settings, host, levels_, kPreviewCount); });
        if (session_.CloseIfPending() || result.cancelled)
            return;
        // Only a preview that read the whole input knows a level is never set.
        const bool whole = result.references.size() < kPreviewCount;
        std::string text;
        for (const RunNote& note : Notes(FindingsOf(result), *settings, true, whole))
            text += (text.empty() ? "" : " ") + note.text;
        dialogs_.ShowPreview({PreviewHeading(result.references.size()), LevelsShown(result.levelsSeen, whole),
                              ScreenReferences(result.references), std::move(text), {}});
    });
}

}  // namespace pellimar
