// Several files in one run, or their preview.
#include "window_model/collection_run.h"

#include <cctype>

#include "run/collection_checks.h"
#include "run/output_fates.h"
#include "run/run_summary.h"
#include "window_model/error_box.h"
#include "window_model/output_replacement.h"
#include "window_model/window_run_settings.h"

namespace pellimar {
namespace {

std::string Files(std::int64_t count)
{
    return std::to_string(count) + (count == 1 ? " file" : " files");
}

std::vector<std::string> Told(const std::vector<CollectionProblem>& problems)
{
    std::vector<std::string> told;
    for (const CollectionProblem& problem : problems)
        told.push_back(WithFileAndReason(problem.message, problem.file, problem.reason));
    return told;
}

// Each file that failed, with its reason.
std::vector<std::string> Failures(const std::vector<FileOutcome>& outcomes, const std::vector<std::string>& inputs)
{
    std::vector<std::string> failures;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        const FileOutcome& outcome = outcomes[i];
        const ErrorContext& context = outcome.errorContext;
        if (outcome.state == FileOutcome::State::Failed)
            failures.push_back(
                WithFileAndReason(outcome.error, context.file.empty() ? inputs[i] : context.file, context.reason));
    }
    return failures;
}

std::vector<std::string> InputsOf(const std::vector<CollectionFile>& files)
{
    std::vector<std::string> inputs;
    for (const CollectionFile& file : files)
        inputs.push_back(file.input);
    return inputs;
}

// The outputs grouped by what they are now, a line a group in the order of
// the fates: "Converted by this run: a.fff, b.fff".
std::string FatesText(const std::vector<CollectionFile>& files, const std::vector<OutputFate>& fates)
{
    std::string text;
    for (const OutputFate fate : {OutputFate::Converted, OutputFate::HoldsPartToCancel, OutputFate::HoldsPartToFailure,
                                  OutputFate::Removed, OutputFate::LeftAsItWas, OutputFate::NotWritten}) {
        std::vector<std::string> outputs;
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (fates[i] == fate)
                outputs.push_back(files[i].output);
        }
        if (outputs.empty())
            continue;
        std::string label = FateWords(fate);
        label[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(label[0])));
        text += (text.empty() ? "" : "\r") + label + ": " + Listed(outputs, ", ");
    }
    return text;
}

std::vector<OutputFate> FatesOf(const std::vector<FileOutcome>& outcomes, const std::vector<bool>& stood)
{
    std::vector<OutputFate> fates;
    for (std::size_t i = 0; i < outcomes.size(); ++i)
        fates.push_back(FateOf(outcomes[i], stood[i]));
    return fates;
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
std::string PreviewHeading(const CollectionTally& tally, EarlierReferences earlier)
{
    const std::string files = Counted(tally.converted, "file");
    std::string heading =
        earlier == EarlierReferences::Remove
            ? "The run would remove " + Counted(tally.earlierFound, "earlier reference") + " from " + files
            : "The run would make " + Counted(tally.references, "reference") + " in " + files;
    if (earlier == EarlierReferences::Replace && tally.earlierFound > 0)
        heading += ", replacing " + Counted(tally.earlierFound, "earlier reference");
    if (tally.failed > 0)
        heading += "; " + Counted(tally.failed, "file") + " would fail";
    return heading + ":";
}

PreviewFile FileRow(const FileOutcome& outcome, const std::string& input, EarlierReferences earlier)
{
    const RunResult& result = outcome.result;
    if (outcome.state == FileOutcome::State::Failed)
        return {input, "", WithFileAndReason(outcome.error, outcome.errorContext.file, outcome.errorContext.reason)};
    std::string remark;
    if (earlier == EarlierReferences::Keep && result.EarlierReferences() > 0)
        remark = "holds " + Counted(result.EarlierReferences(), "reference") + " from an earlier run";
    return {input, FileCounts(earlier, result.refCount, result.EarlierReferences()), remark};
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

void CollectionRun::ConvertSeveralFiles(std::vector<std::string> inputs)
{
    if (session_.IsRunning())
        return;
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
            Convert(inputs, *folder);
    });
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
        const std::vector<CollectionProblem> held = OutputsThatAreInputs(PlanCollection(inputs, *folder));
        if (held.empty())
            return folder;
        dialogs_.ShowMessageWithNote(MessageKind::Error,
                                     "The outputs cannot go into " + *folder +
                                         ": it holds inputs of this run. Choose another folder.",
                                     Listed(Told(held), "\r"), MessageButtons::Ok);
    }
}

// Errors from the run reach the general error handler.
void CollectionRun::Convert(const std::vector<std::string>& inputs, const std::string& folder)
{
    std::optional<RunSettings> settings = RunSettingsOfWindow(boxes_, view_, preferences_, dialogs_);
    if (!settings)
        return;
    const std::vector<CollectionFile> files = PlanCollection(inputs, folder);
    if (!PassesChecks(files, folder, *settings))
        return;
    const std::vector<std::string> existing = ExistingOutputs(files);
    if (!ConfirmOverwritingAll(existing))
        return;
    // Only files the user agreed to replace are replaced.
    settings->replaceOutput = !existing.empty();
    RunAndReport(files, *settings, OutputsStanding(files));
}

