// Argument parsing with GNU getopt_long: an option's value is always the next
// argument, even when it begins with "-", and options may follow the files.
#include "cli/options.h"

#include <getopt.h>

namespace pellimar::cli {
namespace {

enum LongOnly {
    kLevel1 = 1000,  // kLevel1 .. kLevel1 + 6
    kRemovePageMarks = 1100,
    kNotSearched,
    kLeftJustOnly,
    kUseHR,
    kIdRecords,
    kPreview,
    kStartPage,
    kProgress,
    kNoProgress,
    kVersion,
};

const option kLongOptions[] = {
    {"ref-pattern", required_argument, nullptr, 'r'},
    {"page-pattern", required_argument, nullptr, 'p'},
    {"level1", required_argument, nullptr, kLevel1},
    {"level2", required_argument, nullptr, kLevel1 + 1},
    {"level3", required_argument, nullptr, kLevel1 + 2},
    {"level4", required_argument, nullptr, kLevel1 + 3},
    {"level5", required_argument, nullptr, kLevel1 + 4},
    {"level6", required_argument, nullptr, kLevel1 + 5},
    {"level7", required_argument, nullptr, kLevel1 + 6},
    {"levels-from", required_argument, nullptr, 'L'},
    {"remove-page-marks", no_argument, nullptr, kRemovePageMarks},
    {"not-searched", no_argument, nullptr, kNotSearched},
    {"left-just-only", no_argument, nullptr, kLeftJustOnly},
    {"use-hr", no_argument, nullptr, kUseHR},
    {"id-records", no_argument, nullptr, kIdRecords},
    {"start-page", required_argument, nullptr, kStartPage},
    {"preview", optional_argument, nullptr, kPreview},
    {"force", no_argument, nullptr, 'f'},
    {"progress", no_argument, nullptr, kProgress},
    {"no-progress", no_argument, nullptr, kNoProgress},
    {"quiet", no_argument, nullptr, 'q'},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, kVersion},
    {nullptr, 0, nullptr, 0},
};

constexpr std::size_t kDefaultPreviewCount = 10;

// A count of one or more, in decimal.
std::optional<std::size_t> ParseCount(const char* text)
{
    std::size_t count = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9' || count > 1'000'000'000)
            return std::nullopt;
        count = count * 10 + static_cast<std::size_t>(*c - '0');
    }
    return *text != '\0' && count > 0 ? std::optional(count) : std::nullopt;
}

// Applies one parsed option; false for an option getopt could not parse.
bool Apply(int code, const char* value, Options& o, bool& refGiven)
{
    if (code >= kLevel1 && code < kLevel1 + kLevelCount) {
        o.levels[code - kLevel1] = value;
        return true;
    }
    switch (code) {
    case 'r': o.run.refPattern = value; refGiven = true; return true;
    case 'p': o.run.pagePattern = value; return true;
    case 'L': o.levelsFrom = value; return true;
    case kRemovePageMarks: o.run.removePageMarks = true; return true;
    case kNotSearched: o.run.notSearched = true; return true;
    case kLeftJustOnly: o.leftJustOnly = true; return true;
    case kUseHR: o.useHR = true; return true;
    case kIdRecords: o.idRecords = true; return true;
    case kStartPage: o.startPage = value; return true;
    case kPreview:
        o.preview = value != nullptr ? ParseCount(value) : kDefaultPreviewCount;
        return o.preview.has_value();
    case 'f': o.force = true; return true;
    case kProgress: o.progress = true; return true;
    case kNoProgress: o.progress = false; return true;
    case 'q': o.quiet = true; return true;
    case 'h': o.help = true; return true;
    case kVersion: o.version = true; return true;
    default: return false;
    }
}

// "-" stands for standard input or output; a file of that name is "./-".
void SetFiles(RunSettings& run, const std::string& input, const std::string& output)
{
    run.inputPath = input;
    run.outputPath = output;
    run.standardInput = input == "-";
    run.standardOutput = output == "-";
}

}  // namespace

