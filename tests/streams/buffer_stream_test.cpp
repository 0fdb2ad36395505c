// Block handling, put-back, the end test and seeking of the buffered stream.
#include "streams/buffer_stream.h"

#include <gtest/gtest.h>

#include <span>

#include "streams/exceptions.h"
#include "support/expect_throw_msg.h"
#include "support/memory_stream.h"

namespace pellimar {
namespace {

using testing::MemoryStream;

std::string Bytes(std::size_t n)
{
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>('a' + i % 26);
    return s;
}

std::uint8_t ReadOne(TS_BufferStream& stream)
{
    std::uint8_t ch = 0;
    EXPECT_EQ(1, stream.Read(&ch, 1));
    return ch;
}

TEST(BufferStreamEof, EmptySourceIsNotAtEndBeforeTheFirstRead)
{
    MemoryStream source;
    TS_BufferStream stream(&source);
    EXPECT_FALSE(stream.Eof());
    std::uint8_t ch;
    EXPECT_EQ(0, stream.Read(&ch, 1));
    EXPECT_TRUE(stream.Eof());
}

TEST(BufferStreamEof, ReadBufferOnEmptySourceRaisesReadError)
{
    MemoryStream source;
    TS_BufferStream stream(&source);
    std::uint8_t ch;
    EXPECT_THROW_MSG(stream.ReadBuffer(&ch, 1), EReadError, "Stream read error");
}

TEST(BufferStreamEof, ExactBlockIsAtEndWithoutAnotherSourceRead)
{
    MemoryStream source(Bytes(8192));
    TS_BufferStream stream(&source);
    for (int i = 0; i < 8192; ++i)
        ReadOne(stream);
    EXPECT_EQ(1, source.reads);
    EXPECT_TRUE(stream.Eof());
    EXPECT_EQ(1, source.reads);
}

TEST(BufferStreamEof, OneByteOverABlockNeedsASecondFillOfOneByte)
{
    MemoryStream source(Bytes(8193));
    TS_BufferStream stream(&source);
    int fills = 0;
    std::int64_t lastFill = -1;
    stream.SetAfterFill([&](TS_BufferStream& s) {
        ++fills;
        lastFill = s.ReadAhead().size();
    });
    for (int i = 0; i < 8192; ++i)
        ReadOne(stream);
    EXPECT_FALSE(stream.Eof());
    EXPECT_EQ(Bytes(8193).back(), static_cast<char>(ReadOne(stream)));
    EXPECT_EQ(2, fills);
    EXPECT_EQ(1, lastFill);
    EXPECT_TRUE(stream.Eof());
}

// The end test asks the source for its size once, and again only when
// reading reaches that size: a source that grew meanwhile is read on.
TEST(BufferStreamEof, AsksTheSizeOnceAndAgainOnlyWhereItWasReached)
{
    struct SizeCounting : MemoryStream {
        using MemoryStream::MemoryStream;
        std::int64_t Seek(std::int64_t offset, std::uint16_t origin) override
        {
            sizes += origin == kFromEnd ? 1 : 0;
            return MemoryStream::Seek(offset, origin);
        }
        int sizes = 0;
    };
    SizeCounting source(Bytes(160));
    TS_BufferStream stream(&source, 16);
    for (int i = 0; i < 150; ++i) {
        EXPECT_FALSE(stream.Eof());
        ReadOne(stream);
    }
    EXPECT_EQ(1, source.sizes);
    source.data += "xyz";
    std::string rest;
    while (!stream.Eof())
        rest += static_cast<char>(ReadOne(stream));
    EXPECT_EQ(Bytes(160).substr(150) + "xyz", rest);
    EXPECT_EQ(3, source.sizes);  // at 160, where it had grown, and at 163
}

TEST(BufferStreamPutBack, ReplacesTheByteAndStepsPositionBack)
{
    MemoryStream source("ax");
    TS_BufferStream stream(&source);
    EXPECT_EQ('a', ReadOne(stream));
    const std::int64_t before = stream.Position();
    stream.PutBack('b');
    EXPECT_EQ(before - 1, stream.Position());
    EXPECT_EQ('b', ReadOne(stream));
    EXPECT_EQ('x', ReadOne(stream));
}

TEST(BufferStreamPutBack, AsManyAsWereReadFromTheCurrentFill)
{
    MemoryStream source("abc");
    TS_BufferStream stream(&source);
    char buffer[3];
    stream.ReadBuffer(buffer, 3);
    stream.PutBack('3');
    stream.PutBack('2');
    stream.PutBack('1');
    EXPECT_THROW_MSG(stream.PutBack('0'), EStreamError, "Putback overflow");
    stream.ReadBuffer(buffer, 3);
    EXPECT_EQ("123", std::string(buffer, 3));
}

TEST(BufferStreamPutBack, OnlyOneAfterABlockBoundary)
{
    MemoryStream source(Bytes(8200));
    TS_BufferStream stream(&source);
    for (int i = 0; i < 8193; ++i)
        ReadOne(stream);
    stream.PutBack('z');
    EXPECT_THROW_MSG(stream.PutBack('y'), EStreamError, "Putback overflow");
}

TEST(BufferStreamPutBack, FailsOnANewStreamAndAfterTheEndWasFound)
{
    MemoryStream source("a");
    TS_BufferStream stream(&source);
    EXPECT_THROW_MSG(stream.PutBack('x'), EStreamError, "Putback overflow");
    ReadOne(stream);
    std::uint8_t ch;
    EXPECT_EQ(0, stream.Read(&ch, 1));
    EXPECT_THROW_MSG(stream.PutBack('x'), EStreamError, "Putback overflow");
}

// What CopyAhead gives, as text.
std::string Ahead(TS_BufferStream& stream, std::size_t offset, std::size_t count)
{
    std::string ahead(count, '\0');
    ahead.resize(stream.CopyAhead(offset, std::span(reinterpret_cast<std::uint8_t*>(ahead.data()), count)));
    return ahead;
}

// A look past the block: the bytes come from the block and from the source,
// and the reads after it hand them out in order, each fill telling where it
// stands, as if nothing had looked.
TEST(BufferStreamCopyAhead, LooksPastTheBlockWithoutTakingAnything)
{
    const std::string data = Bytes(30);
    MemoryStream source(data);
    TS_BufferStream stream(&source, 4);
    int fills = 0;
    stream.SetAfterFill([&](TS_BufferStream& s) {
        const std::span<const std::uint8_t> block = s.ReadAhead();
        EXPECT_EQ(data.substr(static_cast<std::size_t>(s.ReadPosition()), block.size()),
                  std::string(block.begin(), block.end()));
        ++fills;
    });
    EXPECT_EQ('a', ReadOne(stream));
    EXPECT_EQ(data.substr(1, 12), Ahead(stream, 0, 12));
    EXPECT_EQ(data.substr(6, 3), Ahead(stream, 5, 3));
    EXPECT_EQ(1, stream.ReadPosition());
    stream.PutBack('a');
    std::string read;
    while (!stream.Eof())
        read += static_cast<char>(ReadOne(stream));
    EXPECT_EQ(data, read);
    EXPECT_EQ(30, stream.ReadPosition());
    EXPECT_GT(fills, 7);
}

TEST(BufferStreamCopyAhead, GivesFewerWhereTheDataEndsAndEndsAfterThem)
{
    MemoryStream source("abcdef");
    TS_BufferStream stream(&source, 2);
    EXPECT_EQ("cdef", Ahead(stream, 2, 10));
    EXPECT_EQ("", Ahead(stream, 6, 1));
    EXPECT_EQ(6, source.pos);
    std::string read;
    while (!stream.Eof())
        read += static_cast<char>(ReadOne(stream));
    EXPECT_EQ("abcdef", read);
}

// The looked-at bytes were read from the source but not by the caller.
TEST(BufferStreamCopyAhead, SeekAndWriteAfterItStandWhereTheCallerStands)
{
    MemoryStream source(Bytes(20));
    {
        TS_BufferStream stream(&source, 4);
        ReadOne(stream);
        Ahead(stream, 0, 10);
        EXPECT_EQ(1, stream.Seek(0, kFromCurrent));
        stream.WriteBuffer("XY", 2);
    }
    std::string expected = Bytes(20);
    expected.replace(1, 2, "XY");
    EXPECT_EQ(expected, source.data);

    MemoryStream again(Bytes(20));
    TS_BufferStream stream(&again, 4);
    Ahead(stream, 0, 10);
    stream.Seek(15, kFromBeginning);
    EXPECT_EQ(Bytes(20)[15], static_cast<char>(ReadOne(stream)));
}

// A write where the caller stands leaves no looked-at byte to be read again.
TEST(BufferStreamCopyAhead, ReadAfterAWriteGoesOnPastTheWrittenBytes)
{
    MemoryStream source(Bytes(20));
    TS_BufferStream stream(&source, 4);
    ReadOne(stream);
    Ahead(stream, 0, 10);
    stream.WriteBuffer("XY", 2);
    EXPECT_EQ(Bytes(20)[3], static_cast<char>(ReadOne(stream)));
}

TEST(BufferStreamSeek, CurrentOriginReportsTheLogicalPositionAndKeepsReadAhead)
{
    MemoryStream source(Bytes(100));
    TS_BufferStream stream(&source);
    for (int i = 0; i < 7; ++i)
        ReadOne(stream);
    EXPECT_EQ(7, stream.Seek(0, kFromCurrent));
    EXPECT_EQ(Bytes(100)[7], static_cast<char>(ReadOne(stream)));
    EXPECT_EQ(1, source.reads);
}

TEST(BufferStreamSeek, EndOriginCountsBackFromTheEnd)
{
    MemoryStream source(Bytes(100));
    TS_BufferStream stream(&source);
    EXPECT_EQ(90, stream.Seek(10, kFromEnd));
    EXPECT_EQ(Bytes(100)[90], static_cast<char>(ReadOne(stream)));
}

TEST(BufferStreamSeek, BeginningOriginAndRelativeMoves)
{
    MemoryStream source(Bytes(100));
    TS_BufferStream stream(&source);
    EXPECT_EQ(40, stream.Seek(40, kFromBeginning));
    EXPECT_EQ(45, stream.Seek(5, kFromCurrent));
    EXPECT_EQ(Bytes(100)[45], static_cast<char>(ReadOne(stream)));
}

TEST(BufferStreamSeek, UnknownOriginRaisesWithTheOriginAndChangesNothing)
{
    MemoryStream source(Bytes(10));
    TS_BufferStream stream(&source);
    ReadOne(stream);
    EXPECT_THROW_MSG(stream.Seek(0, 3), Exception, "Invalid seek origin (3)");
    EXPECT_THROW_MSG(stream.Seek(0, 65535), Exception, "Invalid seek origin (65535)");
    EXPECT_EQ(1, stream.Position());
    EXPECT_EQ(Bytes(10)[1], static_cast<char>(ReadOne(stream)));
}

TEST(BufferStreamSeek, ToTheCurrentPositionKeepsReadAheadOtherwiseDiscardsIt)
{
    MemoryStream source(Bytes(100));
    TS_BufferStream stream(&source);
    for (int i = 0; i < 5; ++i)
        ReadOne(stream);
    stream.Seek(5, kFromBeginning);
    EXPECT_EQ(1, source.reads);
    stream.Seek(6, kFromBeginning);
    EXPECT_TRUE(stream.ReadAhead().empty());
    EXPECT_EQ(Bytes(100)[6], static_cast<char>(ReadOne(stream)));
    EXPECT_EQ(2, source.reads);
}

TEST(BufferStreamSeek, FailedFlushRaisesSeekError)
{
    MemoryStream source;
    source.writeLimit = 0;
    TS_BufferStream stream(&source);
    stream.WriteBuffer("abc", 3);
    EXPECT_THROW_MSG(stream.Seek(0, kFromBeginning), EStreamError, "Seek error");
}

TEST(BufferStreamSize, MovesToTheEndAndBackAndRefillsFromTheSamePlace)
{
    MemoryStream source(Bytes(50));
    TS_BufferStream stream(&source);
    for (int i = 0; i < 3; ++i)
        ReadOne(stream);
    EXPECT_EQ(50, stream.Size());
    EXPECT_EQ(3, stream.Position());
    EXPECT_EQ(Bytes(50)[3], static_cast<char>(ReadOne(stream)));
}

TEST(BufferStreamWrite, AFullBlockGoesOutAtOnce)
{
    MemoryStream source;
    TS_BufferStream stream(&source);
    EXPECT_EQ(8192, stream.Write(Bytes(8192).data(), 8192));
    EXPECT_EQ(8192u, source.data.size());
    EXPECT_EQ(8192, stream.Position());
}

TEST(BufferStreamWrite, OneByteOverABlockStaysPendingUntilDestroyed)
{
    MemoryStream source;
    {
        TS_BufferStream stream(&source);
        stream.WriteBuffer(Bytes(8193).data(), 8193);
        EXPECT_EQ(8192u, source.data.size());
        EXPECT_EQ(8193, stream.Position());
    }
    EXPECT_EQ(Bytes(8193), source.data);
}

TEST(BufferStreamWrite, SingleBytesReachTheSourceInBlocks)
{
    MemoryStream source;
    {
        TS_BufferStream stream(&source);
        const std::string text = Bytes(20000);
        for (char c : text)
            stream.WriteByte(static_cast<std::uint8_t>(c));
        EXPECT_EQ(2, source.writes);
        EXPECT_EQ(20000, stream.Position());
    }
    EXPECT_EQ(Bytes(20000), source.data);
}

TEST(BufferStreamWrite, ShortSourceMakesWriteBufferRaise)
{
    MemoryStream source;
    source.writeLimit = 100;
    TS_BufferStream stream(&source);
    const std::string text = Bytes(9000);
    EXPECT_THROW_MSG(stream.WriteBuffer(text.data(), 9000), EWriteError, "Stream write error");
}

TEST(BufferStreamWrite, ReadingStreamDestroyedWritesNothing)
{
    MemoryStream source("abc");
    {
        TS_BufferStream stream(&source);
        ReadOne(stream);
    }
    EXPECT_EQ(0, source.writes);
}

TEST(BufferStreamDirection, WriteAfterReadsLandsAtTheLogicalPosition)
{
    MemoryStream source(Bytes(30));
    {
        TS_BufferStream stream(&source);
        for (int i = 0; i < 4; ++i)
            ReadOne(stream);
        stream.WriteBuffer("XY", 2);
        EXPECT_EQ(6, stream.Position());
    }
    std::string expected = Bytes(30);
    expected.replace(4, 2, "XY");
    EXPECT_EQ(expected, source.data);
}

TEST(BufferStreamDirection, WriteAfterTheEndWasFoundAppends)
{
    MemoryStream source("ab");
    {
        TS_BufferStream stream(&source);
        char buffer[4];
        EXPECT_EQ(2, stream.Read(buffer, 4));
        stream.WriteBuffer("cd", 2);
    }
    EXPECT_EQ("abcd", source.data);
}

TEST(BufferStreamDirection, ReadAfterWritesComesFromTheLogicalPosition)
{
    MemoryStream source(Bytes(20));
    TS_BufferStream stream(&source);
    stream.WriteBuffer("XYZ", 3);
    EXPECT_EQ(Bytes(20)[3], static_cast<char>(ReadOne(stream)));
    EXPECT_EQ("XYZ", source.data.substr(0, 3));
}

TEST(BufferStreamDirection, ReadAfterAFlushedFullBlockComesFromTheSource)
{
    MemoryStream source(Bytes(9000));
    TS_BufferStream stream(&source);
    const std::string block(8192, 'W');
    stream.WriteBuffer(block.data(), 8192);
    EXPECT_EQ(Bytes(9000)[8192], static_cast<char>(ReadOne(stream)));
}

TEST(BufferStreamReadPosition, FollowsReadsPutBacksFillsAndSeeks)
{
    MemoryStream source(Bytes(20000));
    TS_BufferStream stream(&source);
    EXPECT_EQ(0, stream.ReadPosition());
    for (int i = 0; i < 8193; ++i)
        ReadOne(stream);
    EXPECT_EQ(8193, stream.ReadPosition());
    stream.PutBack('x');
    EXPECT_EQ(8192, stream.ReadPosition());
    stream.Seek(100, kFromEnd);
    EXPECT_EQ(19900, stream.ReadPosition());
    ReadOne(stream);
    EXPECT_EQ(stream.Position(), stream.ReadPosition());
}

TEST(BufferStreamNotifications, CalledAfterEveryFillAndFlush)
{
    MemoryStream source(Bytes(10));
    TS_BufferStream stream(&source);
    int fills = 0;
    int flushes = 0;
    stream.SetAfterFill([&](TS_BufferStream&) { ++fills; });
    stream.SetAfterFlush([&](TS_BufferStream&) { ++flushes; });
    char buffer[20];
    stream.Read(buffer, 20);  // one fill with data, one that finds the end
    EXPECT_EQ(2, fills);
    stream.Seek(0, kFromBeginning);
    stream.WriteBuffer("ab", 2);
    stream.Flush();
    EXPECT_EQ(1, flushes);
}

}  // namespace
}  // namespace pellimar
