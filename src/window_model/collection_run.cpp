// Several files in one run, or their preview.
#include "window_model/collection_run.h"

#include <cctype>

#include "run/level_notes.h"
#include "run/output_fates.h"
#include "run/output_folder.h"
#include "run/plan_checks.h"
#include "run/run_summary.h"
#include "window_model/error_box.h"
#include "window_model/output_replacement.h"
#include "window_model/screen_text.h"
#include "window_model/window_run_settings.h"

namespace pellimar {
namespace {

std::vector<std::string> Told(const std::vector<PlanProblem>& problems)
{
    std::vector<std::string> told;
    for (const PlanProblem& problem : problems)
        told.push_back(ProblemText(problem));
    return told;
}

// The outputs grouped by what they are now, a line a group in the order of
// the fates: "Converted by this run: a.fff, b.fff".
std::string FatesText(const std::vector<std::string>& outputs, const std::vector<OutputFate>& fates)
{
    std::string text;
    for (const OutputFate fate : {OutputFate::Converted, OutputFate::HoldsPartToCancel, OutputFate::HoldsPartToFailure,
                                  OutputFate::Removed, OutputFate::LeftAsItWas, OutputFate::NotWritten}) {
        std::vector<std::string> named;
        for (std::size_t i = 0; i < outputs.size(); ++i) {
            if (fates[i] == fate)
                named.push_back(outputs[i]);
        }
        if (named.empty())
            continue;
        std::string label = FateWords(fate);
        label[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(label[0])));
        text += (text.empty() ? "" : "\r") + label + ": " + Listed(named, ", ");
    }
    return text;
}

// What deleting the output cut short would leave under its name.
std::string DeletingLeaves(const OutputFile& partial)
{
    if (partial.WritesInPlace())
        return partial.Path() + " was being written in place, over the earlier file. Deleting it leaves no file "
                                "under its name.";
    return partial.Path() + " was being written. Deleting it leaves " +
           (partial.ReplacesFile() ? "the earlier file under its name as it was." : "no file under its name.");
}

// "The run would make 36 references in 3 files:", and what would fail.
std::string PreviewHeading(const ReportTotals& totals, EarlierReferences earlier)
{
    const std::string files = Counted(totals.converted, "file");
    std::string heading =
        earlier == EarlierReferences::Remove
            ? "The run would remove " + Counted(totals.earlierFound, "earlier reference") + " from " + files
            : "The run would make " + Counted(totals.references, "reference") + " in " + files;
    if (earlier == EarlierReferences::Replace && totals.earlierFound > 0)
        heading += ", replacing " + Counted(totals.earlierFound, "earlier reference");
    if (totals.failed > 0)
        heading += "; " + Counted(totals.failed, "file") + " would fail";
    return heading + ":";
}

// A reference as a preview lists it under its file: its line, the
// reference, and the start of its record.
std::string ReferenceLine(const PreviewReference& reference)
{
    return "Line " + std::to_string(reference.line) + ": " + ScreenTextFromFile(reference.text) + " | " +
           ScreenTextFromFile(reference.recordStart);
}

// A file's row: its counts, or why it did not convert and what its output
// is now; under it its notes, and for a preview first its level names and
// the first references, as a file alone's preview shows them.
PreviewFile FileRow(const RunReport& report, std::size_t i)
{
    const FileOutcome& outcome = report.Outcome(i);
    const std::string& input = report.File(i).input;
    const bool preview = report.Plan().mode != RunMode::Convert;
    PreviewFile row{input, {}, {}, {}};
    switch (outcome.state) {
        case FileOutcome::State::Failed:
            row.remark = FailureText(outcome, input);
            break;
        case FileOutcome::State::NotRun:
            row.counts = "not converted";
            break;
        case FileOutcome::State::Cancelled:
            row.counts = "cut short";
            break;
        case FileOutcome::State::Converted:
            row.counts = FileCountsOf(report, i);
            break;
    }
    if (!preview && outcome.state != FileOutcome::State::Converted)
        row.remark += (row.remark.empty() ? "" : "\r") + FateWords(report.Fate(i));
    if (preview && outcome.state == FileOutcome::State::Converted) {
        for (const std::string& line : LevelLines(outcome.result.levelsSeen))
            row.details.push_back(ScreenTextFromFile(line));
        for (const PreviewReference& reference : outcome.references)
            row.details.push_back(ReferenceLine(reference));
    }
    for (std::string& note : WindowNotes(report, i))
        row.details.push_back(std::move(note));
    return row;
}

}  // namespace