ParseResult ParseArguments(const std::vector<std::string>& arguments)
{
    std::vector<std::string> copies = arguments;
    std::vector<char*> argv;
    for (std::string& argument : copies)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    ParseResult result;
    bool refGiven = false;
    optind = 0;  // restart getopt's scan, also for a second parse in one process
    opterr = 0;
    const int argc = static_cast<int>(copies.size());
    for (int code; (code = getopt_long(argc, argv.data(), ":r:p:L:fqh", kLongOptions, nullptr)) != -1;) {
        if (code == ':') {
            result.error = "option " + std::string(argv[optind - 1]) + " needs a value";
            return result;
        }
        if (!Apply(code, optarg, result.options, refGiven)) {
            result.error = code == kPreview ? "--preview takes a count of one or more, as --preview=20"
                                            : "unknown option " + std::string(argv[optind - 1]);
            return result;
        }
    }
    if (result.options.help || result.options.version)
        return result;

    const std::vector<std::string> files(copies.begin() + optind, copies.end());
    const std::size_t wanted = result.options.preview ? 1 : 2;
    if (files.size() != wanted && wanted == 1)
        result.error = "--preview takes INPUT only, got " + std::to_string(files.size()) + " file name(s)";
    else if (files.size() != wanted)
        result.error = "expected INPUT and OUTPUT, got " + std::to_string(files.size()) + " file name(s)";
    else if (!refGiven)
        result.error = "the reference pattern (-r, --ref-pattern) is required";
    else if (result.options.run.refPattern.empty())
        result.error = "the reference pattern (-r, --ref-pattern) must not be empty";
    else
        SetFiles(result.options.run, files[0], files.size() > 1 ? files[1] : std::string());
    return result;
}

std::string UsageText(const std::string& program)
{
    return "Usage: " + program + R"( [OPTIONS] INPUT OUTPUT
  or:  )" + program + R"( --preview[=N] [OPTIONS] INPUT

Copies the Folio flat file INPUT to OUTPUT, giving every record a reference
built from the reference pattern over the current level headings and page.
INPUT "-" is standard input and OUTPUT "-" standard output, so that it works
in a pipeline (a file named "-" is "./-"). OUTPUT is written under another
name beside it and takes its name only when the run ends well.

Patterns:
  -r, --ref-pattern TEXT   reference pattern (required, not empty): the digits
                           1 to 7 stand for the headings of levels 1 to 7, "#"
                           for the page
  -p, --page-pattern TEXT  page-number marker in the text, with "#" for its
                           digits, for example "[#]"

Level names:
      --level1 NAME ... --level7 NAME
                           the names of hierarchy levels 1 to 7
  -L, --levels-from FILE   take the level names from the first "<LN:" line of
                           FILE (a --levelN given as well overrides that level)

Switches:
      --remove-page-marks  leave page-number markers out of the output
      --not-searched       wrap references in <IX-> ... <IX>
      --left-just-only     no reference for records that open with a
                           justification (JU:) or paragraph style (PS:) code
      --use-hr             end references with <HR> in place of <CR>
      --id-records         read record codes of the form <RD,ID:n:Level>, as
                           later Folio versions write them, as level records
      --start-page TEXT    the starting page, used whenever a reference needs a
                           page before any marker was seen (default "1")

Output:
      --preview[=N]        write nothing, but list the first N references a run
                           would make (10 without N), one a line: the input's
                           line of the record code, a tab, the reference
  -f, --force              overwrite OUTPUT when it exists
      --progress           show progress on standard error (the default when it
                           is a terminal): percentage and times, or for a pipe
                           the bytes read and the speed; --no-progress: none
  -q, --quiet              print no summary (it goes to standard error when
                           OUTPUT is standard output)
  -h, --help               show this help and exit
      --version            show the version and exit

Errors name the file and the reason where they are known:
  pellimar-cli: FILE: MESSAGE: REASON

Exit status: 0 on success, 1 on an error (also when the summary or standard
output cannot be written), 2 on a usage error, 130 when interrupted (nothing
is changed: OUTPUT is left as it was).
)";
}

std::string VersionText(const std::string& program, const std::string& version)
{
    return program + " " + version + R"(
Copyright (c) 2026 The Pellimar developers
License MIT: <https://opensource.org/licenses/MIT>.
This is free software: you are free to change and redistribute it.
There is NO WARRANTY, to the extent permitted by law.
)";
}

}  // namespace pellimar::cli
