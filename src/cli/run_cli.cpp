// Checks before the run, in the order the window makes them, then the run
// and its summary; errors in the GNU form, naming the file and the reason.
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
#include "cli/run_collection_cli.h"
#include "engine/conversion.h"
#include "engine/preview.h"
#include "engine/run_frame.h"
#include "run/level_notes.h"
#include "run/run_checks.h"
#include "run/run_report.h"
#include "run/run_summary.h"
#include "streams/exceptions.h"
#include "streams/file_stream.h"
#include "streams/output_forecast.h"
#include "streams/stop_request.h"
#include "streams/native_file.h"
#include "streams/output_file.h"

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

bool Passes(RunCheck check)
{
    if (!check.Passed()) {
        InCliWords(check.failure, check.missingToken, check.message, check.reason);
        ReportError(check.message, {check.file, check.reason});
    }
    return check.Passed();
}

// What the run finds when it starts, before its pass: the input opened,
// then the output made. A dry run opens the input for reading and only
// foresees the output.
bool DryRunStarts(const RunSettings& run)
{
    try {
        if (!run.standardInput) {
            const TFileStream opened(run.inputPath, fmOpenRead);
        }
    } catch (const Exception& error) {
        ReportError(error.what(), {error.File(), error.Reason()});
        return false;
    }
    if (run.standardOutput)
        return true;
    const OutputForecast forecast = ForecastOutput(run.outputPath);
    if (!forecast.refusal.empty())
        ReportError(FillPlaceholder(kCannotCreateFile, run.outputPath), {run.outputPath, forecast.refusal});
    return forecast.refusal.empty();
}

// A preview writes no output file, so the checks of the output do not apply.
// An output that is a folder or the input is refused at once: --force could
// not help.
bool CheckBeforeTheRun(const Configuration& configuration)
{
    const RunSettings& run = configuration.run;
    if (!Passes(CheckRunInputs(run)))
        return false;
    if (configuration.preview && PreviewWritesIntoInput(run)) {
        ReportError(FillPlaceholder(kCannotCreateFile, "-"), {"-", kOutputIsInput});
        return false;
    }
    if (configuration.preview || run.standardOutput)
        return true;
    if (!Passes(CheckRunOutput(run)))
        return false;
    if (!configuration.force && OutputExists(run.outputPath)) {
        ReportError("Output file exists (use -f or --force to overwrite)", {run.outputPath, {}});
        return false;
    }
    return !configuration.dryRun || DryRunStarts(run);
}

int Cancelled(const Configuration& configuration, RunResult& result)
{
    ReportCancelled(result, configuration.run.outputPath);
    return kExitCancelled;
}

std::string InputName(const RunSettings& run)
{
    return run.standardInput ? "standard input" : run.inputPath;
}

// The notes after what went to `shown`, the summary or the preview's list;
// those about the input's text name it.
void TellNotes(const Configuration& configuration, const RunFindings& found, bool wholeRead, std::FILE* shown)
{
    std::fflush(shown);
    const RunTelling telling{Voice::CommandLine,
                             configuration.preview.has_value() || configuration.dryRun,
                             configuration.preview.has_value(),
                             wholeRead,
                             InputName(configuration.run),
                             configuration.levelsFile,
                             configuration.skippedLevelName,
                             ForStandardOutput};
    for (const RunNote& note : RunNotes(found, telling, configuration.run, configuration.preferences)) {
        const bool ofTheText = note.kind == NoteKind::LookAlikes || note.kind == NoteKind::HeadingsCut ||
                               note.kind == NoteKind::ReferencesCut || note.kind == NoteKind::LaterLine;
        ReportError("note: " + note.text, ofTheText ? ErrorContext{telling.input, {}} : ErrorContext{});
    }
}

// A dry run's summary is what it foresaw of the output.
std::string SummaryLine(const Configuration& configuration, const RunResult& result)
{
    const RunSettings& run = configuration.run;
    if (!configuration.dryRun)
        return RunSummary(run.earlierReferences, result.refCount, result.EarlierReferences());
    if (run.standardOutput)
        return DryRunLine({}, {}, run.earlierReferences, result);
    return DryRunLine(run.outputPath, ForecastOutput(run.outputPath), run.earlierReferences, result);
}

void Summarize(const Configuration& configuration, const RunResult& result)
{
    // Standard output may be the converted file itself.
    std::FILE* summary = configuration.run.standardOutput && !configuration.dryRun ? stderr : stdout;
    if (!configuration.quiet)
        std::fprintf(summary, "%s\n", SummaryLine(configuration, result).c_str());
    TellNotes(configuration, FindingsOf(result), true, summary);
}

int Convert(const Configuration& configuration, CliHost& host)
{
    host.onOutputOpened = NoteWhatIsLost;
    LevelLists levels;
    RunResult result;
    try {
        result = RunConversion(configuration.run, host, levels);
    } catch (const EInputChanged& error) {
        ReportError(error.what(), {error.File(), error.Reason()});  // it says what became of the output
        return kExitError;
    } catch (const Exception& error) {
        ReportError(error.what(), {error.File(), error.Reason()});
        if (host.WritesInPlace())
            NoteFailedInPlace(configuration.run.outputPath);
        return kExitError;
    }
    if (result.cancelled)
        return Cancelled(configuration, result);
    Summarize(configuration, result);
    return kExitSuccess;
}

// One line a reference: the line of its record code, a tab, its text.
int Preview(const Configuration& configuration, CliHost& host)
{
    LevelLists levels;
    const PreviewResult result = RunPreview(configuration.run, host, levels, *configuration.preview);
    if (result.cancelled) {
        ReportError("Operation Canceled.");
        return kExitCancelled;
    }
    for (const PreviewReference& reference : result.references) {
        std::fprintf(stdout, "%lld\t", static_cast<long long>(reference.line));
        const std::string text = ForStandardOutput(reference.text);
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fputc('\n', stdout);
    }
    // Only a preview that stopped short of its count read the whole input.
    TellNotes(configuration, FindingsOf(result), result.references.size() < *configuration.preview, stdout);
    return kExitSuccess;
}

// One line a level name: the name, a tab, its count, a tab, its first
// heading.
int ListLevels(const Configuration& configuration, CliHost& host)
{
    LevelLists levels;
    const RunResult result = RunToNowhere(configuration.run, host, levels);
    if (result.cancelled) {
        ReportError("Operation Canceled.");
        return kExitCancelled;
    }
    for (const LevelSeen& level : result.levelsSeen.Levels()) {
        const std::string line = ForStandardOutput(BareLevelName(level.name)) + "\t" + std::to_string(level.count) +
                                 "\t" + ForStandardOutput(level.firstHeading) + (level.headingCut ? "..." : "") + "\n";
        std::fwrite(line.data(), 1, line.size(), stdout);
    }
    if (result.levelsSeen.Unlisted() > 0) {
        std::fflush(stdout);
        const std::int64_t unlisted = result.levelsSeen.Unlisted();
        ReportError("note: " + UnlistedLevelsNote(unlisted));
    }
    return kExitSuccess;
}

int Run(const Configuration& configuration)
{
    if (configuration.outputDir)
        return ConvertCollection(configuration);
    if (!CheckBeforeTheRun(configuration))
        return kExitError;
    CliHost host(configuration, configuration.progress.value_or(StandardErrorIsTerminal()));
    InstallCancelHandler();
    SetStopCheck(CancelSignalled);
    if (configuration.listLevels)
        return ListLevels(configuration, host);
    return configuration.preview ? Preview(configuration, host) : Convert(configuration, host);
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
