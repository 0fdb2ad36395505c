// Several files converted in one run: the checks before it with every reason
// told at once, the one question for all the outputs that exist, the run,
// and the summary or the question about the file cut short.
#include <cctype>

#include "run/collection_checks.h"
#include "run/output_fates.h"
#include "run/run_notes.h"
#include "run/run_summary.h"
#include "window_model/collection_pass_host.h"
#include "window_model/error_box.h"
#include "window_model/output_replacement.h"
#include "window_model/run_controller.h"

namespace pellimar {
namespace {

// A file with something to tell, its count and the line of the first:
// "a.fff (3, first on line 4)".
void AddTallied(std::vector<std::string>& files, const std::string& input, const Tally& tally)
{
    if (tally.count > 0)
        files.push_back(input + " (" + std::to_string(tally.count) + FirstLine(tally) + ")");
}

std::string Files(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " file" : " files");
}

std::string Failure(const FileOutcome& outcome, const CollectionFile& file)
{
    const ErrorContext& context = outcome.errorContext;
    return WithFileAndReason(outcome.error, context.file.empty() ? file.input : context.file, context.reason);
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

}  // namespace

CollectionTally TallyOf(const std::vector<FileOutcome>& outcomes, const std::vector<CollectionFile>& files,
                        EarlierReferences earlier)
{
    CollectionTally tally;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        const FileOutcome& outcome = outcomes[i];
        tally.converted += outcome.state == FileOutcome::State::Converted ? 1 : 0;
        tally.notRun += outcome.state == FileOutcome::State::NotRun ? 1 : 0;
        tally.references += outcome.result.refCount;
        tally.earlierFound += outcome.result.earlierReferences;
        if (outcome.state == FileOutcome::State::Failed)
            tally.failures.push_back(Failure(outcome, files[i]));
        if (outcome.result.unreadIdLevelRecords > 0)
            tally.unreadIds.push_back(files[i].input);
        if (outcome.result.earlierReferences > 0 && earlier == EarlierReferences::Keep)
            tally.keptEarlier.push_back(files[i].input);
        if (outcome.result.laterLineRecords > 0)
            tally.laterLine.push_back(files[i].input + " (" + std::to_string(outcome.result.laterLineRecords) + ")");
        AddTallied(tally.lookAlikes, files[i].input, outcome.result.earlierLookAlikes);
        AddTallied(tally.headingsCut, files[i].input, outcome.result.headingsCut);
        AddTallied(tally.referencesCut, files[i].input, outcome.result.referencesCut);
    }
    return tally;
}

void RunController::ConvertCollection(const std::vector<std::string>& inputs, const std::string& folder)
{
    if (running_)
        return;
    Guarded(services_.dialogs, [&] {
        cancelRequested_ = false;
        std::optional<RunSettings> settings = SettingsForRun();
        if (!settings)
            return;
        const std::vector<CollectionFile> files = PlanCollection(inputs, folder);
        if (!PassesCollectionChecks(files, folder, *settings))
            return;
        const std::vector<std::string> existing = ExistingOutputs(files);
        if (!ConfirmOverwritingAll(existing))
            return;
        // Only files the user agreed to replace are replaced.
        settings->replaceOutput = !existing.empty();
        RunCollectionAndReport(files, *settings, OutputsStanding(files));
    });
}

bool RunController::PassesCollectionChecks(const std::vector<CollectionFile>& files, const std::string& folder,
                                           const RunSettings& settings)
{
    const std::vector<CollectionProblem> problems = CheckCollection(files, folder, settings);
    if (problems.empty())
        return true;
    std::vector<std::string> told;
    for (const CollectionProblem& problem : problems)
        told.push_back(WithFileAndReason(problem.message, problem.file, problem.reason));
    services_.dialogs.ShowMessage(MessageKind::Error, Listed(told, "\r\r"), MessageButtons::Ok);
    return false;
}

// One question for them all; doing nothing is its only other answer, so it
// offers no No beside Cancel.
bool RunController::ConfirmOverwritingAll(const std::vector<std::string>& existing)
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
    return services_.dialogs.ShowMessageWithNote(MessageKind::Warning, text, note, MessageButtons::YesCancel) ==
           MessageAnswer::Yes;
}

void RunController::RunCollectionAndReport(const std::vector<CollectionFile>& files, const RunSettings& settings,
                                           const std::vector<bool>& stood)
{
    std::vector<std::string> inputs;
    for (const CollectionFile& file : files)
        inputs.push_back(file.input);
    collectionShown_.Begin(inputs);
    std::vector<FileOutcome> outcomes;
    RunPass([&](RunHost& host) {
        CollectionPassHost collectionHost(host, collectionShown_);
        outcomes = RunCollection(files, settings, collectionHost);
    });
    if (closePending_) {
        // Nobody is left to ask: the file cut short is thrown away, and an
        // earlier file of its name stays.
        for (FileOutcome& outcome : outcomes) {
            if (outcome.result.partialOutput)
                outcome.result.partialOutput->Discard();
        }
        CloseIfPending();
        return;
    }
    ShowCollectionEnd(outcomes, files, stood, settings.earlierReferences);
}

