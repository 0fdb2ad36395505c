// From the raw arguments to a checked configuration.
#include "cli/configuration.h"

#include <algorithm>
#include <charconv>

#include "cli/cli_messages.h"
#include "cli/console.h"
#include "cli/input_list.h"
#include "engine/level_names_line.h"
#include "run/shown_character.h"
#include "streams/exceptions.h"

namespace pellimar::cli {
namespace {

constexpr std::size_t kDefaultPreviewCount = 10;
constexpr std::size_t kLargestPreviewCount = 1'000'000'000;
// More jobs than this would only wait for one another on two disks' worth
// of work.
constexpr std::size_t kMostJobs = 64;

// Digits only, all of them taken; an optional "+" or "-" before them.
template <typename Number>
std::optional<Number> WholeNumber(const std::string& text, bool sign)
{
    std::size_t start = 0;
    if (sign && text.size() > 1 && text[0] == '+' && text[1] != '-')
        start = 1;
    if (!sign && !text.empty() && text[0] == '-')
        return std::nullopt;
    Number number{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data() + start, end, number);
    if (text.size() == start || error != std::errc() || stop != end)
        return std::nullopt;
    return number;
}

std::string Quoted(const std::string& value)
{
    return "'" + value + "'";
}

// A count of one or more, in decimal.
std::string PreviewCount(const RawArguments& raw, Configuration& configuration)
{
    if (!raw.preview)
        return {};
    if (!raw.previewCount) {
        configuration.preview = kDefaultPreviewCount;
        return {};
    }
    const std::optional<std::size_t> count = WholeNumber<std::size_t>(*raw.previewCount, false);
    if (!count || *count == 0 || *count > kLargestPreviewCount)
        return "--preview takes a count of one or more, as --preview=20, not " + Quoted(*raw.previewCount);
    configuration.preview = count;
    return {};
}

// Each INPUT to its name in the folder, those of the list after those
// given; standard input has no name to give.
std::string CollectionFiles(const RawArguments& raw, Configuration& configuration)
{
    if (configuration.preview)
        return "--preview lists the references of one INPUT: it cannot be used with -d (--output-dir)";
    if (raw.outputDir->empty())
        return "the name of DIR (-d, --output-dir) is empty";
    std::vector<std::string> files = raw.files;
    if (raw.filesFrom) {
        for (std::string& listed : ReadInputList(*raw.filesFrom, raw.nullSeparated ? '\0' : '\n'))
            files.push_back(std::move(listed));
    }
    if (files.empty())
        return raw.filesFrom ? "expected one or more INPUTs, got none on the command line or in " + *raw.filesFrom
                             : "expected one or more INPUTs after the options, got none";
    for (const std::string& file : files) {
        if (file.empty())
            return "the name of an INPUT is empty";
        if (file == "-")
            return "\"-\" (standard input) cannot be an INPUT of -d (--output-dir); a file named \"-\" is \"./-\"";
    }
    configuration.outputDir = raw.outputDir;
    configuration.inputs = std::move(files);
    return {};
}

// What only a collection has, given without -d, would mean nothing.
std::string CollectionOnly(const RawArguments& raw, Configuration&)
{
    if (raw.outputDir)
        return raw.nullSeparated && !raw.filesFrom ? "-0 (--null) tells how --files-from ends its names: it needs "
                                                     "--files-from"
                                                   : "";
    if (raw.jobs)
        return "-j (--jobs) converts the files of -d (--output-dir) at once: it needs -d";
    if (raw.keepGoing)
        return "-k (--keep-going) goes on with the files of -d (--output-dir) that pass the checks: it needs -d";
    if (raw.filesFrom || raw.nullSeparated)
        return "--files-from names the INPUTs of -d (--output-dir): it needs -d";
    return {};
}

std::string Jobs(const RawArguments& raw, Configuration& configuration)
{
    if (!raw.jobs)
        return {};
    const std::optional<std::size_t> jobs = WholeNumber<std::size_t>(*raw.jobs, false);
    if (!jobs || *jobs == 0 || *jobs > kMostJobs)
        return "--jobs takes a whole number from 1 to " + std::to_string(kMostJobs) + ", not " + Quoted(*raw.jobs);
    configuration.jobs = *jobs;
    return {};
}

// "--preview 3 book.fff": the count, given as an argument of its own, was
// taken for a file; the hint shows how it is written.
std::string PreviewCountHint(const RawArguments& raw)
{
    if (raw.previewCount || raw.files.size() != 2 || !WholeNumber<std::size_t>(raw.files[0], false))
        return {};
    return "; a count is written --preview=" + raw.files[0];
}

// "-" stands for standard input or output (so does the system's own name
// for standard output); a file of that name is "./-".
std::string Files(const RawArguments& raw, RunSettings& run, bool preview)
{
    const std::size_t wanted = preview ? 1 : 2;
    const std::string got = std::to_string(raw.files.size()) + " file name(s)";
    if (raw.files.size() != wanted && raw.listLevels)
        return "--list-levels takes INPUT only, got " + got;
    if (raw.files.size() != wanted)
        return preview ? "--preview takes INPUT only, got " + got + PreviewCountHint(raw)
                       : "expected INPUT and OUTPUT, got " + got + " (-d DIR converts several INPUTs into DIR)";
    if (raw.files[0].empty())
        return "the name of INPUT is empty";
    if (!preview && raw.files[1].empty())
        return "the name of OUTPUT is empty";
    run.inputPath = raw.files[0];
    run.standardInput = run.inputPath == "-";
    if (!preview) {
        run.outputPath = raw.files[1];
        run.standardOutput = run.outputPath == "-" || NamesStandardOutput(run.outputPath);
    }
    return {};
}

std::string StartPage(const RawArguments& raw, Configuration& configuration)
{
    if (!raw.startPage)
        return {};
    const std::optional<std::int32_t> page = WholeNumber<std::int32_t>(*raw.startPage, true);
    if (!page)
        return "--start-page takes a whole number from -2147483648 to 2147483647, not " + Quoted(*raw.startPage);
    configuration.startPage = *page;
    return {};
}

// Patterns and level names are matched against, and written into, 8-bit
// flat files; a character their encoding lacks is a usage error, and so is
// an argument that is no text in the locale's encoding (bytes from a script
// written for another), which only --encoding=bytes can pass on.
std::string InFlatFileText(const std::optional<std::string>& given, const std::string& option, std::string& text)
{
    if (!given)
        return {};
    FlatFileText converted = ToFlatFileText(*given);
    switch (converted.refusal) {
    case FlatFileText::Refusal::None: text = std::move(converted.text); return {};
    case FlatFileText::Refusal::NotInLocale:
        return option + " is not valid " + LocaleEncodingName() +
               ", the locale's encoding (--encoding=bytes takes the arguments byte for byte)";
    case FlatFileText::Refusal::Lacking: break;
    }
    if (converted.character.empty())
        return option + " has a character that 8-bit flat files cannot hold here (see --help)";
    return option + " has " + CharacterForMessage(converted.codePoint, converted.character) +
           ", a character the flat files' encoding cannot hold (see --encoding)";
}

// A list of the input's levels runs no conversion: nothing that shapes one
// is taken with it.
std::string ListLevelsAlone(const RawArguments& raw, Configuration& configuration)
{
    if (!raw.listLevels)
        return {};
    if (raw.preview || raw.dryRun || raw.removeReferences || raw.outputDir)
        return "--list-levels cannot be given with --preview, --dry-run, --remove-references or -d (--output-dir)";
    configuration.listLevels = true;
    return {};
}

// Removing earlier references writes none, so nothing that makes a
// reference may be given with it, nor a preview of the references a run
// would write.
std::string EarlierReferencesChoice(const RawArguments& raw, RunSettings& run)
{
    if (raw.preferences.On(Preference::ReplaceReferences) && raw.removeReferences)
        return "--replace-references and --remove-references cannot be given together";
    TakeAtRunStart(raw.preferences, run);
    if (!raw.removeReferences)
        return {};
    run.earlierReferences = EarlierReferences::Remove;
    const bool levels = raw.levelsFrom || std::any_of(raw.levels.begin(), raw.levels.end(),
                                                      [](const auto& level) { return level.has_value(); });
    if (raw.refPattern || !raw.pagePattern.empty() || levels)
        return "--remove-references takes no reference pattern, page pattern or level names";
    if (raw.preview)
        return "--remove-references cannot be given with --preview: it writes no references to list";
    return {};
}

std::string Texts(const RawArguments& raw, RunSettings& run)
{
    if (std::string error = ChooseFlatFileEncoding(raw.encoding); !error.empty())
        return error;
    if (run.earlierReferences == EarlierReferences::Remove || raw.listLevels)
        return {};
    if (!raw.refPattern)
        return kRefPatternNamed + std::string(" is required");
    if (raw.refPattern->empty())
        return kRefPatternNamed + std::string(" must not be empty");
    std::string error = InFlatFileText(raw.refPattern, "--ref-pattern", run.refPattern);
    if (error.empty())
        error = InFlatFileText(raw.pagePattern, "--page-pattern", run.pagePattern);
    for (int i = 0; i < kLevelCount && error.empty(); ++i)
        error = InFlatFileText(raw.levels[i], "--level" + std::to_string(i + 1), run.levelTexts[i]);
    return error;
}

// The names of the file come first; each --levelN given overrides its level.
void LevelsFromFile(const RawArguments& raw, Configuration& configuration)
{
    RunSettings& run = configuration.run;
    if (!raw.levelsFrom)
        return;
    const LevelNamesLine line = ReadLevelNamesLine(*raw.levelsFrom);
    const std::vector<std::string>& names = line.names;
    if (names.empty())
        throw Exception("No level names in " + *raw.levelsFrom,
                        {*raw.levelsFrom, "it has no \"<LN:\" line that names levels"});
    configuration.levelsFile = *raw.levelsFrom;
    configuration.skippedLevelName = line.skipped;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!raw.levels[i])
            run.levelTexts[i] = names[i];
    }
}

}  // namespace

