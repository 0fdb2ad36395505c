// Reading level names from a "<LN:" line and from a file.
#include "engine/level_names_line.h"

#include <gtest/gtest.h>

#include "streams/exceptions.h"
#include "support/expect_throw_msg.h"
#include "support/temp_dir.h"

namespace pellimar {
namespace {

using Names = std::vector<std::string>;

TEST(LevelNamesLine, QualifiesByItsFirstFourBytesInAnyCase)
{
    EXPECT_TRUE(IsLevelNamesLine("<LN:Tome,Book>"));
    EXPECT_TRUE(IsLevelNamesLine("<ln:x"));
    EXPECT_FALSE(IsLevelNamesLine(" <LN:Tome,Book>"));
    EXPECT_FALSE(IsLevelNamesLine("<LN"));
}

TEST(LevelNamesLine, FieldsAfterTheFirstComma)
{
    EXPECT_EQ((Names{"Book", "Chapter", "Verse"}), ParseLevelNamesLine("<LN:Tome,Book,Chapter,Verse>"));
}

TEST(LevelNamesLine, FirstFieldIsTheNameSkipped)
{
    EXPECT_EQ("Tome", SkippedLevelName("<LN:Tome,Book,Chapter>"));
    EXPECT_EQ("Sub Tome", SkippedLevelName("<ln:\"Sub Tome\",Book>"));
    EXPECT_EQ("", SkippedLevelName("<LN:Tome>"));
    EXPECT_EQ("", SkippedLevelName("<LN:,Book>"));
}

TEST(LevelNamesLine, QuotesComeOffOncePerSide)
{
    EXPECT_EQ((Names{"Sub Section", " \"Part", "\"x\"", ""}),
              ParseLevelNamesLine("<LN:T,\"Sub Section\", \"Part\",\"\"x\"\",\">"));
}

TEST(LevelNamesLine, EmptyFields)
{
    EXPECT_EQ((Names{"a", "", "b", ""}), ParseLevelNamesLine("<LN:T,a,,b,>"));
}

TEST(LevelNamesLine, AtMostSevenFields)
{
    EXPECT_EQ((Names{"1", "2", "3", "4", "5", "6", "7"}), ParseLevelNamesLine("<LN:T,1,2,3,4,5,6,7,8,9>"));
}

TEST(LevelNamesLine, CommaAfterTheCloseRunsTheLastFieldOn)
{
    EXPECT_EQ((Names{"a", "b> tail"}), ParseLevelNamesLine("<LN:T,a,b> tail,more"));
}

TEST(LevelNamesLine, LineWithoutACommaGivesNothing)
{
    EXPECT_TRUE(ParseLevelNamesLine("<LN:Book>").empty());
}

TEST(LevelNamesLine, FieldWithoutAnEndIsDropped)
{
    EXPECT_EQ((Names{"a"}), ParseLevelNamesLine("<LN:T,a,b"));
}

class LevelNamesFile : public ::testing::Test {
protected:
    Names Read(const std::string& bytes)
    {
        const std::string path = dir.File("levels.def");
        testing::WriteFileBytes(path, bytes);
        return ReadLevelNamesFile(path);
    }
    testing::TempDir dir;
};

TEST_F(LevelNamesFile, FirstQualifyingLineWins)
{
    EXPECT_EQ((Names{"Book", "Chapter"}), Read("<DE:x,y,z>\r\nnoise, more\r\n<LN:T,Book,Chapter>\r\n<LN:T,Other>\r\n"));
}

TEST_F(LevelNamesFile, LinesOfMegabytesBeforeTheLevelNamesArePassedOver)
{
    EXPECT_EQ((Names{"Book"}), Read(std::string(3'000'000, 'x') + "\r\n<LN:T,Book>\r\n"));
}

// One byte short of the limit is read; past it the line is refused, not
// passed over as a line without names.
TEST_F(LevelNamesFile, LevelNamesLineLongerThanAMegabyteIsRefusedAsTooLong)
{
    const std::string head = "<LN:";
    const std::string tail = ",Book>";
    const std::size_t longest = 1 << 20;
    EXPECT_EQ((Names{"Book"}), Read(head + std::string(longest - head.size() - tail.size(), 'x') + tail + "\r\n"));
    EXPECT_THROW_MSG(Read(head + std::string(longest - head.size() - tail.size() + 1, 'x') + tail + "\r\n"), Exception,
                     "Level names not read from " + dir.File("levels.def"));
}

TEST_F(LevelNamesFile, LfOnlyAndCrOnlyLineEnds)
{
    EXPECT_EQ((Names{"A"}), Read("x\n<ln:T,A>\n"));
    EXPECT_EQ((Names{"A"}), Read("x\r<LN:T,A>\r"));
}

TEST_F(LevelNamesFile, NoQualifyingLineGivesNothing)
{
    EXPECT_TRUE(Read("one\r\ntwo, three>\r\n").empty());
    EXPECT_TRUE(Read("").empty());
}

TEST_F(LevelNamesFile, MissingFileRaisesCannotOpen)
{
    const std::string path = dir.File("missing.def");
    EXPECT_THROW_MSG(ReadLevelNamesFile(path), EFOpenError, "Cannot open file " + path);
}

TEST_F(LevelNamesFile, SharedHelpDefinitionFile)
{
    const auto shared = testing::SharedDataDir();
    if (shared.empty() || !std::filesystem::exists(shared / "FolioHlp.DEF"))
        GTEST_SKIP() << "shared sample files are not present";
    EXPECT_EQ((Names{"Section", "Chapter", "Heading", "Sub-Heading 1", "Sub-Heading 2", "Sub-Heading 3",
                     "Sub-Heading 4"}),
              ReadLevelNamesFile((shared / "FolioHlp.DEF").string()));
    EXPECT_EQ("Book", ReadLevelNamesLine((shared / "FolioHlp.DEF").string()).skipped);
}

}  // namespace
}  // namespace pellimar
