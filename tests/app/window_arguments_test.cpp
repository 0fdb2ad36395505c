// The window's command line: --help and --version answer on standard output
// without a window, or a display; files are the files to open; an option
// nobody takes is refused.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/window_arguments.h"
#include "cli/run_binary.h"

namespace pellimar {
namespace {

using Strings = std::vector<std::string>;

struct ArgumentsCase {
    Strings arguments;
    Strings files;
    Strings unknownOptions;
};

TEST(WindowArguments, FilesAndOptionsNobodyTakes)
{
    const ArgumentsCase cases[] = {
        {{}, {}, {}},
        {{"book.fff"}, {"book.fff"}, {}},
        {{"a.fff", "/b/b.fff"}, {"a.fff", "/b/b.fff"}, {}},
        // A lone "-" is a name like any other.
        {{"-"}, {"-"}, {}},
        {{"--", "--version", "-h"}, {"--version", "-h"}, {}},
        {{"--bogus", "a.fff", "-x"}, {"a.fff"}, {"--bogus", "-x"}},
    };
    for (const ArgumentsCase& c : cases) {
        const WindowArguments read = ReadWindowArguments(c.arguments);
        EXPECT_FALSE(read.answer) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(read.files, c.files) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(read.unknownOptions, c.unknownOptions) << ::testing::PrintToString(c.arguments);
    }
}

TEST(WindowArguments, HelpAndVersionAnswerWhereverTheyStand)
{
    const std::string version = std::string("pellimar ") + PELLIMAR_VERSION + "\n";
    for (const Strings& arguments : {Strings{"--version"}, Strings{"a.fff", "--bogus", "--version", "b.fff"}})
        EXPECT_EQ(ReadWindowArguments(arguments).answer.value_or("").substr(0, version.size()), version);
    for (const Strings& arguments : {Strings{"--help"}, Strings{"-h"}, Strings{"a.fff", "-h"}})
        EXPECT_TRUE(ReadWindowArguments(arguments).answer.value_or("").starts_with("Usage: pellimar [FILE...]\n"));
}

// The program, started where no window can be opened: anything that
// tried would end in the toolkit's error. A window opened all the same
// (-platform offscreen) is stopped after a while.
testing::ProgramRun RunWithoutDisplay(const Strings& arguments)
{
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    Strings bounded = {"10", PELLIMAR_WINDOW_PATH};
    bounded.insert(bounded.end(), arguments.begin(), arguments.end());
    return testing::RunProgram("/usr/bin/timeout", bounded);
}

TEST(WindowProgram, AnswersHelpAndVersionWithoutAWindow)
{
    const testing::ProgramRun version = RunWithoutDisplay({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, *ReadWindowArguments({"--version"}).answer);
    EXPECT_EQ(version.err, "");
    const testing::ProgramRun help = RunWithoutDisplay({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, *ReadWindowArguments({"--help"}).answer);
    EXPECT_EQ(help.err, "");
}

// Without a display, an option nobody takes is refused all the same, and
// nothing else is said; with none, the program says why it opens no window.
TEST(WindowProgram, SaysWhyWithoutADisplay)
{
    const testing::ProgramRun bogus = RunWithoutDisplay({"--bogus", "a.fff"});
    EXPECT_EQ(bogus.status, 2);
    EXPECT_EQ(bogus.err, UnknownOptionText("--bogus"));
    const testing::ProgramRun plain = RunWithoutDisplay({"a.fff"});
    EXPECT_EQ(plain.status, 1);
    EXPECT_TRUE(plain.err.starts_with("pellimar: cannot open the window: there is no display")) << plain.err;
}

// Qt's own options are Qt's: only what is left after them is refused.
TEST(WindowProgram, RefusesAnOptionNobodyTakes)
{
    const testing::ProgramRun run = RunWithoutDisplay({"-platform", "offscreen", "--bogus", "a.fff"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    // After what the toolkit may have said of its own.
    EXPECT_TRUE(run.err.ends_with(UnknownOptionText("--bogus"))) << run.err;
    EXPECT_EQ(UnknownOptionText("--bogus"),
              "pellimar: unknown option: --bogus\nTry 'pellimar --help' for more information.\n");
}

}  // namespace
}  // namespace pellimar
