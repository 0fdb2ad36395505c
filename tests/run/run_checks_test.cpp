// The checks before a run: what stops it, in which order, and what it says.
#include "run/run_checks.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "streams/file_names.h"
#include "support/temp_dir.h"

namespace pellimar {
namespace {

using testing::TempDir;
using testing::WriteFileBytes;

class RunChecksTest : public ::testing::Test {
protected:
    RunChecksTest()
    {
        settings.inputPath = dir.File("in.fff");
        settings.refPattern = "1 #";
        settings.pagePattern = "[#]";
        settings.levelTexts[0] = "Book";
        WriteFileBytes(settings.inputPath, "<RD>x");
    }

    TempDir dir;
    RunSettings settings;
};

TEST_F(RunChecksTest, FilledSettingsPass)
{
    const RunCheck check = CheckRunInputs(settings);
    EXPECT_TRUE(check.Passed());
    EXPECT_EQ("", check.message);
}

TEST_F(RunChecksTest, MissingInputOrAFolderIsRefusedBeforeAnyPatternIsLookedAt)
{
    settings.refPattern = "1 2";  // would fail next
    for (const std::string& input : {dir.File("absent.fff"), std::string()}) {
        settings.inputPath = input;
        const RunCheck check = CheckRunInputs(settings);
        EXPECT_EQ(RunCheckFailure::InputNotFound, check.failure) << input;
        EXPECT_EQ("Input file not found.", check.message);
        EXPECT_TRUE(check.OfInput());
    }
    // A folder is there: it is what it is, not missing.
    settings.inputPath = dir.Path().string();
    const RunCheck check = CheckRunInputs(settings);
    EXPECT_EQ(RunCheckFailure::InputIsFolder, check.failure);
    EXPECT_EQ("Cannot open file " + settings.inputPath, check.message);
    EXPECT_EQ("it is a folder", check.reason);
    EXPECT_TRUE(check.OfInput());
}

TEST_F(RunChecksTest, PatternSourcesComeBeforeThePageMarker)
{
    settings.pagePattern = "";
    RunCheck check = CheckRunInputs(settings);
    EXPECT_EQ(RunCheckFailure::PatternSourceMissing, check.failure);
    EXPECT_EQ("Insufficient information to process reference pattern", check.message);
    EXPECT_EQ("\"#\" stands for the page, and the page-number pattern is empty", check.reason);
    EXPECT_EQ('#', check.missingToken);
    settings.refPattern = "1 2 #";
    EXPECT_EQ("\"2\" stands for level 2, which has no name", CheckRunInputs(settings).reason);
    EXPECT_EQ('2', CheckRunInputs(settings).missingToken);
    settings.refPattern = "1 #";

    settings.pagePattern = "[x]";
    check = CheckRunInputs(settings);
    EXPECT_EQ(RunCheckFailure::PagePatternWithoutHash, check.failure);
    EXPECT_EQ("Page # Pattern must contain #", check.message);
}

TEST_F(RunChecksTest, OutputIsInputThroughALinkOrAnotherSpelling)
{
    std::filesystem::create_symlink(settings.inputPath, dir.File("link.fff"));
    const std::string other = (std::filesystem::path(settings.inputPath).parent_path() / "." /
                               std::filesystem::path(settings.inputPath).filename()).string();
    EXPECT_TRUE(OutputIsInput(settings.inputPath, dir.File("link.fff")));
    EXPECT_TRUE(OutputIsInput(settings.inputPath, other));
    EXPECT_FALSE(OutputIsInput(settings.inputPath, dir.File("new.fff")));
    EXPECT_FALSE(OutputIsInput("", ""));
}

TEST_F(RunChecksTest, OutputExistsForAFileAndForALinkToNothing)
{
    EXPECT_TRUE(OutputExists(settings.inputPath));
    EXPECT_FALSE(OutputExists(dir.File("new.fff")));
    EXPECT_FALSE(OutputExists(""));
    std::filesystem::create_symlink(dir.File("nowhere"), dir.File("link.fff"));
    EXPECT_TRUE(OutputExists(dir.File("link.fff")));
    // Writing into a device replaces no file.
    EXPECT_FALSE(OutputExists(kNullDevice));
}

}  // namespace
}  // namespace pellimar
