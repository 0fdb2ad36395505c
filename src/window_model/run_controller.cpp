// Begin and Cancel: the checks before a run, the run itself, and the
// dialogues at the end, the viewer among them.
#include "window_model/run_controller.h"

#include <utility>

#include "run/level_notes.h"
#include "run/run_checks.h"
#include "run/run_notes.h"
#include "run/run_summary.h"
#include "run/shown_character.h"
#include "run/utf8.h"
#include "streams/exceptions.h"
#include "streams/native_file.h"
#include "streams/output_file.h"
#include "streams/text_util.h"
#include "window_model/check_boxes.h"
#include "window_model/error_box.h"
#include "window_model/output_replacement.h"
#include "window_model/screen_text.h"

namespace pellimar {
namespace {

// The character as it looks, or its code point when it would not show.
std::string UnheldForMessage(const std::string& unheld)
{
    const std::vector<char32_t> characters = DecodeUtf8(unheld);
    return CharacterForMessage(characters.empty() ? 0 : characters.front(), unheld);
}

std::string BoxName(HistoryBox box)
{
    if (box == HistoryBox::PagePattern)
        return "Page # Pattern";
    if (box == HistoryBox::RefPattern)
        return "Reference Pattern";
    return "Level " + std::to_string(BoxIndex(box) + 1);
}

}  // namespace

std::string LaterLineRecordsAdvice(std::int32_t count, const Preferences& preferences, bool foretold)
{
    return LaterLineRecordsNote(
        count, preferences.On(Preference::LineEndRecords), foretold,
        "switch on File > Preferences > " + WithoutAccessKey(RowOf(Preference::LineEndRecords).caption) + " to give");
}

void RunController::BeginOrCancel()
{
    if (running_) {
        cancelRequested_ = true;  // the pass sees it before its next step
        return;
    }
    // An error from the pass reaches the general error handler, and no end
    // dialogue is shown.
    Guarded(services_.dialogs, [this] {
        cancelRequested_ = false;
        std::optional<RunSettings> settings = SettingsForRun();
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

std::optional<RunSettings> RunController::SettingsForRun()
{
    RunSettings settings;
    settings.inputPath = boxes_.Shown(HistoryBox::InputFile);
    settings.outputPath = boxes_.Shown(HistoryBox::OutputFile);
    const auto take = [this](HistoryBox box, std::string& bytes) {
        FileText text = boxes_.AsFileText(box);
        if (!text.Complete()) {
            services_.dialogs.ShowMessage(MessageKind::Error,
                                          "The " + BoxName(box) + " box holds " + UnheldForMessage(text.unheld) +
                                              ", a character that the flat file's encoding, " + FileEncodingName() +
                                              ", cannot hold.",
                                          MessageButtons::Ok);
            return false;
        }
        bytes = std::move(text.bytes);
        return true;
    };
    for (int i = 0; i < kLevelCount; ++i) {
        if (!take(LevelBox(i), settings.levelTexts[i]))
            return std::nullopt;
    }
    if (!take(HistoryBox::PagePattern, settings.pagePattern) || !take(HistoryBox::RefPattern, settings.refPattern))
        return std::nullopt;
    TakeAtRunStart(WithCheckBoxes(preferences_, view_), settings);
    return settings;
}

bool RunController::PassesRunChecks(const RunSettings& settings)
{
    const RunCheck check = CheckRunInputs(settings);
    if (!check.Passed())
        services_.dialogs.ShowMessage(MessageKind::Error, WithFileAndReason(check.message, check.file, check.reason),
                                      MessageButtons::Ok);
    return check.Passed();
}

// The user's own input is never offered for overwriting: an output that is
// the input through a link or another spelling is refused first, as the run
// would refuse it; so is a folder, and a name Windows takes for a device.
bool RunController::PassesOutputChecks(const RunSettings& settings)
{
    const RunCheck check = CheckRunOutput(settings);
    if (!check.Passed())
        ReportError(services_.dialogs, EFCreateError(check.message, {check.file, check.reason}));
    return check.Passed();
}

bool RunController::ConfirmOverwrite()
{
    const std::string path = boxes_.Shown(HistoryBox::OutputFile);
    if (!OutputExists(path))
        return true;
    const MessageAnswer answer =
        services_.dialogs.ShowMessageWithNote(MessageKind::Warning, "Output File Exists.  Overwrite?",
                                              WhatReplacingLoses(path), MessageButtons::YesNoCancel);
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

void RunController::RunPass(const std::function<void(RunHost&)>& pass)
{
    if (services_.runPass)
        services_.runPass(*this, pass);
    else
        pass(*this);
}

void RunController::RunAndReport(const RunSettings& settings)
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
    ShowRunEnd(settings, result);
}

bool RunController::CloseRequested()
{
    if (!running_)
        return true;
    cancelRequested_ = true;
    closePending_ = true;
    return false;
}

// True when the window was closed during the run or preview just ended; it
// closes now.
bool RunController::CloseIfPending()
{
    if (!closePending_)
        return false;
    closePending_ = false;
    view_.CloseWindow();
    return true;
}

// Level records with IDs that name one of the levels, read as plain record
// codes because the switch is off: the likely reason for missing references.
std::string RunController::IdRecordsAdvice(std::int32_t unreadIdLevelRecords) const
{
    if (unreadIdLevelRecords == 0 || preferences_.SwitchOn(RunSwitch::IdRecords))
        return {};
    const std::string count = unreadIdLevelRecords == 1 ? "1 record code of this file names"
                                                        : std::to_string(unreadIdLevelRecords) +
                                                              " record codes of this file name";
    return count + " a level in the form <RD,ID:n:Level>, as later Folio versions write level records. Switch on "
                   "File > Preferences > " +
           WithoutAccessKey(RowOf(Preference::IdRecords).caption) + " to read them as such.";
}

// References an earlier run wrote into the input, kept beside the new ones
// because the preference is off.
std::string RunController::EarlierReferencesAdvice(std::int32_t kept, bool byPreview) const
{
    if (kept == 0)
        return {};
    return std::string(byPreview ? "The part of the file read holds " : "This file already holds ") +
           Counted(kept, "reference") + " from an earlier run; the output " + (byPreview ? "would have" : "has") +
           " both. Switch on File > Preferences > " + WithoutAccessKey(RowOf(Preference::ReplaceReferences).caption) +
           " to replace " + (kept == 1 ? "it." : "them.");
}

// The notes name the file without its folder, as the screen shows it; the
// level name goes to the screen from the file's text.
void RunController::LevelsLoaded(const std::string& file, const std::string& skipped)
{
    levelsFile_ = file.substr(file.find_last_of("/\\") + 1);
    skippedLevelName_ = skipped;
}

// Sentences for the end box and the preview: each note begins with a
// capital and ends with a full stop.
std::vector<std::string> RunController::LevelsAdvice(const RunSettings& settings, const LevelCensus& seen,
                                                     std::int32_t unreadIdLevelRecords) const
{
    std::vector<std::string> advice;
    std::string note = IdRecordsAdvice(unreadIdLevelRecords).empty() ? UnmatchedLevelsNote(settings, seen) : "";
    if (!note.empty()) {
        note[0] = ToUpperAscii(note[0]);
        advice.push_back(ScreenTextFromFile(note + "."));
    }
    const std::string skipped = SkippedFirstLevelNote(
        levelsFile_, {skippedLevelName_, ScreenTextFromFile(skippedLevelName_)}, "this file", settings, seen);
    if (!skipped.empty())
        advice.push_back(skipped + ". Type it into a level box to use it.");
    return advice;
}

void RunController::ShowRunEnd(const RunSettings& settings, RunResult& result)
{
    if (result.cancelled) {
        const MessageAnswer answer = services_.dialogs.ShowMessage(
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
    // between it and the summary.
    std::string text = RunSummary(settings.earlierReferences, result.refCount, result.earlierReferences) + "\r";
    const std::string advice[] = {
        IdRecordsAdvice(result.unreadIdLevelRecords),
        EarlierReferencesAdvice(settings.earlierReferences == EarlierReferences::Keep ? result.earlierReferences : 0,
                                false),
        LookAlikesNote(result.earlierLookAlikes, false),
        HeadingsCutNote(result.headingsCut, settings.longestEarlierReference),
        ReferencesCutNote(result.referencesCut, settings.longestEarlierReference, false),
        LaterLineRecordsAdvice(result.laterLineRecords, preferences_, false)};
    bool advised = false;
    std::vector<std::string> pieces(std::begin(advice), std::end(advice));
    for (std::string& levels : LevelsAdvice(settings, result.levelsSeen, result.unreadIdLevelRecords))
        pieces.push_back(std::move(levels));
    for (const std::string& piece : pieces) {
        if (!piece.empty())
            text += "\r" + piece + "\r";
        advised = advised || !piece.empty();
    }
    if (advised)
        text += "\r";
    if (services_.dialogs.ShowMessage(MessageKind::Confirm, text + "View output file?", MessageButtons::YesNo) ==
        MessageAnswer::Yes)
        viewer_.Launch(boxes_.Shown(HistoryBox::OutputFile));
}

// Written in place, the partial output could not be removed: the user must
// not believe it gone.
void RunController::ReportFailedRemoval(const std::string& path)
{
    services_.dialogs.ShowMessage(
        MessageKind::Error,
        WithFileAndReason("The partial output could not be removed.", path, LastFailureReason()),
        MessageButtons::Ok);
}

void RunController::UpdateBeginButton()
{
    if (running_)
        return;
    const std::string input = boxes_.Shown(HistoryBox::InputFile);
    const std::string output = boxes_.Shown(HistoryBox::OutputFile);
    beginEnabled_ = !input.empty() && !output.empty() && output != input && !boxes_.Shown(HistoryBox::RefPattern).empty();
    view_.EnableBegin(beginEnabled_);
}

}  // namespace pellimar