// Every output the run did not convert is named by what it is now.
void RunController::ShowCollectionEnd(std::vector<FileOutcome>& outcomes, const std::vector<CollectionFile>& files,
                                      const std::vector<bool>& stood, EarlierReferences earlier)
{
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        if (outcomes[i].state == FileOutcome::State::Cancelled) {
            AskToDeleteCurrent(outcomes, i, files, stood);
            return;
        }
    }
    const CollectionTally tally = TallyOf(outcomes, files, earlier);
    std::string text = cancelRequested_ ? "Operation Canceled.\r" : "";
    text += CollectionSummary(earlier, static_cast<std::int64_t>(tally.converted), tally.references,
                              tally.earlierFound);
    if (tally.notRun > 0)
        text += "\r" + Files(tally.notRun) + " not converted.";
    if (!tally.failures.empty())
        text += "\r\r" + Files(tally.failures.size()) + " failed:\r" + Listed(tally.failures, "\r");
    if (tally.converted < outcomes.size())
        text += "\r\r" + FatesText(files, FatesOf(outcomes, stood));
    if (const std::string advice = CollectionAdvice(tally, false); !advice.empty())
        text += "\r\r" + advice;
    services_.dialogs.ShowMessage(tally.failures.empty() ? MessageKind::Information : MessageKind::Warning, text,
                                  MessageButtons::Ok);
}

// The notes a single run gives after its summary, once for the whole, naming
// the files concerned; `foreseen` for a preview, which wrote nothing.
std::string RunController::CollectionAdvice(const CollectionTally& tally, bool foreseen) const
{
    std::vector<std::string> advice;
    if (!tally.unreadIds.empty() && !preferences_.SwitchOn(RunSwitch::IdRecords))
        advice.push_back("Record codes of " + Listed(tally.unreadIds, ", ") +
                         " name a level in the form <RD,ID:n:Level>, as later Folio versions write level records. "
                         "Switch on File > Preferences > " +
                         WithoutAccessKey(RowOf(Preference::IdRecords).caption) + " to read them as such.");
    if (!tally.keptEarlier.empty())
        advice.push_back(Listed(tally.keptEarlier, ", ") + (foreseen ? " already hold" : " already held") +
                         " references from an earlier run; the outputs " + (foreseen ? "would have" : "have") +
                         " both. Switch on File > Preferences > " +
                         WithoutAccessKey(RowOf(Preference::ReplaceReferences).caption) + " to replace them.");
    if (!tally.laterLine.empty())
        advice.push_back(preferences_.On(Preference::LineEndRecords)
                             ? "Records whose text begins more than 64 KB after their record code's line break " +
                                   std::string(foreseen ? "get" : "got") + " no reference in " +
                                   Listed(tally.laterLine, ", ") + "."
                             : "Records that begin on the line after their record code " +
                                   std::string(foreseen ? "get" : "got") + " no reference in " +
                                   Listed(tally.laterLine, ", ") + ". Switch on File > Preferences > " +
                                   WithoutAccessKey(RowOf(Preference::LineEndRecords).caption) +
                                   " to give them one.");
    const std::string longest = std::to_string(kLongestEarlierReference / 1024) + " KB";
    if (!tally.lookAlikes.empty())
        advice.push_back("Texts after record codes begin like a reference but are not one in " +
                         Listed(tally.lookAlikes, ", ") + (foreseen ? "; a run keeps them." : "; they were kept."));
    if (!tally.headingsCut.empty())
        advice.push_back("Headings longer than " + longest + " keep their first " + longest + " in " +
                         Listed(tally.headingsCut, ", ") + ".");
    if (!tally.referencesCut.empty())
        advice.push_back(std::string("References ") + (foreseen ? "would be" : "were") + " cut to " + longest +
                         ", the longest a later run recognises, in " + Listed(tally.referencesCut, ", ") + ".");
    return Listed(advice, "\r\r");
}

// Only the file being written is in question; the note says what deleting
// it leaves, and what every other output is now.
void RunController::AskToDeleteCurrent(std::vector<FileOutcome>& outcomes, std::size_t current,
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
    const MessageAnswer answer = services_.dialogs.ShowMessageWithNote(
        MessageKind::Confirm, "Operation Canceled.\rDelete output file?", note, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes)
        partial.PutInPlace();
    else if (!partial.Discard())
        ReportFailedRemoval(partial.Path());
}

}  // namespace pellimar
