// The options of pellimar-cli.
#include "cli/option_table.h"

#include "cli/console.h"
#include "run/level_notes.h"

namespace pellimar::cli {
namespace {

using Raw = RawArguments;
using V = const std::optional<std::string>&;

// The tables below are laid out by hand, a field or a few to a line.
// clang-format off

std::vector<OptionDefinition> PatternOptions()
{
    return {
        {"ref-pattern", 'r', OptionValue::Required, "TEXT", OptionGroup::Patterns, {}, true,
         "reference pattern (required, not empty, unless --remove-references): the digits 1 to 7 stand for the "
         "headings of levels 1 to 7, \"#\" for the page",
         R"(The reference pattern (required, unless \fB\-\-remove\-references\fR is given;
an empty one is a usage error).
The digits \fB1\fR to \fB7\fR stand for the headings of levels 1 to 7 and
\fB#\fR for the page number; every other character is copied as it stands.
A level digit whose level has no heading is left out together with the
literal text just before it; only the first \fB#\fR shows the page.)",
         [](Raw& raw, V value) { raw.refPattern = value; }},
        {"page-pattern", 'p', OptionValue::Required, "TEXT", OptionGroup::Patterns, {}, true,
         "page-number marker in the text, with \"#\" for its digits, for example \"[#]\"",
         R"(The page-number marker in the text, with \fB#\fR for its digits, for example
\fB[#]\fR.
Needed when the reference pattern holds a \fB#\fR.
A marker followed by more text on its line makes the next reference show a
page range \fIN\fR\-\fIN+1\fR.)",
         [](Raw& raw, V value) { raw.pagePattern = value.value_or(""); }},
        {"encoding", 0, OptionValue::Required, "NAME", OptionGroup::Patterns, {}, true,
         EncodingOptionHelp(),
         R"(The 8-bit encoding of the flat files (default \fBWindows-1252\fR), into which
patterns and level names are converted from the locale's
encoding; a character it lacks is a usage error that names it, and so is an
argument that is not text in the locale's encoding.
\fBbytes\fR, and the C locale, take them as given, for scripts that already
hold the file's bytes.
A locale that is named but not installed counts as UTF-8 when its name ends
in \fB.UTF\-8\fR or \fB.utf8\fR.
On Windows only \fBbytes\fR is taken; the ANSI code page is used otherwise.)",
         [](Raw& raw, V value) { raw.encoding = value; }},
    };
}

std::vector<OptionDefinition> LevelOptions()
{
    std::vector<OptionDefinition> options;
    for (int level = 0; level < kLevelCount; ++level) {
        options.push_back({kLevelOptionName + std::to_string(level + 1),
                           0,
                           OptionValue::Required,
                           "NAME",
                           OptionGroup::LevelNames,
                           {},
                           level == 0,
                           {},
                           {},
                           [level](Raw& raw, V value) { raw.levels[level] = value; }});
    }
    options[0].rangeEnd = "level7";
    options[0].help = "the names of hierarchy levels 1 to 7";
    options[0].manual = R"(The names of hierarchy levels 1 to 7, as the level records of the file spell
them (letter case does not matter; a name with a blank matches a level record
that gives it in double quotes).)";
    options.push_back(
        {"levels-from", 'L', OptionValue::Required, "FILE", OptionGroup::LevelNames, {}, true,
         "take the level names from the first \"<LN:\" line of FILE: its first name is skipped and the next seven "
         "name levels 1 to 7 (a --levelN given as well overrides that level); a FILE without one is an error",
         R"(Take the level names from the first \fB<LN:\fR line of \fIFILE\fR, a
definition file or a flat file: the first field is skipped and the next seven
name levels 1 to 7.
A \fB\-\-level\fIN\fR given as well overrides that level.
A \fIFILE\fR that names no levels is an error.)",
         [](Raw& raw, V value) { raw.levelsFrom = value; }});
    return options;
}

