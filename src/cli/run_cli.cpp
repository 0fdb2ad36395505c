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
#include "run/run_notes.h"
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

// Level records with IDs read as plain record codes, the switch being off:
// the likely reason for references that are missing. Said after what was
// written to `shown`, the summary or the preview's list.
void NoteUnreadIdLevelRecords(std::int32_t count, std::FILE* shown)
{
    if (count == 0)
        return;
    std::fflush(shown);
    ReportError("note: " + (count == 1 ? std::string("1 record code of the form <RD,ID:n:Level> names a level; "
                                                     "--id-records reads it as a level record")
                                       : std::to_string(count) + " record codes of the form <RD,ID:n:Level> name a "
                                                                 "level; --id-records reads them as level records"));
}

std::string InputName(const RunSettings& run)
{
    return run.standardInput ? "standard input" : run.inputPath;
}

// Earlier references kept beside the new ones; a preview tells of the part
// it read, and a dry run of what the run would do.
void NoteEarlierReferences(const Configuration& configuration, std::int32_t found)
{
    const bool preview = configuration.preview.has_value();
    const bool foretold = preview || configuration.dryRun;
    const std::string holds = preview ? "the part of " + InputName(configuration.run) + " read holds "
                                      : InputName(configuration.run) + " already holds ";
    if (found > 0 && configuration.run.earlierReferences == EarlierReferences::Keep) {
        ReportError("note: " + holds + Counted(found, "reference") + " from an earlier run; the output " +
                    (foretold ? "would have" : "has") + " both. --replace-references replaces " +
                    (found == 1 ? "it." : "them."));
    }
}

// Texts that only look like earlier references, and what was cut to keep
// within the longest reference, each with the line of the first; records on
// a later line than their code left without a reference.
template <typename Result>
void NoteLookAlikesAndCuts(const Configuration& configuration, const Result& result)
{
    const std::size_t longest = configuration.run.longestEarlierReference;
    const bool foretold = configuration.preview.has_value() || configuration.dryRun;
    const std::string notes[] = {LookAlikesNote(result.earlierLookAlikes, foretold),
                                 HeadingsCutNote(result.headingsCut, longest),
                                 ReferencesCutNote(result.referencesCut, longest, foretold),
                                 LaterLineRecordsNote(result.laterLineRecords,
                                                      configuration.preferences.On(Preference::LineEndRecords),
                                                      foretold, "--line-end-records gives")};
    for (const std::string& note : notes) {
        if (!note.empty())
            ReportError("note: " + note, {InputName(configuration.run), {}});
    }
}

// Levels of the pattern that no level record set, with the names the level
// records use; and the first name of the --levels-from line, not loaded,
// where the level records use it; names as the console shows them.
// Records with IDs that name a level, when there are some, say already why
// the level has no record.
void NoteLevels(const Configuration& configuration, const LevelCensus& seen, std::int32_t unreadIdLevelRecords)
{
    const std::string& skipped = configuration.skippedLevelName;
    const std::string notes[] = {
        unreadIdLevelRecords > 0 ? std::string() : ForStandardOutput(UnmatchedLevelsNote(configuration.run, seen)),
        SkippedFirstLevelNote(configuration.levelsFile, {skipped, ForStandardOutput(skipped)},
                              InputName(configuration.run), configuration.run, seen)};
    if (!notes[1].empty())
        ReportError("note: " + notes[1] + "; --level1 " + ForStandardOutput(skipped) + " ... sets it");
    if (!notes[0].empty())
        ReportError("note: " + notes[0]);
}

// A dry run's summary is what it foresaw of the output.
std::string SummaryLine(const Configuration& configuration, const RunResult& result)
{
    const RunSettings& run = configuration.run;
    if (!configuration.dryRun)
        return RunSummary(run.earlierReferences, result.refCount, result.earlierReferences);
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
    NoteUnreadIdLevelRecords(result.unreadIdLevelRecords, summary);
    std::fflush(summary);
    NoteEarlierReferences(configuration, result.earlierReferences);
    NoteLookAlikesAndCuts(configuration, result);
    NoteLevels(configuration, result.levelsSeen, result.unreadIdLevelRecords);
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
    NoteUnreadIdLevelRecords(result.unreadIdLevelRecords, stdout);
    std::fflush(stdout);
    // Of the part of the input read.
    NoteEarlierReferences(configuration, result.earlierReferences);
    NoteLookAlikesAndCuts(configuration, result);
    // Only a preview that read the whole input knows a level is never set.
    if (result.references.size() < *configuration.preview)
        NoteLevels(configuration, result.levelsSeen, result.unreadIdLevelRecords);
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
        ReportError("note: " + Counted(unlisted, "more level record") + (unlisted == 1 ? " names a level" : " name levels") +
                    " past the first " + std::to_string(LevelCensus::kMostNames) + " names");
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
