// --help, --version and the manual page's option list.
#include "cli/help_text.h"

namespace pellimar::cli {
namespace {

constexpr std::size_t kHelpColumn = 27;  // where the help of an option starts
constexpr std::size_t kHelpWidth = 79;

constexpr OptionGroup kGroups[] = {OptionGroup::Patterns, OptionGroup::LevelNames, OptionGroup::Switches,
                                   OptionGroup::Output};

std::string Names(const OptionDefinition& option)
{
    std::string names = option.shortName != 0 ? std::string{'-', option.shortName, ','} + " " : "    ";
    names += "--" + option.longName;
    switch (option.value) {
    case OptionValue::None: break;
    case OptionValue::Required: names += " " + option.valueName; break;
    case OptionValue::Optional: names += "[=" + option.valueName + "]"; break;
    }
    return names;
}

// `text` in lines of at most kHelpWidth columns, each after `indent`
// blanks but the first, which follows what is already on its line.
std::string Wrapped(const std::string& text, std::size_t indent, std::size_t used)
{
    std::string wrapped;
    std::size_t column = used;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t space = text.find(' ', at);
        const std::string word = text.substr(at, space == std::string::npos ? std::string::npos : space - at);
        at = space == std::string::npos ? text.size() : space + 1;
        if (column > indent && column + 1 + word.size() > kHelpWidth) {
            wrapped += "\n" + std::string(indent, ' ');
            column = indent;
        } else if (column > indent) {
            wrapped += ' ';
            ++column;
        }
        wrapped += word;
        column += word.size();
    }
    return wrapped + "\n";
}

std::string HelpEntry(const OptionDefinition& option)
{
    const std::string heading = "  " + OptionHeading(option);
    if (heading.size() + 2 > kHelpColumn)
        return heading + "\n" + std::string(kHelpColumn, ' ') + Wrapped(option.help, kHelpColumn, kHelpColumn);
    return heading + std::string(kHelpColumn - heading.size(), ' ') + Wrapped(option.help, kHelpColumn, kHelpColumn);
}

std::string HelpOptions()
{
    std::string text;
    for (const OptionGroup group : kGroups) {
        text += "\n" + GroupTitle(group) + ":\n";
        for (const OptionDefinition& option : OptionTable()) {
            if (option.group == group && option.listed)
                text += HelpEntry(option);
        }
    }
    return text;
}

// Hyphens as roff wants them in names, so that they are not broken.
std::string Roff(const std::string& text)
{
    std::string escaped;
    for (const char c : text)
        escaped += c == '-' ? std::string("\\-") : std::string(1, c);
    return escaped;
}

std::string ManualHeading(const OptionDefinition& option)
{
    std::string heading;
    if (option.shortName != 0)
        heading += "\\fB\\-" + std::string(1, option.shortName) + "\\fR, ";
    heading += "\\fB\\-\\-" + Roff(option.longName) + "\\fR";
    switch (option.value) {
    case OptionValue::None: break;
    case OptionValue::Required: heading += " \\fI" + option.valueName + "\\fR"; break;
    case OptionValue::Optional: heading += "[\\fB=\\fR\\fI" + option.valueName + "\\fR]"; break;
    }
    if (!option.rangeEnd.empty())
        heading += " ... \\fB\\-\\-" + Roff(option.rangeEnd) + "\\fR \\fI" + option.valueName + "\\fR";
    return heading;
}

}  // namespace

std::string OptionHeading(const OptionDefinition& option)
{
    std::string heading = Names(option);
    if (!option.rangeEnd.empty())
        heading += " ... --" + option.rangeEnd + " " + option.valueName;
    return heading;
}

std::string ManualOptions()
{
    std::string text = ".SH OPTIONS\n";
    for (const OptionGroup group : kGroups) {
        text += ".SS " + GroupTitle(group) + "\n";
        for (const OptionDefinition& option : OptionTable()) {
            if (option.group == group && option.listed)
                text += ".TP\n" + ManualHeading(option) + "\n" + option.manual + "\n";
        }
    }
    return text;
}

std::string UsageText(const std::string& program)
{
    return "Usage: " + program + R"( [OPTIONS] INPUT OUTPUT
  or:  )" + program + R"( [OPTIONS] -d DIR INPUT...
  or:  )" + program + R"( --preview[=N] [OPTIONS] INPUT
  or:  )" + program + R"( --remove-references [--id-records] INPUT OUTPUT
  or:  )" + program + R"( --list-levels [--id-records] INPUT

Copies the Folio flat file INPUT to OUTPUT, giving every record a reference
built from the reference pattern over the current level headings and page.
INPUT "-" is standard input and OUTPUT "-" standard output, so that it works
in a pipeline (a file named "-" is "./-"). OUTPUT is written under another
name beside it and takes its name only when the run ends well. References
that an earlier run wrote into INPUT are kept, replaced or removed (see
--replace-references).
With -d DIR each INPUT is converted to DIR under its own file name, all of
them checked before anything is written; one line a file and a total follow.
Options and file names may come in any order; "--" ends the options, so
that a file named "-f" is "-- -f" (or "./-f").
)" + HelpOptions() + R"(
Errors name the file and the reason where they are known:
  pellimar-cli: FILE: MESSAGE: REASON

Exit status: 0 on success, 1 on an error (also when the summary or standard
output cannot be written, and when a file of -d failed), 2 on a usage error,
130 when interrupted (nothing is changed: OUTPUT is left as it was; with -d
the outputs finished are kept and the others left as they were).
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
