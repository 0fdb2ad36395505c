// pellimar-cli end to end: the real program on real files.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/run_binary.h"
#include "support/temp_dir.h"

namespace pellimar {
namespace {

using testing::ProgramRun;
using testing::ReadFileBytes;
using testing::WriteFileBytes;

const std::string kInput = "<RD:Book>Genesis\r\n<RD>In the beginning [1] God\r\n<RD><JU:CN>created\r\n";

class Cli : public ::testing::Test {
protected:
    Cli()
    {
        input = dir.File("in.fff");
        output = dir.File("out.fff");
        WriteFileBytes(input, kInput);
    }

    ProgramRun Run(std::vector<std::string> arguments, rlim_t fileSizeLimit = 0)
    {
        return testing::RunProgram(PELLIMAR_CLI_PATH, arguments, fileSizeLimit);
    }

    static void ExpectError(const ProgramRun& run, const std::string& message, int status = 1)
    {
        EXPECT_EQ(status, run.status);
        EXPECT_NE(std::string::npos, run.err.find(message)) << run.err;
        EXPECT_EQ("", run.out);
    }

    testing::TempDir dir;
    std::string input;
    std::string output;
};

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
}

TEST_F(Cli, MissingInputOrAFolder)
{
    ExpectError(Run({"-r", "1", dir.File("missing"), output}), "Input file not found.");
    ExpectError(Run({"-r", "1", dir.Path().string(), output}), "Input file not found.");
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_F(Cli, PatternChecks)
{
    ExpectError(Run({"-r", "1 2", "--level1", "Book", input, output}),
                "Insufficient information to process reference pattern");
    ExpectError(Run({"-r", "1 #", "-p", "[x]", "--level1", "Book", input, output}), "Page # Pattern must contain #");
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

TEST_F(Cli, OutputThatIsTheInputIsRefused)
{
    for (const std::string& same : {input, (dir.Path() / "." / "in.fff").string()}) {
        ExpectError(Run({"-r", "x", "-f", input, same}), "Cannot create file " + same);
        EXPECT_EQ(kInput, ReadFileBytes(input));
    }
    const std::string link = dir.File("link.fff");
    std::filesystem::create_symlink(input, link);
    ExpectError(Run({"-r", "x", "-f", input, link}), "Cannot create file " + link);
    EXPECT_EQ(kInput, ReadFileBytes(input));
}

TEST_F(Cli, OutputInAMissingFolder)
{
    const std::string nowhere = dir.File("no/such/out.fff");
    ExpectError(Run({"-r", "x", input, nowhere}), "Cannot create file " + nowhere);
}

TEST_F(Cli, FullDiskIsAWriteErrorNotASuccess)
{
    std::string big;
    for (int i = 0; i < 3000; ++i)
        big += "<RD>record text\r\n";
    WriteFileBytes(input, big);
    // A block in the middle of the run, then only the last block at the close.
    ExpectError(Run({"-r", "x", input, output}, 20000), "Stream write error");
    ASSERT_EQ(0, Run({"-r", "x", "-f", input, output}).status);
    const auto fullSize = std::filesystem::file_size(output);
    ASSERT_NE(0u, fullSize % 8192);
    ExpectError(Run({"-r", "x", "-f", input, output}, fullSize - 1), "Stream write error");
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