bool CollectionRun::HasReferencePattern(const char* before)
{
    if (!boxes_.Shown(HistoryBox::RefPattern).empty())
        return true;
    dialogs_.ShowMessage(MessageKind::Error,
                         std::string("The Reference Pattern box is empty: fill it in before ") + before +
                             " several files.",
                         MessageButtons::Ok);
    return false;
}

bool CollectionRun::ConvertSeveralFiles(std::vector<std::string> inputs)
{
    if (session_.IsRunning())
        return false;
    bool ran = false;
    Guarded(dialogs_, [&] {
        if (!HasReferencePattern("converting"))
            return;
        if (inputs.empty()) {
            std::optional<std::vector<std::string>> chosen = choices_.SeveralInputs();
            if (!chosen)
                return;
            inputs = std::move(*chosen);
        }
        if (const std::optional<std::string> folder = ChooseOutputFolder(inputs))
            ran = Convert(inputs, *folder);
    });
    return ran;
}

// A folder whose outputs would take the inputs' places is refused as soon
// as it is chosen, and the dialog comes back for another; the files chosen
// stay chosen.
std::optional<std::string> CollectionRun::ChooseOutputFolder(const std::vector<std::string>& inputs)
{
    for (;;) {
        std::optional<std::string> folder = choices_.OutputFolder(inputs.front());
        if (!folder)
            return std::nullopt;
        const std::vector<PlanProblem> held = OutputsThatAreInputs(PlanCollection(inputs, *folder));
        if (held.empty())
            return folder;
        dialogs_.ShowMessageWithNote(MessageKind::Error,
                                     "The outputs cannot go into " + *folder +
                                         ": it holds inputs of this run. Choose another folder.",
                                     Listed(Told(held), "\r"), MessageButtons::Ok);
    }
}

// Errors from the run reach the general error handler.
bool CollectionRun::Convert(const std::vector<std::string>& inputs, const std::string& folder)
{
    std::optional<RunPlan> plan = WindowPlan(RunMode::Convert, PlanCollection(inputs, folder), Parts());
    if (!plan)
        return false;
    plan->folder = folder;
    if (!PassesChecks(*plan))
        return false;
    const std::vector<std::string> existing = ExistingOutputs(plan->files);
    if (!ConfirmOverwritingAll(existing) || !OutputFolderReady(folder))
        return false;
    // Only files the user agreed to replace are replaced.
    plan->replaceExisting = !existing.empty();
    RunAndReport(*plan);
    return true;
}

// A folder typed that is not there yet is made, as the command line makes
// its -d folder, once the run is sure to go ahead.
bool CollectionRun::OutputFolderReady(const std::string& folder)
{
    if (!LookAtOutputFolder(folder).toBeMade)
        return true;
    const std::string reason = MakeOutputFolder(folder);
    if (!reason.empty())
        dialogs_.ShowMessage(MessageKind::Error, WithFileAndReason(kFolderCannotTakeOutputs, folder, reason),
                             MessageButtons::Ok);
    return reason.empty();
}

WindowRunParts CollectionRun::Parts() const
{
    return {boxes_, view_, preferences_, levelNames_, dialogs_};
}

bool CollectionRun::PassesChecks(const RunPlan& plan)
{
    const std::vector<PlanProblem> problems = CheckPlan(plan);
    if (problems.empty())
        return true;
    dialogs_.ShowMessage(MessageKind::Error, Listed(Told(problems), "\r\r"), MessageButtons::Ok);
    return false;
}

// One question for them all; doing nothing is its only other answer, so it
// offers no No beside Cancel.
bool CollectionRun::ConfirmOverwritingAll(const std::vector<std::string>& existing)
{
    if (existing.empty())
        return true;
    const std::string text = existing.size() == 1 ? "1 output file exists. Overwrite?"
                                                   : std::to_string(existing.size()) + " output files exist. Overwrite?";
    std::string note = Listed(existing, "\r");
    for (const std::string& path : existing) {
        if (const std::string loses = WhatReplacingLoses(path); !loses.empty())
            note += "\r\r" + path + ":\r" + loses;
    }
    return dialogs_.ShowMessageWithNote(MessageKind::Warning, text, note, MessageButtons::YesCancel) ==
           MessageAnswer::Yes;
}

