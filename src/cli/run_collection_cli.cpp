// A collection from the command line. The outputs go through the runs' own
// replacement, so that what a file under an output's name held survives a
// failure or a cancel of that file.
#include "cli/run_collection_cli.h"

#include <cstdio>

#include "cli/cli_host.h"
#include "cli/cli_messages.h"
#include "cli/console.h"
#include "cli/run_cli.h"
#include "run/collection_checks.h"
#include "streams/stop_request.h"

namespace pellimar::cli {
namespace {

using State = FileOutcome::State;

std::string Counted(std::size_t count, const std::string& what)
{
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

// A name Windows takes for a device in any folder is refused as an input,
// as a device is, in place of its being no file; its output would bear the
// same name.
void CheckDeviceNames(const std::vector<CollectionFile>& files, std::vector<CollectionProblem>& problems)
{
    for (const CollectionFile& file : files) {
        if (!DeviceOfName(file.input))
            continue;
        std::erase_if(problems, [&](const CollectionProblem& problem) { return problem.file == file.input; });
        problems.push_back({FillPlaceholder(kCannotOpenFile, file.input), file.input, "it is not a regular file"});
    }
}

// Every reason at once, so that one look mends them all; nothing is
// written when there is any.
bool CheckBeforeTheRun(const Configuration& configuration, const std::vector<CollectionFile>& files)
{
    std::vector<CollectionProblem> problems = CheckCollection(files, *configuration.outputDir, configuration.run);
    CheckDeviceNames(files, problems);
    if (!configuration.force) {
        for (const std::string& existing : ExistingOutputs(files))
            problems.push_back({"Output file exists (use -f or --force to overwrite)", existing, {}});
    }
    for (const CollectionProblem& problem : problems)
        ReportError(problem.message, {problem.file, problem.reason});
    if (!problems.empty())
        ReportError(Counted(problems.size(), "problem") + ": nothing was converted");
    return problems.empty();
}

// One line a file, in the order given: its references on standard output,
// or its error on standard error.
void ReportFiles(const Configuration& configuration, const std::vector<FileOutcome>& outcomes)
{
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        const FileOutcome& outcome = outcomes[i];
        if (outcome.state == State::Converted && !configuration.quiet) {
            std::fprintf(stdout, "%s: %s created.\n", configuration.inputs[i].c_str(),
                         Counted(static_cast<std::size_t>(outcome.result.refCount), "reference").c_str());
        } else if (outcome.state == State::Failed) {
            std::fflush(stdout);
            ReportError(outcome.error, outcome.errorContext);
        }
    }
}

// Once for the whole, naming the files concerned and how many codes each.
void NoteUnreadIdLevelRecords(const Configuration& configuration, const std::vector<FileOutcome>& outcomes)
{
    std::string files;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        if (const std::int32_t count = outcomes[i].result.unreadIdLevelRecords; count > 0)
            files += (files.empty() ? "" : ", ") + configuration.inputs[i] + " (" + std::to_string(count) + ")";
    }
    if (files.empty())
        return;
    std::fflush(stdout);
    ReportError("note: record codes of the form <RD,ID:n:Level> name a level in " + files +
                "; --id-records reads them as level records");
}

int Summarize(const Configuration& configuration, const std::vector<FileOutcome>& outcomes)
{
    std::size_t converted = 0;
    std::size_t failed = 0;
    std::int64_t references = 0;
    for (const FileOutcome& outcome : outcomes) {
        converted += outcome.state == State::Converted ? 1 : 0;
        failed += outcome.state == State::Failed ? 1 : 0;
        references += outcome.state == State::Converted ? outcome.result.refCount : 0;
    }
    if (!configuration.quiet) {
        std::fprintf(stdout, "%s, %lld total references created.\n", Counted(converted, "file").c_str(),
                     static_cast<long long>(references));
        if (failed > 0)
            std::fprintf(stdout, "%s failed.\n", Counted(failed, "file").c_str());
    }
    NoteUnreadIdLevelRecords(configuration, outcomes);
    return failed > 0 ? kExitError : kExitSuccess;
}

// The files under way are thrown away, their earlier outputs left as they
// were; the message names what was finished.
int Cancelled(const std::vector<CollectionFile>& files, std::vector<FileOutcome>& outcomes)
{
    std::fflush(stdout);
    std::string finished;
    std::size_t finishedCount = 0;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        if (outcomes[i].state == State::Cancelled)
            ReportCancelled(outcomes[i].result, files[i].output);
        if (outcomes[i].state == State::Converted) {
            finished += (finished.empty() ? "" : ", ") + files[i].output;
            ++finishedCount;
        }
    }
    if (finishedCount == 0)
        ReportError("no file was finished before the cancel");
    else
        ReportError(std::to_string(finishedCount) + " of " + Counted(files.size(), "file") +
                    " finished before the cancel: " + finished);
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
    for (const CollectionFile& file : files)
        NoteWhatIsLost(file.output);
    CliHost host(configuration, configuration.progress.value_or(StandardErrorIsTerminal()));
    InstallCancelHandler();
    SetStopCheck(CancelSignalled);
    std::vector<FileOutcome> outcomes = RunCollection(files, configuration.run, host, configuration.jobs);
    ReportFiles(configuration, outcomes);
    return WasCancelled(outcomes) ? Cancelled(files, outcomes) : Summarize(configuration, outcomes);
}

}  // namespace pellimar::cli