OptionDefinition Switch(std::string name, std::string help, std::string manual, bool Raw::*field)
{
    return {std::move(name), 0, OptionValue::None, {}, OptionGroup::Switches, {}, true, std::move(help),
            std::move(manual), [field](Raw& raw, V) { raw.*field = true; }};
}

// The preferences that have an option, in the table's order.
void AddPreferenceOptions(std::vector<OptionDefinition>& options)
{
    for (const PreferenceRow& row : PreferenceTable()) {
        if (row.cliOption == nullptr)
            continue;
        const Preference preference = row.preference;
        options.push_back({row.cliOption, 0, OptionValue::None, {}, OptionGroup::Switches, {}, true, row.cliHelp,
                           row.cliManual, [preference](Raw& raw, V) { raw.preferences.Set(preference, true); }});
    }
}

std::vector<OptionDefinition> SwitchOptions()
{
    std::vector<OptionDefinition> options;
    AddPreferenceOptions(options);
    // After --replace-references, the preference's option.
    options.push_back(Switch("remove-references",
                             "take out the references an earlier run wrote into INPUT and write none; no patterns or "
                             "level names",
                             R"(Take out the references that an earlier run wrote into \fIINPUT\fR, as
\fB\-\-replace\-references\fR finds them, and write none: converting a
file and then removing its references gives back the file, when the
conversion kept the page-number markers.
Takes no reference pattern, page pattern or level names, and not
\fB\-\-preview\fR.)",
                             &Raw::removeReferences));
    options.push_back(
        {"start-page", 0, OptionValue::Required, "N", OptionGroup::Switches, {}, true,
         "the starting page, used whenever a reference needs a page before any marker was seen (default 1); a "
         "whole number",
         R"(The starting page, used whenever a reference needs a page before any marker
was seen (default \fB1\fR).
A whole number: an optional sign and digits, from \-2147483648 to
2147483647; anything else is a usage error.
\-1 is shown as \-1 and leaves the page unknown, so that the next reference
that shows a page takes it again.)",
         [](Raw& raw, V value) { raw.startPage = value; }});
    return options;
}

