// Line and delimiter reading, writing and closing of the text stream.
#include "streams/text_stream.h"

#include <gtest/gtest.h>

#include "array_allocation_failure.h"
#include "streams/exceptions.h"
#include "support/expect_throw_msg.h"
#include "support/temp_dir.h"

namespace pellimar {
namespace {

using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

class TextStreamTest : public ::testing::Test {
protected:
    // A reading stream over a file holding exactly these bytes.
    TS_TextStream& Over(const std::string& bytes)
    {
        const std::string path = dir.File("in" + std::to_string(++files));
        WriteFileBytes(path, bytes);
        stream = std::make_unique<TS_TextStream>(path, fmOpenRead);
        return *stream;
    }

    TempDir dir;
    int files = 0;
    std::unique_ptr<TS_TextStream> stream;
};

TEST_F(TextStreamTest, ReadLineTakesCrLfAsOneBreak)
{
    TS_TextStream& s = Over("abc\r\ndef");
    EXPECT_EQ("abc", s.ReadLine());
    EXPECT_EQ("def", s.ReadLine());
    EXPECT_TRUE(s.Eof());
}

TEST_F(TextStreamTest, ReadLineTakesALoneCrAsABreak)
{
    TS_TextStream& s = Over("abc\rdef");
    EXPECT_EQ("abc", s.ReadLine());
    EXPECT_EQ("def", s.ReadLine());
}

TEST_F(TextStreamTest, ReadLineTakesLfCrAsTwoBreaks)
{
    TS_TextStream& s = Over("abc\n\rdef");
    EXPECT_EQ("abc", s.ReadLine());
    EXPECT_EQ("", s.ReadLine());
    EXPECT_EQ("def", s.ReadLine());
}

TEST_F(TextStreamTest, ReadLineWithCrAtTheEndOfTheFile)
{
    TS_TextStream& s = Over("abc\r");
    EXPECT_EQ("abc", s.ReadLine());
    EXPECT_TRUE(s.Eof());
}

TEST_F(TextStreamTest, ReadLineWithCrCrLf)
{
    TS_TextStream& s = Over("\r\r\n");
    EXPECT_EQ("", s.ReadLine());
    EXPECT_EQ("", s.ReadLine());
    EXPECT_TRUE(s.Eof());
}

TEST_F(TextStreamTest, ReadLineWithCrAsTheLastByteOfABlock)
{
    std::string text(8191, 'x');
    text += "\ryz";
    TS_TextStream& s = Over(text);
    EXPECT_EQ(std::string(8191, 'x'), s.ReadLine());
    EXPECT_EQ("yz", s.ReadLine());
}

TEST_F(TextStreamTest, ReadLineKeepsNulAndHandlesLongLines)
{
    std::string text(30000, 'q');
    text[5] = '\0';
    TS_TextStream& s = Over(text + "\nend\r\n" + text + "\r\nlast");
    EXPECT_EQ(text, s.ReadLine());
    EXPECT_EQ("en", s.ReadLine(2));
    EXPECT_EQ(text.substr(0, 9000), s.ReadLine(9000));  // the rest of the long line is passed over
    EXPECT_EQ("last", s.ReadLine());
}

TEST_F(TextStreamTest, EmptyFile)
{
    TS_TextStream& s = Over("");
    EXPECT_FALSE(s.Eof());
    EXPECT_EQ("", s.ReadLine());
    EXPECT_TRUE(s.Eof());
}

TEST_F(TextStreamTest, ReadCharOnEmptyFileRaisesReadError)
{
    TS_TextStream& s = Over("");
    EXPECT_THROW_MSG(s.ReadChar(), EReadError, "Stream read error");
}

TEST_F(TextStreamTest, ReadUntilLeavesTheDelimiterUnread)
{
    TS_TextStream& s = Over("abc>def");
    EXPECT_EQ("abc", s.ReadUntil(">"));
    EXPECT_EQ('>', s.ReadChar());
}

TEST_F(TextStreamTest, ReadUntilWithAnEmptySetStopsAtControlBytes)
{
    TS_TextStream& s = Over("ab\tc");
    EXPECT_EQ("ab", s.ReadUntil(""));
    EXPECT_EQ('\t', s.ReadChar());
}

TEST_F(TextStreamTest, ReadUntilWithASetTreatsOtherControlBytesAsText)
{
    TS_TextStream& s = Over("a\tb>");
    EXPECT_EQ("a\tb", s.ReadUntil(">"));
}

TEST_F(TextStreamTest, ReadUntilWithoutTheDelimiterTakesTheRest)
{
    std::string text(20000, 'r');
    TS_TextStream& s = Over(text);
    EXPECT_EQ(text, s.ReadUntil(">"));
    EXPECT_TRUE(s.Eof());
}

TEST_F(TextStreamTest, ReadUntilFindsADelimiterThatOpensTheNextBlock)
{
    std::string text(8192, 'r');
    TS_TextStream& s = Over(text + "\r\nx");
    EXPECT_EQ(text, s.ReadUntil("\r\n"));
    EXPECT_EQ('\r', s.ReadChar());
}

TEST_F(TextStreamTest, ReadUntilTreatsHighBytesAsText)
{
    TS_TextStream& s = Over("\x85\xff<x");
    EXPECT_EQ("\x85\xff", s.ReadUntil("<"));
}

TEST_F(TextStreamTest, WritesEveryByteInOrderWithNothingAdded)
{
    const std::string path = dir.File("out");
    {
        TS_TextStream out(path, fmCreate);
        out.WriteChar('a');
        out.WriteStr("");
        out.WriteStr(std::string("b\0c", 3));
        out.WriteInt(0);
        out.WriteInt(-1);
        out.WriteInt(1234);
        out.WriteInt(INT32_MIN);
        out.Close();
    }
    EXPECT_EQ(std::string("ab\0c0-11234-2147483648", 22), ReadFileBytes(path));
}

TEST_F(TextStreamTest, DestroyFlushesPendingBytes)
{
    const std::string path = dir.File("out");
    const std::string text(10000, 'k');
    {
        TS_TextStream out(path, fmCreate);
        out.WriteStr(text);
    }
    EXPECT_EQ(text, ReadFileBytes(path));
}

TEST_F(TextStreamTest, CreateEmptiesAnExistingFile)
{
    const std::string path = dir.File("out");
    WriteFileBytes(path, "old contents");
    {
        TS_TextStream out(path, fmCreate);
        out.WriteStr("new");
        out.Close();
    }
    EXPECT_EQ("new", ReadFileBytes(path));
}

TEST_F(TextStreamTest, FailedConstructionLeavesTheFileFreeForTheNextOpener)
{
    const std::string path = dir.File("held");
    WriteFileBytes(path, "");
    const std::size_t blockSize = 12345;  // a block size nothing else asks for
    for (const std::uint16_t mode : {fmOpenRead, fmCreate}) {
        {
            testing::ArrayAllocationFailure noBlock(blockSize);
            EXPECT_THROW(TS_TextStream(path, mode, blockSize), std::bad_alloc) << mode;
        }
        EXPECT_NO_THROW(TS_TextStream(path, mode, blockSize)) << mode;
    }
}

// Blocks as large as a run's go between the file and the caller directly.
TEST_F(TextStreamTest, LargeBlocksCarryAFileBothWays)
{
    std::string bytes(600 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 % 251);
    const std::string input = dir.File("large-in");
    const std::string output = dir.File("large-out");
    WriteFileBytes(input, bytes);
    {
        TS_TextStream in(input, fmOpenRead, 256 * 1024);
        TS_TextStream out(output, fmCreate, 256 * 1024);
        std::uint8_t ch;
        while (in.TryReadByte(ch))
            out.WriteChar(ch);
        out.Close();
    }
    EXPECT_EQ(bytes, ReadFileBytes(output));
}

TEST_F(TextStreamTest, PositionAndSizeOfAReadingStream)
{
    TS_TextStream& s = Over("0123456789");
    EXPECT_EQ(10, s.Size());
    s.ReadChar();
    s.ReadChar();
    EXPECT_EQ(2, s.Position());
    EXPECT_EQ(10, s.Size());
    EXPECT_EQ('2', s.ReadChar());
}

}  // namespace
}  // namespace pellimar
