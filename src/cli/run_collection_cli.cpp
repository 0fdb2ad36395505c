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
#include "run/run_report.h"
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
void TellFiles(const Configuration& configuration, const std::vector<CollectionFile>& files,
               const std::vector<FileOutcome>& outcomes, const CollectionReport& report)
{
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        const FileOutcome& outcome = outcomes[i];
        if (outcome.state == State::Converted && !configuration.quiet) {
            std::fprintf(stdout, "%s\n", report.fileLines[i].c_str());
        } else if (outcome.state == State::Failed) {
            std::fflush(stdout);
            ReportError(outcome.error, outcome.errorContext);
            if (outcome.failedInPlace)
                NoteFailedInPlace(files[i].output);
        }
    }
}

int TellTotals(const Configuration& configuration, const CollectionReport& report)
{
    for (const std::string& line : report.totals) {
        if (!configuration.quiet)
            std::fprintf(stdout, "%s\n", line.c_str());
    }
    std::fflush(stdout);
    for (const std::string& note : report.notes)
        ReportError("note: " + note);
    return report.tally.failed > 0 ? kExitError : kExitSuccess;
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
    const CollectionReport report = ReportOfCollection(outcomes, files, configuration.dryRun, configuration.run,
                                                       configuration.preferences);
    TellFiles(configuration, files, outcomes, report);
    return WasCancelled(outcomes) ? Cancelled(configuration, files, outcomes, stood)
                                  : TellTotals(configuration, report);
}

}  // namespace pellimar::cli
