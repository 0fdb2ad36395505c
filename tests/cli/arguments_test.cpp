// From the arguments to a configuration, in the program itself: the option a
// usage error names, and what the file names and -f mean for the run.
#include <gtest/gtest.h>

#include "cli/configuration.h"
#include "cli/parse_arguments.h"

namespace pellimar::cli {
namespace {

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
