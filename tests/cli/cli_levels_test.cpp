// What pellimar-cli tells of the levels a file's level records name: the
// list of --list-levels, and the notes after a run or a preview.
#include <filesystem>

#include "cli/cli_fixture.h"

namespace pellimar::testing {
namespace {

using CliLevels = Cli;

constexpr const char* kLevelsInput =
    "<RD:Book>Genesis\r\n<RD>text\r\n<RD:Chapter>One<TB>1\r\n<RD:\"Sub Part\">a\r\n<RD:book>Exodus\r\n<RD>t\r\n";

TEST_F(CliLevels, ListLevelsNeedsNoPatternAndWritesNoFile)
{
    WriteFileBytes(input, kLevelsInput);
    const ProgramRun run = Run({"--list-levels", input});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("Book\t2\tGenesis\nChapter\t1\tOne 1\nSub Part\t1\ta\n", run.out);
    EXPECT_EQ("", run.err);
    EXPECT_FALSE(std::filesystem::exists(output));
    ExpectError(Run({"--list-levels", input, output}), "--list-levels takes INPUT only", 2);
    ExpectError(Run({"--list-levels", "--preview", input}), "--list-levels cannot be given with", 2);
}

// Names past the listed ones are counted together, said in the singular
// for one record.
TEST_F(CliLevels, ListLevelsCountsTheRecordsPastTheListedNames)
{
    for (const int more : {1, 2}) {
        std::string text;
        for (int i = 0; i < 1000 + more; ++i)
            text += "<RD:L" + std::to_string(i) + ">h\r\n";
        WriteFileBytes(input, text);
        const ProgramRun run = Run({"--list-levels", input});
        EXPECT_EQ(0, run.status) << run.err;
        EXPECT_NE(std::string::npos, run.err.find(more == 1 ? "note: 1 more level record names a level past the first 1000"
                                                            : "note: 2 more level records name levels past the first 1000"))
            << run.err;
    }
}

TEST_F(CliLevels, LevelsOfThePatternThatNothingNamesAreNoted)
{
    WriteFileBytes(input, kLevelsInput);
    const ProgramRun run = Run({"-r", "1", "--level1", "Chaptr", input, output});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_NE(std::string::npos, run.out.find("0 total references created.")) << run.out;
    EXPECT_NE(std::string::npos,
              run.err.find("note: no level record names level 1 \"Chaptr\"; the level records name: Book (2), "
                           "Chapter (1), \"Sub Part\" (1)\n"))
        << run.err;
    const ProgramRun preview = Run({"-r", "1", "--level1", "Chaptr", "--preview", input});
    EXPECT_NE(std::string::npos, preview.err.find("note: no level record names level 1 \"Chaptr\"")) << preview.err;
    const ProgramRun named = Run({"-f", "-r", "1", "--level1", "chapter", input, output});
    EXPECT_EQ(std::string::npos, named.err.find("note:")) << named.err;
}

TEST_F(CliLevels, FirstNameOfTheLevelsLineIsNotedWhereLevelRecordsUseIt)
{
    WriteFileBytes(input, kLevelsInput);
    const std::string definitions = dir.File("levels.def");
    WriteFileBytes(definitions, "<LN:Book,Chapter,\"Sub Part\">\r\n");
    // "--levels" is still taken for --levels-from.
    const ProgramRun run = Run({"-r", "1", "--levels", definitions, input, output});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_NE(std::string::npos, run.out.find("1 total references created.")) << run.out;
    EXPECT_NE(
        std::string::npos,
        run.err.find("note: " + definitions +
                     "'s first level name \"Book\" is not loaded; 2 "
                     "level records of " +
                     input +
                     " name it; --level1 Book --level2 Chapter --level3 'Sub Part' sets it and moves the level names "
                     "given one level down\n"))
        << run.err;
    const ProgramRun given = Run({"-f", "-r", "1", "-L", definitions, "--level3", "Book", input, output});
    EXPECT_EQ(std::string::npos, given.err.find("is not loaded")) << given.err;
}

TEST_F(CliLevels, HelpFileLevelsWithIdRecords)
{
    const std::filesystem::path shared = SharedDataDir();
    if (shared.empty() || !std::filesystem::exists(shared / "FolioHlp.FFF"))
        GTEST_SKIP() << "shared sample files are not present";
    const ProgramRun run = Run({"--id-records", "--list-levels", (shared / "FolioHlp.FFF").string()});
    EXPECT_EQ(0, run.status) << run.err;
    std::string counts;
    for (std::size_t at = 0; at < run.out.size();) {
        const std::size_t end = run.out.find('\n', at);
        const std::string line = run.out.substr(at, end - at);
        counts += line.substr(0, line.find('\t', line.find('\t') + 1)) + ";";
        at = end + 1;
    }
    EXPECT_EQ("Book\t11;Chapter\t381;Heading\t1271;Sub-Heading 1\t784;Sub-Heading 2\t673;Section\t45;"
              "Sub-Heading 3\t152;Sub-Heading 4\t5;",
              counts);
}

}  // namespace
}  // namespace pellimar::testing
