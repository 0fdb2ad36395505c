// pellimar-cli end to end: the real program on real files.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_fixture.h"

namespace pellimar {
namespace {

using testing::Cli;
using testing::ProgramRun;
using testing::ReadFileBytes;
using testing::WriteFileBytes;

TEST_F(Cli, ConvertsAndReportsTheCount)
{
    const ProgramRun run = Run({"-r", "1, p. #", "-p", "[#]", "--level1", "Book", "--start-page", "5", input, output});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("2 total references created.\n", run.out);
    EXPECT_EQ("<RD:Book>Genesis\r\n<RD><CS:Reference>Genesis, p. 5<CR>\r\n</CS>In the beginning [1] God\r\n"
              "<RD><CS:Reference>Genesis, p. 1-2<CR>\r\n</CS><JU:CN>created\r\n",
              ReadFileBytes(output));
}

TEST_F(Cli, SwitchesReachThePass)
{
    const ProgramRun run = Run({"-r", "1", "--level1", "Book", "--left-just-only", "--use-hr", "--not-searched",
                                "--remove-page-marks", "-q", input, output});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("", run.out);
    EXPECT_EQ("<RD:Book>Genesis\r\n<RD><CS:Reference><IX->Genesis<IX><HR>\r\n</CS>In the beginning [1] God\r\n"
              "<RD><JU:CN>created\r\n",
              ReadFileBytes(output));
}

// Files under /proc report a size of 0 and hold more than that.
TEST_F(Cli, FileThatHoldsMoreThanItsSizeSaysIsConvertedWhole)
{
    const std::string proc = "/proc/version";
    if (!std::filesystem::exists(proc))
        GTEST_SKIP() << "no " << proc;
    const ProgramRun run = Run({"-r", "x", proc, output});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ(ReadFileBytes(proc), ReadFileBytes(output));
}

TEST_F(Cli, IdRecordsReadLevelRecordsWithIdsAndWithoutThemANoteSaysWhy)
{
    WriteFileBytes(input, "<RD,ID:1:Book>Genesis\r\n<RD,ID:2>In the beginning\r\n");
    const ProgramRun without = Run({"-r", "1", "--level1", "Book", input, output});
    EXPECT_EQ(0, without.status);
    EXPECT_EQ("0 total references created.\n", without.out);
    EXPECT_EQ("pellimar-cli: note: 1 record code of the form <RD,ID:n:Level> names a level; "
              "--id-records reads it as a level record\n",
              without.err);
    const ProgramRun with = Run({"-r", "1", "--level1", "Book", "--id-records", "-f", input, output});
    EXPECT_EQ("1 total references created.\n", with.out);
    EXPECT_EQ("", with.err);
}

// Converting an output again: the references of the first run are counted,
// kept beside the new ones with a note, or replaced.
TEST_F(Cli, EarlierReferencesAreNotedOrReplaced)
{
    const std::string once = dir.File("once.fff");
    ASSERT_EQ(0, Run({"-r", "1", "--level1", "Book", input, once}).status);
    const ProgramRun kept = Run({"-r", "1", "--level1", "Book", once, output});
    EXPECT_EQ("2 total references created.\n", kept.out);
    EXPECT_EQ("pellimar-cli: note: " + once +
                  " already holds 2 references from an earlier run; the output has both. --replace-references "
                  "replaces them.\n",
              kept.err);
    const ProgramRun replaced = Run({"-r", "1", "--level1", "Book", "--replace-references", "-f", once, output});
    EXPECT_EQ("2 total references created, 2 earlier references replaced.\n", replaced.out);
    EXPECT_EQ("", replaced.err);
    EXPECT_EQ(ReadFileBytes(once), ReadFileBytes(output));
    const ProgramRun removed = Run({"--remove-references", "-f", once, output});
    EXPECT_EQ("2 earlier references removed.\n", removed.out);
    EXPECT_EQ(testing::kCliInput, ReadFileBytes(output));
}

// One is one reference; the preview counts those in the part it read.
TEST_F(Cli, EarlierReferenceIsSingularAndNotedByThePreview)
{
    WriteFileBytes(input, "<RD:Book>Gen\r\n<RD><CS:Reference>a<CR>\r\n</CS>x\r\n<RD><CS:Reference>b<CR>\r\n</CS>y\r\n");
    const ProgramRun preview = Run({"-r", "1", "--level1", "Book", "--preview=1", input});
    EXPECT_EQ("2\tGen\n", preview.out);
    EXPECT_EQ("pellimar-cli: note: the part of " + input +
                  " read holds 1 reference from an earlier run; the output would have both. --replace-references "
                  "replaces it.\n",
              preview.err);
}

// A text after a record code that begins like a reference and is none is
// the user's: kept, and told with its line.
TEST_F(Cli, LookAlikeIsKeptAndNotedWithItsLine)
{
    const std::string typed = "<CS:Reference>my citation</CS> typed by hand\r\n";
    WriteFileBytes(input, "<RD:Book>Gen\r\n<RD>" + typed);
    const ProgramRun run = Run({"-r", "1", "--level1", "Book", "--replace-references", input, output});
    EXPECT_EQ("pellimar-cli: " + input +
                  ": note: 1 text after a record code begins like a reference but is not one, on line 2; it was kept.\n",
              run.err);
    EXPECT_EQ("<RD:Book>Gen\r\n<RD><CS:Reference>Gen<CR>\r\n</CS>" + typed, ReadFileBytes(output));
}

// A preview finds what a run finds, and says so after its list.
TEST_F(Cli, PreviewGivesTheNoteOnIdRecordsAfterItsList)
{
    WriteFileBytes(input, "<RD:Book>Genesis\r\n<RD>a\r\n<RD,ID:1:Book>Exodus\r\n<RD,ID:2:Book>Leviticus\r\n");
    const ProgramRun preview = Run({"-r", "1", "--level1", "Book", "--preview", input});
    EXPECT_EQ(0, preview.status);
    EXPECT_EQ("2\tGenesis\n3\tGenesis\n4\tGenesis\n", preview.out);
    EXPECT_EQ("pellimar-cli: note: 2 record codes of the form <RD,ID:n:Level> name a level; "
              "--id-records reads them as level records\n",
              preview.err);
    const ProgramRun with = Run({"-r", "1", "--level1", "Book", "--id-records", "--preview", input});
    EXPECT_EQ("2\tGenesis\n", with.out);
    EXPECT_EQ("", with.err);
}

TEST_F(Cli, OptionValuesMayBeginWithADash)
{
    const ProgramRun run = Run({"-r", "-#", "-p", "[#]", "--start-page", "-1", input, output});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_NE(std::string::npos, ReadFileBytes(output).find("<CS:Reference>--1<CR>"));
}

TEST_F(Cli, LevelsFromAFileWithAnOverride)
{
    const std::string def = dir.File("levels.def");
    WriteFileBytes(def, "<LN:Tome,Volume,Chapter>\r\n");
    const ProgramRun run = Run({"-r", "1 2", "-L", def, "--level1", "Book", input, output});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("2 total references created.\n", run.out);
}

TEST_F(Cli, UsageErrors)
{
    ExpectError(Run({}), "expected INPUT and OUTPUT", 2);
    ExpectError(Run({input, output}), "--ref-pattern", 2);
    ExpectError(Run({"-r", "1", "--bogus", input, output}), "unknown option --bogus", 2);
    ExpectError(Run({"-r", "1", input, output, "third"}), "expected INPUT and OUTPUT", 2);
    ExpectError(Run({input, output, "-r"}), "needs a value", 2);
}

// Each value is named in the message: "7 " looks like 7 and is not.
TEST_F(Cli, StartPageThatIsNotAWholeNumberIsAUsageError)
{
    for (const std::string value : {"7 ", " 7", "abc", "0x10", "1.5", "", "+", "2147483648", "-2147483649"})
        ExpectError(Run({"-r", "#", "-p", "[#]", "--start-page", value, input, output}),
                    "--start-page takes a whole number from -2147483648 to 2147483647, not '" + value + "'\n", 2);
    EXPECT_FALSE(std::filesystem::exists(output));
    const ProgramRun run = Run({"-r", "#", "-p", "[#]", "--start-page", "+2147483647", input, output});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_NE(std::string::npos, ReadFileBytes(output).find("<CS:Reference>2147483647<CR>"));
}

TEST_F(Cli, EmptyFileNamesAreUsageErrors)
{
    ExpectError(Run({"-r", "x", input, ""}), "pellimar-cli: the name of OUTPUT is empty\n", 2);
    ExpectError(Run({"-r", "x", "", output}), "pellimar-cli: the name of INPUT is empty\n", 2);
    ExpectError(Run({"-r", "x", "--preview", ""}), "pellimar-cli: the name of INPUT is empty\n", 2);
}

TEST_F(Cli, LevelsFileWithoutLevelNamesIsNamed)
{
    const std::string def = dir.File("plain.def");
    for (const std::string text : {"no codes at all\r\n", "<LN:Tome>\r\n"}) {
        WriteFileBytes(def, text);
        ExpectError(Run({"-r", "1", "-L", def, input, output}),
                    "pellimar-cli: " + def + ": No level names in " + def +
                        ": it has no \"<LN:\" line that names levels\n");
    }
    EXPECT_FALSE(std::filesystem::exists(output));
}

// --force could not help, so it is not suggested.
TEST_F(Cli, FolderAsOutputIsRefusedAtOnce)
{
    const std::string folder = dir.Path().string();
    ExpectError(Run({"-r", "x", input, folder}),
                "pellimar-cli: " + folder + ": Cannot create file " + folder + ": it is a folder\n");
}

// A name that ends in a full stop is not a sentence.
TEST_F(Cli, ReasonAfterANameThatEndsInAFullStop)
{
    const std::string nowhere = dir.File("no/such/out.");
    ExpectError(Run({"-r", "x", input, nowhere}),
                "pellimar-cli: " + nowhere + ": Cannot create file " + nowhere + ": no such folder\n");
}

TEST_F(Cli, HelpAndVersion)
{
    const ProgramRun help = Run({"--help"});
    EXPECT_EQ(0, help.status);
    EXPECT_EQ(0u, help.out.find("Usage: pellimar-cli [OPTIONS] INPUT OUTPUT"));
    for (const char* option : {"--ref-pattern", "--page-pattern", "--level7", "--levels-from", "--remove-page-marks",
                               "--not-searched", "--left-just-only", "--use-hr", "--start-page", "--force",
                               "--no-progress", "--quiet", "--version"})
        EXPECT_NE(std::string::npos, help.out.find(option)) << option;
    const ProgramRun version = Run({"--version"});
    EXPECT_EQ(0, version.status);
    EXPECT_EQ(0u, version.out.find("pellimar-cli "));
    EXPECT_NE(std::string::npos, version.out.find("\nCopyright (c) 2026 The Pellimar developers\nLicense MIT"));
}

// A folder, as input or output, is refused as what it is, before anything
// else is said of it; the output that is the input is never told to want
// -f.
TEST_F(Cli, MissingInputOrAFolderOrTheInputAsOutput)
{
    const std::string folder = dir.Path().string();
    const struct {
        std::vector<std::string> arguments;
        std::string err;
    } rows[] = {
        {{"-r", "x", dir.File("missing"), output},
         "pellimar-cli: " + dir.File("missing") + ": Input file not found. (no such file)\n"},
        {{"-r", "x", folder, output},
         "pellimar-cli: " + folder + ": Cannot open file " + folder + ": it is a folder\n"},
        {{"-r", "x", input, folder},
         "pellimar-cli: " + folder + ": Cannot create file " + folder + ": it is a folder\n"},
        {{"-r", "x", input, input},
         "pellimar-cli: " + input + ": Cannot create file " + input + ": it is the input file\n"},
    };
    for (const auto& row : rows) {
        const ProgramRun run = Run(row.arguments);
        EXPECT_EQ(1, run.status);
        EXPECT_EQ(row.err, run.err);
    }
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_EQ(testing::kCliInput, ReadFileBytes(input));
}

// A dry run says what the run would do, exits as the run then does, and
// leaves the output as it found it.
TEST_F(Cli, DryRunForetellsTheRunAndWritesNothing)
{
    const struct {
        bool earlier;  // a file stands under the output's name
        std::vector<std::string> options;
        int status;
        std::string out;
        std::string err;
    } rows[] = {
        {false, {}, 0, "would create " + output + ": 2 references\n", ""},
        {true, {"-f"}, 0, "would replace " + output + ": 2 references\n", ""},
        {true, {}, 1, "", "pellimar-cli: " + output + ": Output file exists (use -f or --force to overwrite)\n"},
        {false, {"--replace-references"}, 0, "would create " + output + ": 2 references\n", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.out + row.err);
        std::filesystem::remove(output);
        if (row.earlier)
            WriteFileBytes(output, "earlier");
        std::vector<std::string> arguments = {"-r", "x", input, output};
        arguments.insert(arguments.begin(), row.options.begin(), row.options.end());
        arguments.insert(arguments.begin(), "--dry-run");
        const ProgramRun dry = Run(arguments);
        EXPECT_EQ(row.status, dry.status);
        EXPECT_EQ(row.out, dry.out);
        EXPECT_EQ(row.err, dry.err);
        EXPECT_EQ(row.earlier ? "earlier" : "", std::filesystem::exists(output) ? ReadFileBytes(output) : "");
        EXPECT_EQ((std::set<std::string>{"in.fff", row.earlier ? "out.fff" : "in.fff"}), testing::FileNames(dir.Path()));
        arguments.erase(arguments.begin());
        const ProgramRun real = Run(arguments);
        EXPECT_EQ(row.status, real.status);
        EXPECT_EQ(row.status == 0 ? "2 total references created.\n" : "", real.out);
    }
    const ProgramRun piped = Run({"-n", "-r", "x", input, "-"});
    EXPECT_EQ("would write standard output: 2 references\n", piped.out);
}

// The command line names its options where the window names its boxes.
TEST_F(Cli, PatternChecksNameTheOptions)
{
    const struct {
        std::vector<std::string> arguments;
        std::string err;
    } rows[] = {
        {{"-r", "1 2", "--level1", "Book", input, output},
         "pellimar-cli: Insufficient information to process reference pattern: \"2\" stands for level 2, and no "
         "name was given for it (--level2)\n"},
        {{"-r", "1 #", "--level1", "Book", input, output},
         "pellimar-cli: Insufficient information to process reference pattern: \"#\" stands for the page, and the "
         "page-number pattern (-p, --page-pattern) is empty\n"},
        {{"-r", "1 #", "-p", "[x]", "--level1", "Book", input, output},
         "pellimar-cli: the page-number pattern (-p, --page-pattern) must contain #\n"},
        {{"-r", "1</CS>", "--level1", "Book", input, output},
         "pellimar-cli: A later run could not recognise the references this pattern makes: it holds the code "
         "</CS>, which begins \"/CS\"\n"},
    };
    for (const auto& row : rows) {
        const ProgramRun run = Run(row.arguments);
        EXPECT_EQ(1, run.status);
        EXPECT_EQ(row.err, run.err);
    }
}

// The notes on what was cut to keep within the longest reference, each with
// the line of the first.
TEST_F(Cli, CutsAreNotedWithTheLineOfTheFirst)
{
    const std::string heading(70000, 'h');
    WriteFileBytes(input, "<RD:Book>" + heading + "\r\n<RD>x\r\n<RD>y\r\n");
    const ProgramRun run = Run({"-r", "1", "--level1", "Book", input, output});
    EXPECT_EQ(0, run.status);
    EXPECT_EQ("pellimar-cli: " + input + ": note: 1 heading was longer than 64 KB and keeps its first 64 KB, on line 1.\n" +
                  "pellimar-cli: " + input +
                  ": note: 2 references were cut to 64 KB, the longest a later run recognises, first on line 2.\n",
              run.err);
    const std::string written = ReadFileBytes(output);
    EXPECT_NE(std::string::npos, written.find("<RD:Book>" + heading + "\r\n<RD><CS:Reference>hhh"));
    const ProgramRun dry = Run({"-n", "-f", "-r", "1", "--level1", "Book", input, output});
    EXPECT_NE(std::string::npos,
              dry.err.find("note: 2 references would be cut to 64 KB, the longest a later run recognises, first on line 2.\n"));
}

TEST_F(Cli, ChecksComeInOrder)
{
    ExpectError(Run({"-r", "9", "-L", dir.File("no.def"), dir.File("missing"), output}),
                "Cannot open file " + dir.File("no.def"));
    ExpectError(Run({"-r", "2", dir.File("missing"), output}), "Input file not found.");
    WriteFileBytes(output, "keep");
    ExpectError(Run({"-r", "2", input, output}), "Insufficient information");
    EXPECT_EQ("keep", ReadFileBytes(output));
}

TEST_F(Cli, ExistingOutputNeedsForce)
{
    WriteFileBytes(output, "keep");
    const ProgramRun refused = Run({"-r", "x", input, output});
    ExpectError(refused, output);
    EXPECT_NE(std::string::npos, refused.err.find("--force"));
    EXPECT_EQ("keep", ReadFileBytes(output));
    EXPECT_EQ(0, Run({"-r", "x", "-f", input, output}).status);
    EXPECT_NE("keep", ReadFileBytes(output));
}

TEST_F(Cli, ProgressOnRequest)
{
    const ProgramRun run = Run({"-r", "x", "--progress", input, output});
    EXPECT_EQ(0, run.status);
    EXPECT_NE(std::string::npos, run.err.find("100%"));
    EXPECT_EQ("", Run({"-r", "x", "-f", input, output}).err);
}

}  // namespace
}  // namespace pellimar
