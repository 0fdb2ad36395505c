// From the arguments to a configuration, in the program itself: the option a
// usage error names, and what the file names and -f mean for the run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "cli/configuration.h"
#include "cli/parse_arguments.h"

namespace pellimar::cli {
namespace {

void SetPosixlyCorrect(bool on)
{
#ifdef _WIN32
    _putenv_s("POSIXLY_CORRECT", on ? "1" : "");
#else
    if (on)
        setenv("POSIXLY_CORRECT", "1", 1);
    else
        unsetenv("POSIXLY_CORRECT");
#endif
}

// The option named is the one in error, wherever getopt has moved the file
// names by then and however options are grouped.
TEST(UsageErrors, NameTheOptionInError)
{
    struct Case {
        std::vector<std::string> arguments;
        std::string error;
    };
    const std::vector<Case> cases = {
        {{"-xyz", "in.fff", "out.fff"}, "unknown option -x"},
        {{"-r", "x", "../sample.fff", "-out.fff"}, "unknown option -o"},
        {{"-r", "x", "in.fff", "-qz", "out.fff"}, "unknown option -z"},
        {{"--quiet", "-zq", "in.fff", "out.fff"}, "unknown option -z"},
        {{"in.fff", "--bogus=3", "out.fff"}, "unknown option --bogus"},
        {{"in.fff", "out.fff", "--quiet=3"}, "option --quiet takes no value"},
        {{"in.fff", "out.fff", "-qr"}, "option -r needs a value"},
        {{"in.fff", "out.fff", "--ref-pattern"}, "option --ref-pattern needs a value"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.error, ParseArguments(c.arguments).error) << ::testing::PrintToString(c.arguments);
}

using Arguments = std::vector<std::string>;

// One valid value for each option that takes one, as the user would give
// it: a start page that begins with "-" is still the option's value.
Arguments GivenWithValue(const OptionDefinition& option, bool shortName)
{
    const std::string name = shortName ? std::string("-") + option.shortName : "--" + option.longName;
    if (option.value == OptionValue::None)
        return {name};
    if (option.value == OptionValue::Optional)
        return {name + "=3"};
    const std::map<std::string, std::string> values = {
        {"encoding", "bytes"}, {"start-page", "-1"}, {"jobs", "2"}, {"output-dir", "out"}, {"levels-from", "book.def"},
    };
    const auto value = values.find(option.longName);
    return {name, value != values.end() ? value->second : "2 3"};
}

// `option` before, between and after the file names, with `fixed` first.
std::vector<Arguments> Placings(const Arguments& fixed, const Arguments& option, const Arguments& files)
{
    std::vector<Arguments> placings(3, fixed);
    placings[0].insert(placings[0].end(), option.begin(), option.end());
    placings[0].insert(placings[0].end(), files.begin(), files.end());
    placings[1].push_back(files[0]);
    placings[1].insert(placings[1].end(), option.begin(), option.end());
    placings[1].insert(placings[1].end(), files.begin() + 1, files.end());
    placings[2].insert(placings[2].end(), files.begin(), files.end());
    placings[2].insert(placings[2].end(), option.begin(), option.end());
    return placings;
}

std::string Described(const ParsedArguments& parsed)
{
    return ::testing::PrintToString(parsed.raw.files) + " " + parsed.error;
}

// The file names are the arguments that are no option nor an option's value,
// in the order given, wherever they stand: every option of the table, in
// each of its names, gives the same arguments before, between and after
// them, for a single run and for a collection; and so whatever
// POSIXLY_CORRECT says.
TEST(ArgumentOrder, EveryOptionMayStandAnywhereAmongTheFileNames)
{
    for (const bool posixlyCorrect : {false, true}) {
        SetPosixlyCorrect(posixlyCorrect);
        for (const OptionDefinition& option : OptionTable()) {
            for (const bool shortName : {false, true}) {
                if (shortName && option.shortName == 0)
                    continue;
                const Arguments given = GivenWithValue(option, shortName);
                const bool isOutputDir = option.longName == "output-dir";
                for (const auto& [fixed, files] : {std::pair{Arguments{}, Arguments{"in.fff", "out.fff"}},
                                                   std::pair{isOutputDir ? Arguments{} : Arguments{"-d", "dir"},
                                                             Arguments{"a.fff", "-", "b.fff"}}}) {
                    const std::vector<Arguments> placings = Placings(fixed, given, files);
                    const ParsedArguments before = ParseArguments(placings[0]);
                    EXPECT_EQ("", before.error) << ::testing::PrintToString(placings[0]);
                    EXPECT_EQ(before.raw.files, files);
                    for (const Arguments& placing : {placings[1], placings[2]}) {
                        const ParsedArguments parsed = ParseArguments(placing);
                        EXPECT_TRUE(parsed.raw == before.raw && parsed.error == before.error)
                            << ::testing::PrintToString(placing) << " gives " << Described(parsed) << ", not "
                            << Described(before);
                    }
                }
            }
        }
    }
    SetPosixlyCorrect(false);
}

// "--" ends the options: what follows is a file name, "-f" too.
TEST(ArgumentOrder, DoubleDashEndsTheOptions)
{
    const ParsedArguments parsed = ParseArguments({"-r", "x", "in.fff", "--", "-f", "--quiet"});
    EXPECT_EQ("", parsed.error);
    EXPECT_EQ(parsed.raw.files, (Arguments{"in.fff", "-f", "--quiet"}));
    EXPECT_FALSE(parsed.raw.force);
    EXPECT_FALSE(parsed.raw.quiet);
}

RunSettings RunOf(const std::vector<std::string>& arguments)
{
    const ParsedArguments parsed = ParseArguments(arguments);
    EXPECT_EQ("", parsed.error);
    const Configured configured = Configure(parsed.raw);
    EXPECT_EQ("", configured.usageError);
    return configured.configuration.run;
}

// Without -f a file that appears under OUTPUT during the run is not
// replaced either.
TEST(Configuration, OnlyForceLetsTheRunReplaceAFile)
{
    EXPECT_FALSE(RunOf({"-r", "x", "in.fff", "out.fff"}).replaceOutput);
    EXPECT_TRUE(RunOf({"-r", "x", "-f", "in.fff", "out.fff"}).replaceOutput);
}

TEST(Configuration, StandardOutputByDashOrByItsName)
{
    EXPECT_TRUE(RunOf({"-r", "x", "in.fff", "-"}).standardOutput);
    EXPECT_FALSE(RunOf({"-r", "x", "in.fff", "./-"}).standardOutput);
#ifndef _WIN32
    for (const std::string name : {"/dev/stdout", "/dev/fd/1", "/proc/self/fd/1"})
        EXPECT_TRUE(RunOf({"-r", "x", "in.fff", name}).standardOutput) << name;
#endif
}

}  // namespace
}  // namespace pellimar::cli
