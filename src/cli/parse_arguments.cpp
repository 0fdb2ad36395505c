// Argument parsing with GNU getopt_long over the option table: an option's
// value is always the next argument, even when it begins with "-"; options
// and file names come in any order, and "--" ends the options.
#include "cli/parse_arguments.h"

#include <getopt.h>

#include <set>

namespace pellimar::cli {
namespace {

// getopt_long's code for a long option without a short name: its place in
// the table, above every character.
constexpr int kFirstLongCode = 1000;

int ArgumentKind(OptionValue value)
{
    switch (value) {
    case OptionValue::None: return no_argument;
    case OptionValue::Required: return required_argument;
    case OptionValue::Optional: return optional_argument;
    }
    return no_argument;
}

std::vector<option> LongOptions()
{
    const std::vector<OptionDefinition>& table = OptionTable();
    std::vector<option> options;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const OptionDefinition& definition = table[i];
        const int code = definition.shortName != 0 ? definition.shortName : kFirstLongCode + static_cast<int>(i);
        options.push_back({definition.longName.c_str(), ArgumentKind(definition.value), nullptr, code});
    }
    options.push_back({nullptr, 0, nullptr, 0});
    return options;
}

// getopt's code for a file name, given in turn among the options.
constexpr int kFileName = 1;

// "-" first: each file name is handed back in its turn, where it stands, as
// glibc and mingw-w64 both do whatever POSIXLY_CORRECT says; getopt then
// moves no argument. ":" next: a missing value is told apart from an
// unknown option.
std::string ShortOptions()
{
    std::string shortOptions = "-:";
    for (const OptionDefinition& definition : OptionTable()) {
        if (definition.shortName == 0)
            continue;
        shortOptions += definition.shortName;
        if (definition.value == OptionValue::Required)
            shortOptions += ':';
    }
    return shortOptions;
}

const OptionDefinition* DefinitionOfCode(int code)
{
    const std::vector<OptionDefinition>& table = OptionTable();
    if (code >= kFirstLongCode && code < kFirstLongCode + static_cast<int>(table.size()))
        return &table[static_cast<std::size_t>(code - kFirstLongCode)];
    for (const OptionDefinition& definition : table) {
        if (definition.shortName != 0 && definition.shortName == code)
            return &definition;
    }
    return nullptr;
}

// The option getopt_long stopped at, as the user wrote it. A long option
// is the argument just passed, without a value; a short one is only known
// by its letter, maybe from inside a group ("-xyz").
std::string OptionInError(char* const* argv, bool known)
{
    const std::string passed = argv[optind - 1];
    if (passed.starts_with("--") && (optopt == 0 || known))
        return passed.substr(0, passed.find('='));
    return "-" + std::string(1, static_cast<char>(optopt));
}

// A known option in error either lacks its value or was given one it does
// not take; which of the two getopt reports how differs between libraries.
std::string UsageErrorAt(char* const* argv)
{
    const OptionDefinition* known = optopt != 0 ? DefinitionOfCode(optopt) : nullptr;
    const std::string option = OptionInError(argv, known != nullptr);
    if (known == nullptr)
        return "unknown option " + option;
    return "option " + option + (known->value == OptionValue::None ? " takes no value" : " needs a value");
}

// "-r (--ref-pattern)", "--level1"
std::string Named(const OptionDefinition& definition)
{
    if (definition.shortName == 0)
        return "--" + definition.longName;
    return std::string("-") + definition.shortName + " (--" + definition.longName + ")";
}

}  // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& arguments)
{
    std::vector<std::string> copies{"pellimar-cli"};
    copies.insert(copies.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : copies)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    const std::vector<option> longOptions = LongOptions();
    const std::string shortOptions = ShortOptions();
    ParsedArguments parsed;
    optind = 0;  // restart getopt's scan, also for a second parse in one process
    opterr = 0;
    const int argc = static_cast<int>(copies.size());
    // An option with a value says one thing: given twice, one of the two
    // would be dropped without a word.
    std::set<const OptionDefinition*> valued;
    for (int code; (code = getopt_long(argc, argv.data(), shortOptions.c_str(), longOptions.data(), nullptr)) != -1;) {
        if (code == kFileName) {
            parsed.raw.files.emplace_back(optarg);
            continue;
        }
        if (code == ':' || code == '?') {
            parsed.error = UsageErrorAt(argv.data());
            return parsed;
        }
        const OptionDefinition* definition = DefinitionOfCode(code);
        if (definition->value != OptionValue::None && !valued.insert(definition).second) {
            parsed.error = "option " + Named(*definition) + " is given more than once";
            return parsed;
        }
        definition->record(parsed.raw, optarg != nullptr ? std::optional<std::string>(optarg) : std::nullopt);
    }
    // After "--", every argument is a file name.
    parsed.raw.files.insert(parsed.raw.files.end(), argv.begin() + optind, argv.end() - 1);
    return parsed;
}

}  // namespace pellimar::cli