void CollectionRun::RunAndReport(const RunPlan& plan)
{
    RunReport report = RunInWindow(session_, plan, OutputsStanding(plan.files));
    if (session_.ClosePending()) {
        // Nobody is left to ask: the file cut short is thrown away, and an
        // earlier file of its name stays.
        if (const std::optional<std::size_t> cut = report.CutShort())
            report.Outcome(*cut).result.partialOutput->Discard();
        session_.CloseIfPending();
        return;
    }
    if (const std::optional<std::size_t> cut = report.CutShort())
        AskToDeleteCurrent(report, *cut);
    else
        ShowEnd(report);
}

// The folder, then each file with its count and notes, or why it did not
// convert and what its output is now.
void CollectionRun::ShowEnd(const RunReport& report)
{
    const RunPlan& plan = report.Plan();
    const ReportTotals totals = report.Totals();
    std::string heading = session_.CancelRequested() ? "Operation Canceled.\r" : "";
    heading +=
        CollectionSummary(plan.settings.earlierReferences, totals.converted, totals.references, totals.earlierFound);
    if (totals.notRun > 0)
        heading += "\r" + Counted(totals.notRun, "file") + " not converted.";
    if (totals.failed > 0)
        heading += "\r" + Counted(totals.failed, "file") + " failed.";
    heading += "\rThe outputs are in " + *plan.folder + ".";
    PreviewShown shown{heading, {}, {}, {}, {}, "Convert Several Files"};
    for (std::size_t i = 0; i < report.FileCount(); ++i)
        shown.files.push_back(FileRow(report, i));
    dialogs_.ShowPreview(shown);
}

// Only the file being written is in question; the note says what deleting
// it leaves, and what every other output is now.
void CollectionRun::AskToDeleteCurrent(RunReport& report, std::size_t current)
{
    OutputFile& partial = *report.Outcome(current).result.partialOutput;
    std::vector<std::string> others;
    std::vector<OutputFate> fates;
    for (std::size_t i = 0; i < report.FileCount(); ++i) {
        if (i != current) {
            others.push_back(report.File(i).output);
            fates.push_back(report.Fate(i));
        }
    }
    std::string note = DeletingLeaves(partial);
    if (!others.empty())
        note += "\r\r" + FatesText(others, fates);
    const MessageAnswer answer = dialogs_.ShowMessageWithNote(
        MessageKind::Confirm, "Operation Canceled.\rDelete output file?", note, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes)
        partial.PutInPlace();
    else if (!partial.Discard())
        ReportFailedRemoval(dialogs_, partial.Path());
}

void CollectionRun::PreviewSeveralFiles()
{
    if (session_.IsRunning())
        return;
    Guarded(dialogs_, [&] {
        if (!HasReferencePattern("previewing"))
            return;
        if (const std::optional<std::vector<std::string>> inputs =
                choices_.SeveralInputs(FileDialogPurpose::PreviewInputs))
            Preview(*inputs);
    });
}

// The texts the preview reads go into their boxes' histories, as for a
// single file's preview. It makes the checks of a collection but those of
// its outputs, as Preview makes those of Begin but the output's; each file
// is listed with what a run would make of it and the level names it holds.
void CollectionRun::Preview(const std::vector<std::string>& inputs)
{
    for (int i = 0; i < kHistoryBoxCount; ++i) {
        if (const auto box = static_cast<HistoryBox>(i); box != HistoryBox::InputFile && box != HistoryBox::OutputFile)
            boxes_.AddShown(box);
    }
    std::vector<CollectionFile> files;
    for (const std::string& input : inputs)
        files.push_back({input, {}});
    const std::optional<RunPlan> plan = WindowPlan(RunMode::DryRun, std::move(files), Parts());
    if (!plan || !PassesChecks(*plan))
        return;
    const RunReport report = RunInWindow(session_, *plan);
    if (session_.CloseIfPending() || session_.CancelRequested())
        return;
    PreviewShown shown{PreviewHeading(report.Totals(), plan->settings.earlierReferences), {}, {}, {}, {}};
    for (std::size_t i = 0; i < report.FileCount(); ++i)
        shown.files.push_back(FileRow(report, i));
    dialogs_.ShowPreview(shown);
}

}  // namespace pellimar
