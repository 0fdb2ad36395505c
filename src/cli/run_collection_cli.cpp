// A collection from the command line. The outputs go through the runs' own
// replacement, so that what a file under an output's name held survives a
// failure or a cancel of that file.
#include "cli/run_collection_cli.h"

#include <algorithm>
#include <cstdio>

#include "cli/cli_host.h"
#include "cli/cli_messages.h"
#include "cli/console.h"
#include "cli/run_cli.h"
#include "run/collection_checks.h"
#include "run/output_fates.h"
#include "run/run_notes.h"
#include "run/run_summary.h"
#include "streams/output_forecast.h"
#include "streams/stop_request.h"

namespace pellimar::cli {
namespace {

using State = FileOutcome::State;

bool Named(const std::vector<CollectionProblem>& problems, const std::string& file)
{
    return std::any_of(problems.begin(), problems.end(),
                       [&](const CollectionProblem& problem) { return problem.file == file; });
}

// Every reason at once, so that one look mends them all; nothing is
// written when there is any. An output refused already (the input itself)
// is not told to want -f as well. A dry run foresees the outputs and says
// what the run would do.
bool CheckBeforeTheRun(const Configuration& configuration, const std::vector<CollectionFile>& files)
{
    std::vector<CollectionProblem> problems =
        CheckCollection(files, *configuration.outputDir, configuration.run,
                        configuration.dryRun ? OutputTrial::Foreseen : OutputTrial::Made);
    if (!configuration.force) {
        for (const std::string& existing : ExistingOutputs(files)) {
            if (!Named(problems, existing))
                problems.push_back({"Output file exists (use -f or --force to overwrite)", existing, {}});
        }
    }
    for (CollectionProblem& problem : problems) {
        InCliWords(problem.failure, problem.missingToken, problem.message, problem.reason);
        ReportError(problem.message, {problem.file, problem.reason});
    }
    if (!problems.empty())
        ReportError(Counted(static_cast<std::int64_t>(problems.size()), "problem") +
                    (configuration.dryRun ? ": nothing would be converted" : ": nothing was converted"));
    return problems.empty();
}

// One line a file, in the order given: its references on standard output,
// or its error on standard error.
void ReportFiles(const Configuration& configuration, const std::vector<CollectionFile>& files,
                 const std::vector<FileOutcome>& outcomes)
{
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        const FileOutcome& outcome = outcomes[i];
        if (outcome.state == State::Converted && !configuration.quiet) {
            const RunResult& result = outcome.result;
            const EarlierReferences earlier = configuration.run.earlierReferences;
            const std::string line =
                configuration.dryRun
                    ? DryRunLine(files[i].output, ForecastOutput(files[i].output), earlier, result)
                    : configuration.inputs[i] + ": " + FileSummary(earlier, result.refCount, result.earlierReferences);
            std::fprintf(stdout, "%s\n", line.c_str());
        } else if (outcome.state == State::Failed) {
            std::fflush(stdout);
            ReportError(outcome.error, outcome.errorContext);
            if (outcome.failedInPlace)
                NoteFailedInPlace(files[i].output);
        }
    }
}

// The files with something to count, and how many each: "a.fff (3), b.fff
// (1)"; empty when none has any.
template <typename CountOf>
std::string FilesCounting(const Configuration& configuration, const std::vector<FileOutcome>& outcomes, CountOf countOf)
{
    std::string files;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        if (const std::int32_t count = countOf(outcomes[i].result); count > 0)
            files += (files.empty() ? "" : ", ") + configuration.inputs[i] + " (" + std::to_string(count) + ")";
    }
    return files;
}

// The files with a tally, each with its count and the line of its first:
// "a.fff (3, first on line 4), b.fff (1, on line 9)".
template <typename TallyOf>
std::string FilesTallying(const Configuration& configuration, const std::vector<FileOutcome>& outcomes,
                          TallyOf tallyOf)
{
    std::string files;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        if (const Tally& tally = tallyOf(outcomes[i].result); tally.count > 0)
            files += (files.empty() ? "" : ", ") + configuration.inputs[i] + " (" + std::to_string(tally.count) +
                     FirstLine(tally) + ")";
    }
    return files;
}

// Texts that only look like earlier references, and what was cut to keep
// within the longest reference.
void NoteTallies(const Configuration& configuration, const std::vector<FileOutcome>& outcomes)
{
    const std::string longest = std::to_string(configuration.run.longestEarlierReference / 1024) + " KB";
    const std::string lookAlikes = FilesTallying(
        configuration, outcomes, [](const RunResult& result) -> const Tally& { return result.earlierLookAlikes; });
    if (!lookAlikes.empty())
        ReportError("note: texts after record codes begin like a reference but are not one in " + lookAlikes +
                    (configuration.dryRun ? "; a run keeps them." : "; they were kept."));
    const std::string headings = FilesTallying(
        configuration, outcomes, [](const RunResult& result) -> const Tally& { return result.headingsCut; });
    if (!headings.empty())
        ReportError("note: headings longer than " + longest + " keep their first " + longest + " in " + headings +
                    ".");
    const std::string references = FilesTallying(
        configuration, outcomes, [](const RunResult& result) -> const Tally& { return result.referencesCut; });
    if (!references.empty())
        ReportError(std::string("note: references ") + (configuration.dryRun ? "would be" : "were") + " cut to " +
                    longest + ", the longest a later run recognises, in " + references + ".");
}

