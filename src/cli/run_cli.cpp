// From the arguments to the plan of a run, its checks, the run and its
// report; errors in the GNU form, naming the file and the reason.
#include "cli/run_cli.h"

#include <cerrno>
#include <cstdio>
#include <utility>

#include "cli/cli_host.h"
#include "cli/cli_messages.h"
#include "cli/console.h"
#include "cli/configuration.h"
#include "cli/help_text.h"
#include "cli/parse_arguments.h"
#include "cli/report_file.h"
#include "cli/report_lines.h"
#include "run/output_fates.h"
#include "run/output_folder.h"
#include "run/plan_checks.h"
#include "run/run_plan.h"
#include "run/run_report.h"
#include "streams/exceptions.h"
#include "streams/native_file.h"
#include "streams/stop_request.h"

#ifndef PELLIMAR_VERSION
#define PELLIMAR_VERSION "0"
#endif

namespace pellimar::cli {
namespace {

// A preview lists its references on standard output, which must not be the
// input itself ("--preview book.fff >> book.fff").
bool PreviewWritesIntoInput(const RunSettings& run)
{
    const std::optional<FileFacts> listing = NativeFile::DuplicateStandardOutput().Facts();
    const std::optional<FileFacts> input = (run.standardInput ? NativeFile::DuplicateStandardInput()
                                                              : NativeFile::OpenForReading(run.inputPath))
                                               .Facts();
    return listing && input && listing->kind == FileKind::Regular && listing->identity == input->identity;
}

// The plan of the run the arguments ask for.
RunPlan PlanOf(const Configuration& configuration)
{
    RunPlan plan;
    plan.mode = configuration.listLevels ? RunMode::ListLevels
                : configuration.preview  ? RunMode::Preview
                : configuration.dryRun   ? RunMode::DryRun
                                         : RunMode::Convert;
    plan.settings = configuration.run;
    plan.preferences = configuration.preferences;
    plan.replaceExisting = configuration.force;
    plan.previewLimit = configuration.preview.value_or(0);
    plan.levelsFile = configuration.levelsFile;
    plan.skippedLevelName = configuration.skippedLevelName;
    plan.jobs = configuration.jobs;
    if (configuration.outputDir) {
        plan.folder = configuration.outputDir;
        plan.files = PlanCollection(configuration.inputs, *configuration.outputDir);
    } else {
        const bool output = plan.WritesOutputs();
        plan.files = {{configuration.run.inputPath, output ? configuration.run.outputPath : std::string()}};
    }
    return plan;
}

// A collection is all or nothing, unless -k asks for what can be done; a
// dry run of one foretells every output it can in any case. A problem of
// the whole plan leaves nothing to do.
bool GoesOnAroundProblems(const Configuration& configuration, const RunPlan& plan,
                          const std::vector<PlanProblem>& problems)
{
    return (plan.mode == RunMode::DryRun || configuration.keepGoing) && plan.IsCollection() &&
           EachProblemIsAFiles(plan, problems);
}

// A missing output folder is made once the checks let the run go ahead
// (a dry run says it would be); false, with the reason told, when it cannot
// be.
bool OutputFolderReady(const RunPlan& plan, const Configuration& configuration)
{
    if (!plan.folder || !LookAtOutputFolder(*plan.folder).toBeMade)
        return true;
    const bool dryRun = plan.mode == RunMode::DryRun;
    if (!dryRun) {
        if (const std::string reason = MakeOutputFolder(*plan.folder); !reason.empty()) {
            ReportError(kFolderCannotTakeOutputs, {*plan.folder, reason});
            return false;
        }
    }
    TellLine(FolderMadeLine(*plan.folder, dryRun), configuration);
    return true;
}

// Every check of the plan is made before anything is written. A preview
// writes no output file, so the checks of the output do not apply; its
// list must not go into its input. An interrupt during the checks cancels
// the run before its first step.
int Run(const Configuration& configuration)
{
    InstallCancelHandler();
    SetStopCheck(CancelSignalled);
    const RunPlan whole = PlanOf(configuration);
    if (configuration.report == "-")
        TellLinesOnStandardError();
    if (configuration.report) {
        if (const std::optional<PlanProblem> refused = ReportFileRefused(*configuration.report, whole)) {
            ReportError(refused->message, {refused->file, refused->reason});
            return kExitError;
        }
    }
    const std::vector<PlanProblem> problems = CheckPlan(whole);
    if (!problems.empty() && !GoesOnAroundProblems(configuration, whole, problems)) {
        TellProblems(whole, problems);
        return WithReport(configuration, whole, problems, nullptr, kExitError);
    }
    if (whole.mode == RunMode::Preview && PreviewWritesIntoInput(whole.settings)) {
        ReportError(FillPlaceholder(kCannotCreateFile, "-"), {"-", kOutputIsInput});
        return kExitError;
    }
    const RunPlan plan = WithoutRefusedFiles(whole, problems);
    if (!OutputFolderReady(plan, configuration))
        return WithReport(configuration, whole, problems, nullptr, kExitError);
    ForetellOutputs(plan, configuration);
    std::vector<bool> stood = OutputsStanding(plan.files);
    std::vector<std::string> named;
    for (const CollectionFile& file : plan.files)
        named.push_back(file.input);
    CliHost host(configuration, configuration.progress.value_or(StandardErrorIsTerminal()),
                 plan.IsCollection() ? named : std::vector<std::string>{});
    RunReport report(plan, RunPlanned(plan, host), std::move(stood));
    const int status = problems.empty() ? TellReport(report, configuration)
                                        : TellAroundProblems(report, whole, problems, configuration);
    return WithReport(configuration, whole, problems, &report, status);
}

int UsageError(const std::string& error)
{
    std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", kProgram, error.c_str(), kProgram);
    return kExitUsage;
}

int RunArguments(const std::vector<std::string>& arguments)
{
    const ParsedArguments parsed = ParseArguments(arguments);
    if (!parsed.error.empty())
        return UsageError(parsed.error);
    if (parsed.raw.help) {
        std::fputs((UsageText(kProgram) + EncodingNote()).c_str(), stdout);
        return kExitSuccess;
    }
    if (parsed.raw.version) {
        std::fputs(VersionText(kProgram, PELLIMAR_VERSION).c_str(), stdout);
        return kExitSuccess;
    }
    try {
        const Configured configured = Configure(parsed.raw);
        if (!configured.usageError.empty())
            return UsageError(configured.usageError);
        return Run(configured.configuration);
    } catch (const Exception& error) {
        ReportError(error.what(), {error.File(), error.Reason()});
    } catch (const std::bad_alloc&) {
        ReportError("Out of memory");
    }
    return kExitError;
}

// As the GNU tools do at exit: what could not be written to standard output,
// the summary included, makes the run a failure.
bool StandardOutputWritten()
{
    const bool written = std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
    const int error = errno;
    if (std::fclose(stdout) == 0 && written)
        return true;
    ReportError("write error", {"-", ReasonOfError(written ? errno : error)});
    return false;
}

}  // namespace

int RunCli(const std::vector<std::string>& arguments)
{
    const std::vector<std::string> afterName(arguments.empty() ? arguments.end() : arguments.begin() + 1,
                                             arguments.end());
    const int status = RunArguments(afterName);
    if (!StandardOutputWritten() && status == kExitSuccess)
        return kExitError;
    return status;
}

}  // namespace pellimar::cli