Configured Configure(const RawArguments& raw)
{
    Configured result;
    Configuration& configuration = result.configuration;
    for (const auto& step : {CollectionOnly, PreviewCount, StartPage, Jobs}) {
        if (result.usageError.empty())
            result.usageError = step(raw, configuration);
    }
    if (result.usageError.empty() && raw.dryRun && raw.preview)
        result.usageError = "--dry-run and --preview cannot be given together: a preview writes nothing already";
    if (result.usageError.empty())
        result.usageError = ListLevelsAlone(raw, configuration);
    if (result.usageError.empty())
        result.usageError = EarlierReferencesChoice(raw, configuration.run);
    if (result.usageError.empty()) {
        result.usageError = raw.outputDir ? CollectionFiles(raw, configuration)
                                          : Files(raw, configuration.run, configuration.preview.has_value() || raw.listLevels);
    }
    if (result.usageError.empty())
        result.usageError = Texts(raw, configuration.run);
    if (!result.usageError.empty())
        return result;
    configuration.preferences = raw.preferences;
    configuration.force = raw.force;
    // Without -f a file that appears under the output's name during the run
    // is not replaced either.
    configuration.run.replaceOutput = raw.force;
    configuration.quiet = raw.quiet;
    configuration.keepGoing = raw.keepGoing;
    configuration.report = raw.report;
    configuration.progress = raw.progress;
    configuration.dryRun = raw.dryRun;
    configuration.run.dryRun = raw.dryRun;
    if (!raw.listLevels)
        LevelsFromFile(raw, configuration);
    return result;
}

}  // namespace pellimar::cli
