// Checks before the run, in the order the window makes them, then the run
// and its summary; errors in the GNU form, naming the file and the reason.
#include "cli/run_cli.h"

#include <cerrno>
#include <cstdio>
#include <utility>

#include "cli/cli_host.h"
#include "cli/console.h"
#include "cli/options.h"
#include "engine/conversion.h"
#include "engine/level_names_line.h"
#include "engine/preview.h"
#include "run/run_checks.h"
#include "streams/exceptions.h"
#include "streams/native_file.h"
#include "streams/output_file.h"

#ifndef PELLIMAR_VERSION
#define PELLIMAR_VERSION "0"
#endif

namespace pellimar::cli {
namespace {

constexpr const char* kProgram = "pellimar-cli";

// "pellimar-cli: FILE: TEXT: REASON", leaving out what is not known; a
// reason after a text that ends a sentence goes in parentheses.
void ReportError(const std::string& text, const ErrorContext& context = {})
{
    std::string line = kProgram;
    if (!context.file.empty())
        line += ": " + context.file;
    line += ": " + text;
    if (!context.reason.empty())
        line += text.ends_with('.') ? " (" + context.reason + ")" : ": " + context.reason;
    std::fprintf(stderr, "%s\n", line.c_str());
}

// The level names: those of --levels-from, each overridden by a --levelN.
void FillLevels(Options& options)
{
    if (options.levelsFrom) {
        const std::vector<std::string> names = ReadLevelNamesFile(*options.levelsFrom);
        for (std::size_t i = 0; i < names.size(); ++i)
            options.run.levelTexts[i] = names[i];
    }
    for (int i = 0; i < kLevelCount; ++i) {
        if (options.levels[i])
            options.run.levelTexts[i] = *options.levels[i];
    }
}

// A preview writes nothing, so the checks of the output do not apply.
bool CheckBeforeTheRun(const Options& options)
{
    if (const RunCheck check = CheckRunInputs(options.run); !check.Passed()) {
        ReportError(check.message, {check.file, check.reason});
        return false;
    }
    if (options.preview)
        return true;
    if (!options.force && !options.run.standardOutput && OutputExists(options.run.outputPath)) {
        ReportError("Output file exists (use -f or --force to overwrite)", {options.run.outputPath, {}});
        return false;
    }
    return true;
}

// Interrupting means "stop and change nothing"; where the output was
// written in place, what the user is told is what became of it.
int Cancelled(const Options& options, RunResult& result)
{
    if (!result.partialOutput) {
        ReportError("Operation Canceled.");
    } else if (!result.partialOutput->WritesInPlace()) {
        result.partialOutput->Discard();
        ReportError("Operation Canceled. " + options.run.outputPath + " was left as it was.");
    } else if (result.partialOutput->Discard()) {
        ReportError("Operation Canceled. The partial output was removed.");
    } else {
        ReportError("Operation Canceled. The partial output could not be removed.",
                    {options.run.outputPath, LastFailureReason()});
    }
    return kExitCancelled;
}

// Said before the run, while the file is still there: what the run cannot
// keep of the file it replaces.
void NoteWhatIsLost(const Options& options)
{
    if (options.run.standardOutput)
        return;
    const OutputOutlook outlook = ForeseeOutput(options.run.outputPath);
    if (outlook.earlierLost)
        ReportError("note: its folder takes no new file, so it is written in place: what it holds now is lost, "
                    "also if the run fails or is cancelled",
                    {options.run.outputPath, {}});
    for (const std::string& lost : outlook.notKept)
        ReportError("note: the new file cannot keep " + lost + " of the one it replaces",
                    {options.run.outputPath, {}});
}

void Summarize(const Options& options, const RunResult& result)
{
    // Standard output may be the converted file itself.
    std::FILE* summary = options.run.standardOutput ? stderr : stdout;
    if (!options.quiet)
        std::fprintf(summary, "%d total references created.\n", result.refCount);
    if (result.unreadIdLevelRecords > 0) {
        std::fflush(summary);
        ReportError("note: " + std::to_string(result.unreadIdLevelRecords) +
                    " record codes of the form <RD,ID:n:Level> name a level; --id-records reads them as level records");
    }
}

int Convert(const Options& options, CliHost& host)
{
    NoteWhatIsLost(options);
    LevelLists levels;
    RunResult result = RunConversion(options.run, host, levels);
    if (result.cancelled)
        return Cancelled(options, result);
    Summarize(options, result);
    return kExitSuccess;
}

// One line a reference: the line of its record code, a tab, its text.
int Preview(const Options& options, CliHost& host)
{
    LevelLists levels;
    const PreviewResult result = RunPreview(options.run, host, levels, *options.preview);
    if (result.cancelled) {
        ReportError("Operation Canceled.");
        return kExitCancelled;
    }
    for (const PreviewReference& reference : result.references) {
        std::fprintf(stdout, "%lld\t", static_cast<long long>(reference.line));
        std::fwrite(reference.text.data(), 1, reference.text.size(), stdout);
        std::fputc('\n', stdout);
    }
    return kExitSuccess;
}

int Run(Options& options)
{
    // Without -f a file that appears under the output's name during the run
    // is not replaced either.
    options.run.replaceOutput = options.force;
    CliHost host(options, options.progress.value_or(StandardErrorIsTerminal()));
    FillLevels(options);
    if (!CheckBeforeTheRun(options))
        return kExitError;
    InstallCancelHandler();
    return options.preview ? Preview(options, host) : Convert(options, host);
}

int RunParsed(ParseResult& parsed)
{
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", kProgram, parsed.error.c_str(),
                     kProgram);
        return kExitUsage;
    }
    if (parsed.options.help) {
        std::fputs((UsageText(kProgram) + EncodingNote()).c_str(), stdout);
        return kExitSuccess;
    }
    if (parsed.options.version) {
        std::fputs(VersionText(kProgram, PELLIMAR_VERSION).c_str(), stdout);
        return kExitSuccess;
    }
    try {
        return Run(parsed.options);
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

// Patterns, level names and the starting page in the encoding of the flat
// files they are matched against and written into; a usage error when one
// holds a character that encoding lacks.
std::string ToFlatFileEncoding(Options& options)
{
    std::vector<std::pair<std::string*, std::string>> texts = {{&options.run.refPattern, "--ref-pattern"},
                                                               {&options.run.pagePattern, "--page-pattern"},
                                                               {&options.startPage, "--start-page"}};
    for (int i = 0; i < kLevelCount; ++i) {
        if (options.levels[i])
            texts.emplace_back(&*options.levels[i], "--level" + std::to_string(i + 1));
    }
    for (const auto& [text, option] : texts) {
        std::optional<std::string> converted = FlatFileText(*text);
        if (!converted)
            return option + " has a character that 8-bit flat files cannot hold here (see --help)";
        *text = std::move(*converted);
    }
    return {};
}

}  // namespace

int RunCli(const std::vector<std::string>& arguments)
{
    ParseResult parsed = ParseArguments(arguments);
    if (parsed.error.empty())
        parsed.error = ToFlatFileEncoding(parsed.options);
    const int status = RunParsed(parsed);
    if (!StandardOutputWritten() && status == kExitSuccess)
        return kExitError;
    return status;
}

}  // namespace pellimar::cli