// The notes a single run gives after its summary, said once for the whole
// collection, naming the files concerned and how many each.
void NoteForTheWhole(const Configuration& configuration, const std::vector<FileOutcome>& outcomes)
{
    std::fflush(stdout);
    const std::string unreadIds =
        FilesCounting(configuration, outcomes, [](const RunResult& result) { return result.unreadIdLevelRecords; });
    if (!unreadIds.empty())
        ReportError("note: record codes of the form <RD,ID:n:Level> name a level in " + unreadIds +
                    "; --id-records reads them as level records");
    const bool keep = configuration.run.earlierReferences == EarlierReferences::Keep;
    const std::string kept = FilesCounting(configuration, outcomes, [keep](const RunResult& result) {
        return keep ? result.earlierReferences : 0;
    });
    const bool dry = configuration.dryRun;
    if (!kept.empty())
        ReportError("note: references from an earlier run are already in " + kept + "; the outputs " +
                    (dry ? "would have" : "have") + " both. --replace-references replaces them.");
    const std::string laterLine =
        FilesCounting(configuration, outcomes, [](const RunResult& result) { return result.laterLineRecords; });
    if (!laterLine.empty())
        ReportError(configuration.preferences.On(Preference::LineEndRecords)
                        ? "note: records whose text begins more than 64 KB after their record code's line break " +
                              std::string(dry ? "get" : "got") + " no reference in " + laterLine + "."
                        : "note: records that begin on the line after their record code " +
                              std::string(dry ? "get" : "got") + " no reference in " + laterLine +
                              "; --line-end-records gives them one.");
    NoteTallies(configuration, outcomes);
}

int Summarize(const Configuration& configuration, const std::vector<FileOutcome>& outcomes)
{
    std::int64_t converted = 0;
    std::int64_t failed = 0;
    std::int64_t references = 0;
    std::int64_t earlier = 0;
    for (const FileOutcome& outcome : outcomes) {
        const bool done = outcome.state == State::Converted;
        converted += done ? 1 : 0;
        failed += outcome.state == State::Failed ? 1 : 0;
        references += done ? outcome.result.refCount : 0;
        earlier += done ? outcome.result.earlierReferences : 0;
    }
    if (!configuration.quiet) {
        const EarlierReferences kind = configuration.run.earlierReferences;
        std::fprintf(stdout, "%s\n",
                     (configuration.dryRun ? DryRunTotal(kind, converted, references, earlier)
                                           : CollectionSummary(kind, converted, references, earlier))
                         .c_str());
        if (failed > 0)
            std::fprintf(stdout, "%s %s.\n", Counted(failed, "file").c_str(),
                         configuration.dryRun ? "would fail" : "failed");
    }
    NoteForTheWhole(configuration, outcomes);
    return failed > 0 ? kExitError : kExitSuccess;
}

// The files under way are thrown away, their earlier outputs left as they
// were; then each output is named by what it is now, so that none from an
// earlier run passes for this one's. A dry run has none to name.
int Cancelled(const Configuration& configuration, const std::vector<CollectionFile>& files,
              std::vector<FileOutcome>& outcomes, const std::vector<bool>& stood)
{
    std::fflush(stdout);
    ReportError("Operation Canceled.");
    if (configuration.dryRun)
        return kExitCancelled;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        const std::unique_ptr<OutputFile>& partial = outcomes[i].result.partialOutput;
        const OutputFate fate = outcomes[i].state == State::Cancelled && partial
                                    ? FateOfCancelled(*partial, partial->Discard())
                                    : FateOf(outcomes[i], stood[i]);
        ReportFate(files[i].output, fate);
    }
    return kExitCancelled;
}

bool WasCancelled(const std::vector<FileOutcome>& outcomes)
{
    for (const FileOutcome& outcome : outcomes) {
        if (outcome.state == State::Cancelled || outcome.state == State::NotRun)
            return true;
    }
    return false;
}

}  // namespace

int ConvertCollection(const Configuration& configuration)
{
    const std::vector<CollectionFile> files = PlanCollection(configuration.inputs, *configuration.outputDir);
    if (!CheckBeforeTheRun(configuration, files))
        return kExitError;
    // A dry run tells what each output would cost on its own line.
    for (const CollectionFile& file : files) {
        if (!configuration.dryRun)
            ForetellWhatIsLost(file.output);
    }
    const std::vector<bool> stood = OutputsStanding(files);
    CliHost host(configuration, configuration.progress.value_or(StandardErrorIsTerminal()));
    InstallCancelHandler();
    SetStopCheck(CancelSignalled);
    std::vector<FileOutcome> outcomes = RunCollection(files, configuration.run, host, configuration.jobs);
    ReportFiles(configuration, files, outcomes);
    return WasCancelled(outcomes) ? Cancelled(configuration, files, outcomes, stood)
                                  : Summarize(configuration, outcomes);
}

}  // namespace pellimar::cli
