// The bash completion script.
#include "cli/shell_completion.h"

#include "cli/option_table.h"

namespace pellimar::cli {
namespace {

std::string Names(const OptionDefinition& option)
{
    std::string names = "--" + option.longName;
    if (option.shortName != 0)
        names += std::string("|-") + option.shortName;
    return names;
}

// Every option of the table, for a word that begins with "-".
std::string AllOptions()
{
    std::string words;
    for (const OptionDefinition& option : OptionTable()) {
        words += " --" + option.longName;
        if (option.shortName != 0)
            words += std::string(" -") + option.shortName;
    }
    return words.substr(1);
}

std::string ValueWords(const OptionDefinition& option)
{
    std::string words;
    for (const std::string& value : KnownValues(option))
        words += (words.empty() ? "" : " ") + value;
    return words;
}

// One case of `case $option in` a line: what the value of each option that
// takes one completes to; free text completes to nothing.
std::string ValueCases()
{
    std::string files;
    std::string folders;
    std::string text;
    std::string cases;
    for (const OptionDefinition& option : OptionTable()) {
        if (option.value != OptionValue::Required)
            continue;
        std::string& kind = option.valueName == "FILE" ? files : option.valueName == "DIR" ? folders : text;
        if (!KnownValues(option).empty())
            cases += "    " + Names(option) + ") _pellimar_words '" + ValueWords(option) + "' ;;\n";
        else
            kind += (kind.empty() ? "" : "|") + Names(option);
    }
    if (!files.empty())
        cases += "    " + files + ") _pellimar_files ;;\n";
    if (!folders.empty())
        cases += "    " + folders + ") _pellimar_folders ;;\n";
    if (!text.empty())
        cases += "    " + text + ") ;;\n";
    return cases;
}

}  // namespace

std::string BashCompletion(const std::string& program)
{
    const std::string function = "_pellimar_complete";
    return "# bash completion for " + program + R"(: options, known values, file names.
# Made from the program's option table; bash's own builtins only.

# The words that begin with the word being completed, $value.
_pellimar_words()
{
    local IFS=$' \t\n'
    COMPREPLY=($(compgen -W "$1" -- "$value"))
}

_pellimar_files()
{
    compopt -o filenames 2>/dev/null
    local IFS=$'\n'
    COMPREPLY=($(compgen -f -- "$value"))
}

_pellimar_folders()
{
    compopt -o filenames 2>/dev/null
    local IFS=$'\n'
    COMPREPLY=($(compgen -d -- "$value"))
}

# What the value of option $1 completes to.
_pellimar_value()
{
    case $1 in
)" + ValueCases() +
           R"(    *) return 1 ;;
    esac
}

)" + function + R"(()
{
    COMPREPLY=()
    local word=${COMP_WORDS[COMP_CWORD]} before=${COMP_WORDS[COMP_CWORD-1]} value=
    # bash splits "--encoding=IS" at "=" into three words; where "=" does not
    # split words, the value follows it in the word.
    if [[ $word == = ]]; then
        _pellimar_value "$before"
        return 0
    elif [[ $before == = ]] && ((COMP_CWORD > 2)); then
        value=$word
        _pellimar_value "${COMP_WORDS[COMP_CWORD-2]}"
        return 0
    elif [[ $word == --*=* ]]; then
        value=${word#*=}
        _pellimar_value "${word%%=*}" && COMPREPLY=("${COMPREPLY[@]/#/${word%%=*}=}")
        return 0
    fi
    value=$word
    _pellimar_value "$before" && return 0
    local i
    for ((i = 1; i < COMP_CWORD; i++)); do
        [[ ${COMP_WORDS[i]} == -- ]] && { _pellimar_files; return 0; }
    done
    if [[ $word == -* ]]; then
        _pellimar_words ')" + AllOptions() + R"('
    else
        _pellimar_files
    fi
}
complete -F )" + function + " " + program + "\n";
}

}  // namespace pellimar::cli
