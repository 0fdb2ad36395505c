// Reading and writing the pattern history files.
#include "settings/pattern_history.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "streams/exceptions.h"
#include "support/expect_throw_msg.h"
#include "support/temp_dir.h"
#include "write_failure.h"

namespace pellimar {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;
using Entries = std::vector<std::string>;

TEST(PatternHistoryTest, LinesEndAtCrAtLfOrAtCrLfAndTheLastNeedsNoLineEnd)
{
    EXPECT_EQ((Entries{"a", "b", "c"}), ParsePatternHistory("a\nb\nc\n"));
    EXPECT_EQ((Entries{"a", "b", "c"}), ParsePatternHistory("a\rb\rc"));
    EXPECT_EQ((Entries{"a", "", "b", "", "c"}), ParsePatternHistory("a\r\n\nb\n\rc"));
    EXPECT_EQ((Entries{""}), ParsePatternHistory("\r\n"));
    EXPECT_TRUE(ParsePatternHistory("").empty());
}

TEST(PatternHistoryTest, TextEndsAtTheFirstNulByte)
{
    EXPECT_EQ((Entries{"a", "b"}), ParsePatternHistory(std::string("a\r\nb\0c\r\nd\r\n", 11)));
}

TEST(PatternHistoryTest, MissingOrUnreadableFileLoadsNothing)
{
    TempDir dir;
    EXPECT_FALSE(LoadPatternHistory(dir.File("patterns.pag")));
    EXPECT_FALSE(LoadPatternHistory(dir.Path().string()));
    WriteFileBytes(dir.File("patterns.pag"), "p. #\r\n[#]");
    EXPECT_EQ((Entries{"p. #", "[#]"}), LoadPatternHistory(dir.File("patterns.pag")));
}

TEST(PatternHistoryTest, FailedSaveRaisesCannotCreateAndKeepsTheOldFile)
{
    TempDir dir;
    const std::string path = dir.File("patterns.pag");
    WriteFileBytes(path, "old\r\n");
    {
        testing::FullDisk fullDisk;
        EXPECT_THROW_MSG(SavePatternHistory(path, {"new one"}), EFCreateError, "Cannot create file " + path);
    }
    EXPECT_EQ("old\r\n", ReadFileBytes(path));
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(dir.Path()), {}));
}

}  // namespace
}  // namespace pellimar
