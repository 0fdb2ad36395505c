// Checks before the run, in the order the window makes them, then the run
// and its summary.
#include "cli/run_cli.h"

#include <unistd.h>

#include <cstdio>

#include "cli/cli_host.h"
#include "cli/options.h"
#include "engine/conversion.h"
#include "engine/level_names_line.h"
#include "run/run_checks.h"
#include "streams/exceptions.h"

#ifndef PELLIMAR_VERSION
#define PELLIMAR_VERSION "0"
#endif

namespace pellimar::cli {
namespace {

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

int Convert(Options& options)
{
    CliHost host(options, options.progress.value_or(isatty(STDERR_FILENO) == 1));
    FillLevels(options);
    if (const RunCheck check = CheckRunInputs(options.run); !check.Passed()) {
        PrintError(check.message);
        return kExitError;
    }
    if (!options.force && OutputExists(options.run.outputPath)) {
        PrintError("Output file exists: " + options.run.outputPath + " (use -f or --force to overwrite)");
        return kExitError;
    }
    InstallCancelHandler();
    LevelLists levels;
    const RunResult result = RunConversion(options.run, host, levels);
    if (result.cancelled) {
        // Interrupting means "stop and change nothing".
        const bool inPlace = result.partialOutput->WritesInPlace();
        result.partialOutput->Discard();
        PrintError(inPlace ? "Operation Canceled. The partial output was removed."
                           : "Operation Canceled. " + options.run.outputPath + " was left as it was.");
        return kExitCancelled;
    }
    if (!options.quiet)
        std::printf("%d total references created.\n", result.refCount);
    if (result.unreadIdLevelRecords > 0) {
        std::fflush(stdout);
        std::fprintf(stderr,
                     "pellimar-cli: note: %d record codes of the form <RD,ID:n:Level> name a level; "
                     "--id-records reads them as level records\n",
                     result.unreadIdLevelRecords);
    }
    return kExitSuccess;
}

}  // namespace

int RunCli(const std::vector<std::string>& arguments)
{
    const std::string program = "pellimar-cli";
    ParseResult parsed = ParseArguments(arguments);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", program.c_str(),
                     parsed.error.c_str(), program.c_str());
        return kExitUsage;
    }
    if (parsed.options.help) {
        std::fputs(UsageText(program).c_str(), stdout);
        return kExitSuccess;
    }
    if (parsed.options.version) {
        std::printf("%s %s\n", program.c_str(), PELLIMAR_VERSION);
        return kExitSuccess;
    }
    try {
        return Convert(parsed.options);
    } catch (const Exception& error) {
        std::fprintf(stderr, "%s: %s\n", program.c_str(), error.what());
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "%s: Out of memory\n", program.c_str());
    }
    return kExitError;
}

}  // namespace pellimar::cli
