// Several files converted in one run: the checks before it with every reason
// told at once, the one question for all the outputs that exist, the run,
// and the summary or the question about the file cut short.
#include "run/collection_checks.h"
#include "run/run_notes.h"
#include "run/run_summary.h"
#include "window_model/collection_pass_host.h"
#include "window_model/error_box.h"
#include "window_model/output_replacement.h"
#include "window_model/run_controller.h"

namespace pellimar {
namespace {

// A box must fit on the screen: a long list is cut, and says by how much.
constexpr std::size_t kListedAtMost = 12;

std::string Listed(const std::vector<std::string>& items, const char* separator)
{
    std::string text;
    for (std::size_t i = 0; i < items.size() && i < kListedAtMost; ++i)
        text += (i == 0 ? "" : separator) + items[i];
    if (items.size() > kListedAtMost)
        text += separator + std::string("... and ") + std::to_string(items.size() - kListedAtMost) + " more.";
    return text;
}

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

}  // namespace

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
        RunCollectionAndReport(files, *settings);
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

// One question for them all: No keeps every file as it is, as Cancel does.
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
    return services_.dialogs.ShowMessageWithNote(MessageKind::Warning, text, note, MessageButtons::YesNoCancel) ==
           MessageAnswer::Yes;
}

void RunController::RunCollectionAndReport(const std::vector<CollectionFile>& files, const RunSettings& settings)
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
    ShowCollectionEnd(outcomes, files, settings.earlierReferences);
}

void RunController::ShowCollectionEnd(std::vector<FileOutcome>& outcomes, const std::vector<CollectionFile>& files,
                                      EarlierReferences earlier)
{
    std::size_t converted = 0;
    std::size_t notRun = 0;
    std::int64_t references = 0;
    std::int64_t earlierFound = 0;
    std::vector<std::string> failures;
    std::vector<std::string> unreadIds;
    std::vector<std::string> keptEarlier;
    std::vector<std::string> lookAlikes;
    std::vector<std::string> headingsCut;
    std::vector<std::string> referencesCut;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        const FileOutcome& outcome = outcomes[i];
        if (outcome.state == FileOutcome::State::Cancelled) {
            AskToDeleteCurrent(outcomes[i], converted);
            return;
        }
        converted += outcome.state == FileOutcome::State::Converted ? 1 : 0;
        notRun += outcome.state == FileOutcome::State::NotRun ? 1 : 0;
        references += outcome.result.refCount;
        earlierFound += outcome.result.earlierReferences;
        if (outcome.state == FileOutcome::State::Failed)
            failures.push_back(Failure(outcome, files[i]));
        if (outcome.result.unreadIdLevelRecords > 0)
            unreadIds.push_back(files[i].input);
        if (outcome.result.earlierReferences > 0 && earlier == EarlierReferences::Keep)
            keptEarlier.push_back(files[i].input);
        AddTallied(lookAlikes, files[i].input, outcome.result.earlierLookAlikes);
        AddTallied(headingsCut, files[i].input, outcome.result.headingsCut);
        AddTallied(referencesCut, files[i].input, outcome.result.referencesCut);
    }
    std::string text = cancelRequested_ ? "Operation Canceled.\r" : "";
    text += CollectionSummary(earlier, static_cast<std::int64_t>(converted), references, earlierFound);
    if (notRun > 0)
        text += "\r" + Files(notRun) + " not converted.";
    if (!failures.empty())
        text += "\r\r" + Files(failures.size()) + " failed:\r" + Listed(failures, "\r");
    if (!unreadIds.empty() && !preferences_.SwitchOn(RunSwitch::IdRecords))
        text += "\r\rRecord codes of " + Listed(unreadIds, ", ") +
                " name a level in the form <RD,ID:n:Level>, as later Folio versions write level records. Switch on "
                "File > Preferences > " +
                RowOf(Preference::IdRecords).caption + " to read them as such.";
    if (!keptEarlier.empty())
        text += "\r\r" + Listed(keptEarlier, ", ") +
                " already held references from an earlier run; the outputs have both. Switch on File > Preferences > " +
                RowOf(Preference::ReplaceReferences).caption + " to replace them.";
    const std::string longest = std::to_string(kLongestEarlierReference / 1024) + " KB";
    if (!lookAlikes.empty())
        text += "\r\rTexts after record codes begin like a reference but are not one in " + Listed(lookAlikes, ", ") +
                "; they were kept.";
    if (!headingsCut.empty())
        text += "\r\rHeadings longer than " + longest + " keep their first " + longest + " in " +
                Listed(headingsCut, ", ") + ".";
    if (!referencesCut.empty())
        text += "\r\rReferences were cut to " + longest + ", the longest a later run recognises, in " +
                Listed(referencesCut, ", ") + ".";
    services_.dialogs.ShowMessage(failures.empty() ? MessageKind::Information : MessageKind::Warning, text,
                                  MessageButtons::Ok);
}

// Only the file being written is in question; those done before it stay.
void RunController::AskToDeleteCurrent(FileOutcome& current, std::size_t finished)
{
    if (!current.result.partialOutput)
        return;
    OutputFile& partial = *current.result.partialOutput;
    std::string note = partial.Path() + " was being written.";
    if (finished == 1)
        note += " The file converted before it stays.";
    else if (finished > 1)
        note += " The " + Files(finished) + " converted before it stay.";
    const MessageAnswer answer = services_.dialogs.ShowMessageWithNote(
        MessageKind::Confirm, "Operation Canceled.\rDelete output file?", note, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes)
        partial.PutInPlace();
    else if (!partial.Discard())
        ReportFailedRemoval(partial.Path());
}

}  // namespace pellimar