std::vector<OptionDefinition> OutputOptions()
{
    return {
        {"preview", 0, OptionValue::Optional, "N", OptionGroup::Output, {}, true,
         "write nothing, but list the first N references a run would make (10 without N), one a line: the input's "
         "line of the record code, a tab, the reference",
         R"(Write nothing, but list the first \fIN\fR references (10 without \fIN\fR) that
a run with these options would make, one a line: the line of \fIINPUT\fR on
which the record code begins, a tab, and the reference as it would stand
between \fB<CS:Reference>\fR and \fB<CR>\fR.
No \fIOUTPUT\fR is given; the checks of a run are made except those of the
output.
The run ends as soon as the references are found, so a pattern can be tried on
a large file at once.
The count, one or more, attaches with \fB=\fR (\fB\-\-preview=20\fR).)",
         [](Raw& raw, V value) {
             raw.preview = true;
             raw.previewCount = value;
         }},
        {"list-levels", 0, OptionValue::None, {}, OptionGroup::Output, {}, true,
         "write nothing, but list the level names of INPUT's level records in order of first appearance, one a "
         "line: the name, a tab, how many level records name it, a tab, the first one's heading; needs no pattern",
         R"(Write nothing, but list the level names that the level records of \fIINPUT\fR
use, in order of first appearance, one a line: the name as a level box takes
it, a tab, how many level records name it, a tab, and the heading of the
first of them (its first 100 bytes).
No pattern or \fIOUTPUT\fR is needed.
With \fB\-\-id\-records\fR, codes of the form \fB<RD,ID:\fIn\fB:\fILevel\fB>\fR are
read as level records too.)",
         [](Raw& raw, V) { raw.listLevels = true; }},
        {"dry-run", 'n', OptionValue::None, {}, OptionGroup::Output, {}, true,
         "write nothing: make every check and the whole pass as the run would, and print a line for each OUTPUT "
         "saying what the run would do with it (create or replace it, and how many references), or why it would "
         "refuse it; exits as the run would",
         R"(Write nothing: make every check of the run, and the whole pass over each
\fIINPUT\fR with what it writes going nowhere, then print for each output what
the run would do: \fBwould create\fR or \fBwould replace\fR it (saying when
it would be written in place, and what the new file could not keep of the old
one) and the references it would get, or the error that would refuse it, as
the run gives it.
Nothing is created, changed or locked for writing.
The exit status is the run's, as far as checks can foresee it: a disk that
fills up or a write refused while writing cannot be.
Not with \fB\-\-preview\fR.)",
         [](Raw& raw, V) { raw.dryRun = true; }},
        {"output-dir", 'd', OptionValue::Required, "DIR", OptionGroup::Output, {}, true,
         "convert each INPUT (one or more; not \"-\") to DIR under its own file name, in the order given, making DIR "
         "when the folder it is in exists; everything is checked before anything is written, and a fault refuses "
         "the whole run (-k converts the other files); an INPUT that fails while it is converted does not stop the "
         "others",
         R"(Convert each \fIINPUT\fR, one or more, to \fIDIR\fR under its own file name,
in the order given, with the same options; no \fIOUTPUT\fR is given.
\fIDIR\fR is made when it is missing and the folder it would be in exists
(\fBmade folder \fIDIR\fR is said); it may not be the folder of an
\fIINPUT\fR; two \fIINPUT\fRs may not have one file name, and \fB\-\fR is
no \fIINPUT\fR here.
Everything is checked before anything is written, and any fault refuses the
whole run with every reason listed, existing outputs without \fB\-f\fR all
named; with \fB\-k\fR the files the checks let through are converted.
An \fIINPUT\fR that fails during the run is reported and the next goes on.
One line a file and a total are printed; an interrupt keeps the outputs
finished and leaves the others as they were.
Not with \fB\-\-preview\fR.)",
         [](Raw& raw, V value) { raw.outputDir = value; }},
        {"jobs", 'j', OptionValue::Required, "N", OptionGroup::Output, {}, true,
         "with -d, convert N files at once (default 1); outputs and messages are the same whatever N is",
         R"(With \fB\-d\fR, convert \fIN\fR files at once (default \fB1\fR), a whole
number from 1 to 64.
The outputs, the counts and the messages are the same whatever \fIN\fR is, in
the order of the \fIINPUT\fRs.)",
         [](Raw& raw, V value) { raw.jobs = value; }},
        {"keep-going", 'k', OptionValue::None, {}, OptionGroup::Output, {}, true,
         "with -d, convert every INPUT that passes the checks, naming the others with their reasons (exit status "
         "1), rather than none when one fails them",
         R"(With \fB\-d\fR, convert every \fIINPUT\fR that passes the checks, and name
the others with their reasons, in their places among the lines; the exit
status is then 1.
Without it a collection is all or nothing: a fault any check finds refuses
the whole run.)",
         [](Raw& raw, V) { raw.keepGoing = true; }},
        {"files-from", 0, OptionValue::Required, "FILE", OptionGroup::Output, {}, true,
         "with -d, take INPUTs from FILE (\"-\": standard input), one a line, after those on the command line",
         R"(With \fB\-d\fR, take \fIINPUT\fRs from \fIFILE\fR (\fB\-\fR: standard input),
one a line, or ending at a NUL with \fB\-0\fR, after those given on the
command line.
The names are taken as bytes; empty ones are passed over.
\fBfind books \-name '*.fff' \-print0 | pellimar\-cli \-d out \-\-files\-from=\- \-0\fR
converts what \fBfind\fR finds, names with blanks or line breaks
included, however many there are.)",
         [](Raw& raw, V value) { raw.filesFrom = value; }},
        {"null", '0', OptionValue::None, {}, OptionGroup::Output, {}, true,
         "the names of --files-from end at a NUL byte, not at a line's end",
         R"(The names of \fB\-\-files\-from\fR end at a NUL byte, as
\fBfind \-print0\fR writes them, not at a line's end.)",
         [](Raw& raw, V) { raw.nullSeparated = true; }},
        {"force", 'f', OptionValue::None, {}, OptionGroup::Output, {}, true, "overwrite OUTPUT when it exists",
         R"(Overwrite \fIOUTPUT\fR when it exists (with \fB\-d\fR, every output that exists).
Without it an existing \fIOUTPUT\fR is an error.)",
         [](Raw& raw, V) { raw.force = true; }},
        {"progress", 0, OptionValue::None, {}, OptionGroup::Output, {}, true,
         "show progress on standard error (the default when it is a terminal): percentage and times, or for a pipe "
         "the megabytes read, the speed and the elapsed time",
         R"(Show a progress bar with the percentage, the elapsed and the remaining time on
standard error; for an input without a size (a pipe), the megabytes read, the
speed and the elapsed time.
The bar fits the terminal's width, follows changes of it, and is redrawn at
most ten times a second.
This is the default when standard error is a terminal.)",
         [](Raw& raw, V) { raw.progress = true; }},
        {"no-progress", 0, OptionValue::None, {}, OptionGroup::Output, {}, true, "show no progress",
         "Show no progress.", [](Raw& raw, V) { raw.progress = false; }},
        {"quiet", 'q', OptionValue::None, {}, OptionGroup::Output, {}, true,
         "print nothing but the errors: no summary, no line for each file, no notes",
         R"(Print nothing but the errors: no summary, no line for each file of a
collection, no notes.
The exit status is the same.)",
         [](Raw& raw, V) { raw.quiet = true; }},
        {"report", 0, OptionValue::Required, "FILE", OptionGroup::Output, {}, true,
         "also write the run's report as one JSON document to FILE (\"-\": standard output, the lines meant for it "
         "then going to standard error): each file with what became of its output, its references, its findings and "
         "its level names; for any run, dry run, collection, preview or --list-levels",
         R"(Also write the run's report as one JSON document to \fIFILE\fR, for scripts:
the program and its version, the run's settings, one record for each
\fIINPUT\fR (its output and what became of it, the references created,
replaced, removed and kept, its findings by key with their count and first
line, the level names its level records use, the bytes read and written,
the seconds), the problems that refused the run, the totals and the exit
status.
With \fB\-\fR it goes to standard output, and the lines meant for standard
output go to standard error.
Text is UTF-8; a file name that is not is given as its bytes in base64
beside a readable form.
The keys stay from one release to the next; the user guide lists them.
\fIFILE\fR may be no \fIINPUT\fR or output of the run.)",
         [](Raw& raw, V value) { raw.report = value; }},
        {"help", 'h', OptionValue::None, {}, OptionGroup::Output, {}, true, "show this help and exit",
         "Show the usage and exit.", [](Raw& raw, V) { raw.help = true; }},
        {"version", 0, OptionValue::None, {}, OptionGroup::Output, {}, true, "show the version and exit",
         "Show the version, the copyright and the licence (MIT) and exit.",
         [](Raw& raw, V) { raw.version = true; }},
    };
}

// clang-format on

std::vector<OptionDefinition> AllOptions()
{
    std::vector<OptionDefinition> all;
    for (auto part : {PatternOptions, LevelOptions, SwitchOptions, OutputOptions}) {
        for (OptionDefinition& option : part())
            all.push_back(std::move(option));
    }
    return all;
}

}  // namespace

const std::vector<OptionDefinition>& OptionTable()
{
    static const std::vector<OptionDefinition> table = AllOptions();
    return table;
}

// The encodings offered are those flat files were most often written in.
std::vector<std::string> KnownValues(const OptionDefinition& option)
{
    if (option.longName == "encoding")
        return {"bytes", "Windows-1252", "ISO-8859-1", "ISO-8859-15", "CP437", "CP850"};
    return {};
}

std::string GroupTitle(OptionGroup group)
{
    switch (group) {
    case OptionGroup::Patterns: return "Patterns";
    case OptionGroup::LevelNames: return "Level names";
    case OptionGroup::Switches: return "Switches";
    case OptionGroup::Output: return "Output";
    }
    return {};
}

}  // namespace pellimar::cli