bool CollectionRun::PassesChecks(const std::vector<CollectionFile>& files, const std::string& folder,
                                 const RunSettings& settings)
{
    const std::vector<CollectionProblem> problems = CheckCollection(files, folder, settings);
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

void CollectionRun::RunAndReport(const std::vector<CollectionFile>& files, const RunSettings& settings,
                                 const std::vector<bool>& stood)
{
    std::vector<FileOutcome> outcomes;
    session_.RunCollection(InputsOf(files),
                           [&](CollectionHost& host) { outcomes = RunCollection(files, settings, host); });
    if (session_.ClosePending()) {
        // Nobody is left to ask: the file cut short is thrown away, and an
        // earlier file of its name stays.
        for (FileOutcome& outcome : outcomes) {
            if (outcome.result.partialOutput)
                outcome.result.partialOutput->Discard();
        }
        session_.CloseIfPending();
        return;
    }
    ShowEnd(outcomes, files, stood, settings);
}

// Every output the run did not convert is named by what it is now.
void CollectionRun::ShowEnd(std::vector<FileOutcome>& outcomes, const std::vector<CollectionFile>& files,
                            const std::vector<bool>& stood, const RunSettings& settings)
{
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        if (outcomes[i].state == FileOutcome::State::Cancelled) {
            AskToDeleteCurrent(outcomes, i, files, stood);
            return;
        }
    }
    const std::vector<std::string> inputs = InputsOf(files);
    const CollectionTally tally = TallyOf(outcomes, files, settings.earlierReferences);
    const std::vector<std::string> failures = Failures(outcomes, inputs);
    std::string text = session_.CancelRequested() ? "Operation Canceled.\r" : "";
    text += CollectionSummary(settings.earlierReferences, tally.converted, tally.references, tally.earlierFound);
    if (tally.notRun > 0)
        text += "\r" + Files(tally.notRun) + " not converted.";
    if (!failures.empty())
        text += "\r\r" + Files(static_cast<std::int64_t>(failures.size())) + " failed:\r" + Listed(failures, "\r");
    if (tally.converted < static_cast<std::int64_t>(outcomes.size()))
        text += "\r\r" + FatesText(files, FatesOf(outcomes, stood));
    if (const std::string notes = Notes(tally, false, settings); !notes.empty())
        text += "\r\r" + notes;
    dialogs_.ShowMessage(failures.empty() ? MessageKind::Information : MessageKind::Warning, text,
                         MessageButtons::Ok);
}

std::string CollectionRun::Notes(const CollectionTally& tally, bool foretold, const RunSettings& settings) const
{
    return Joined(CollectionNotes(tally, Voice::Window, foretold, preferences_, settings.longestEarlierReference),
                  "\r\r");
}

// Only the file being written is in question; the note says what deleting
// it leaves, and what every other output is now.
void CollectionRun::AskToDeleteCurrent(std::vector<FileOutcome>& outcomes, std::size_t current,
                                       const std::vector<CollectionFile>& files, const std::vector<bool>& stood)
{
    if (!outcomes[current].result.partialOutput)
        return;
    OutputFile& partial = *outcomes[current].result.partialOutput;
    std::vector<CollectionFile> others;
    std::vector<OutputFate> fates;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        if (i != current) {
            others.push_back(files[i]);
            fates.push_back(FateOf(outcomes[i], stood[i]));
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
// its outputs, as Preview makes those of Begin but the output's.
void CollectionRun::Preview(const std::vector<std::string>& inputs)
{
    for (int i = 0; i < kHistoryBoxCount; ++i) {
        if (const auto box = static_cast<HistoryBox>(i); box != HistoryBox::InputFile && box != HistoryBox::OutputFile)
            boxes_.AddShown(box);
    }
    std::optional<RunSettings> settings = RunSettingsOfWindow(boxes_, view_, preferences_, dialogs_);
    if (!settings)
        return;
    if (const std::vector<CollectionProblem> problems = CheckCollectionInputs(inputs, *settings); !problems.empty()) {
        dialogs_.ShowMessage(MessageKind::Error, Listed(Told(problems), "\r\r"), MessageButtons::Ok);
        return;
    }
    settings->dryRun = true;
    std::vector<CollectionFile> files;
    for (const std::string& input : inputs)
        files.push_back({input, {}});
    std::vector<FileOutcome> outcomes;
    session_.RunCollection(inputs, [&](CollectionHost& host) { outcomes = RunCollection(files, *settings, host); });
    if (session_.CloseIfPending() || session_.CancelRequested())
        return;
    const EarlierReferences earlier = settings->earlierReferences;
    const CollectionTally tally = TallyOf(outcomes, files, earlier);
    PreviewShown shown{PreviewHeading(tally, earlier), {}, {}, Notes(tally, true, *settings), {}};
    for (std::size_t i = 0; i < outcomes.size(); ++i)
        shown.files.push_back(FileRow(outcomes[i], inputs[i], earlier));
    dialogs_.ShowPreview(shown);
}

}  // namespace pellimar
