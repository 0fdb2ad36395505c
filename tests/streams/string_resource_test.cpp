// The message table layout, lookups and the per-name cache.
#include "streams/string_resource.h"

#include <gtest/gtest.h>

#include <array>

#include "streams/exceptions.h"
#include "streams/resources.h"
#include "streams/stream_table.h"
#include "support/expect_throw_msg.h"

namespace pellimar {
namespace {

TEST(StreamMessageTable, HasTheStoredLayout)
{
    const ResourceBlock table = StreamMessageTableResource();
    ASSERT_EQ(180u, table.bytes.size());
    EXPECT_EQ(1, table.bytes[0]);
    EXPECT_EQ(0, table.bytes[1]);
    EXPECT_EQ(10, table.bytes[2]);
    EXPECT_EQ('S', table.bytes[3]);
    EXPECT_EQ(0, table.bytes[178]);
    EXPECT_EQ(0, table.bytes[179]);
}

TEST(LoadStrRes, GivesTheStreamMessagesUnformatted)
{
    EXPECT_EQ("Seek error", LoadStrRes("S_Stream", 1));
    EXPECT_EQ("Invalid seek origin (%d)", LoadStrRes("S_Stream", 2));
    EXPECT_EQ("Putback overflow", LoadStrRes("S_Stream", 3));
    EXPECT_EQ("Cannot write to a resource stream", LoadStrRes("S_Stream", 7));
}

TEST(LoadStrRes, UnknownIdsGiveTheEmptyString)
{
    EXPECT_EQ("", LoadStrRes("S_Stream", 8));
    EXPECT_EQ("", LoadStrRes("S_Stream", 0));
    EXPECT_EQ("", LoadStrRes("S_Stream", -1));
    EXPECT_EQ("", LoadStrRes("S_Stream", 65537));
}

TEST(LoadStrRes, FindsTheTableInAnyCaseAndLooksItUpOnce)
{
    LoadStrRes("s_stream", 1);
    const std::size_t lookups = ResourceLookupCount();
    EXPECT_EQ("Seek error", LoadStrRes("S_STREAM", 1));
    EXPECT_EQ("Seek error", LoadStrRes("s_StReAm", 1));
    EXPECT_EQ(lookups, ResourceLookupCount());
}

TEST(LoadStrRes, MissingTableRaisesEveryTime)
{
    const std::size_t before = ResourceLookupCount();
    EXPECT_THROW_MSG(LoadStrRes("NoSuchTable", 1), Exception, "No such string resource: NoSuchTable");
    EXPECT_THROW_MSG(LoadStrRes("NoSuchTable", 1), Exception, "No such string resource: NoSuchTable");
    EXPECT_EQ(before + 2, ResourceLookupCount());
}

TEST(LoadStrRes, EntryOfLengthZeroIsEmptyAndTheNextIsStillFound)
{
    static constexpr std::array<std::uint8_t, 12> kTable{5, 0, 0, 6, 0, 3, 'a', 'b', 'c', 0, 0, 0};
    RegisterResourceBlock({"s_stringtable", "ZeroLength", kTable});
    EXPECT_EQ("", LoadStrRes("ZeroLength", 5));
    EXPECT_EQ("abc", LoadStrRes("ZeroLength", 6));
}

TEST(LoadStrRes, TruncatedTableEndsTheWalkSafely)
{
    static constexpr std::array<std::uint8_t, 5> kTable{1, 0, 200, 'a', 'b'};
    RegisterResourceBlock({"S_StringTable", "Truncated", kTable});
    EXPECT_EQ("", LoadStrRes("Truncated", 1));
}

TEST(LoadStrRes, NegativeIdsAreSignExtended)
{
    static constexpr std::array<std::uint8_t, 6> kTable{0xFF, 0xFF, 1, 'n', 0, 0};
    RegisterResourceBlock({"S_StringTable", "Negative", kTable});
    EXPECT_EQ("n", LoadStrRes("Negative", -1));
    EXPECT_EQ("", LoadStrRes("Negative", 65535));
}

TEST(StringResource, ReaderWithoutATableCannotLock)
{
    TS_StringResource reader;
    EXPECT_THROW_MSG(reader.GetString(1), EOutOfResources, "Cannot lock string resource");
}

TEST(StringResource, TableWithoutBytesCannotBeLoaded)
{
    static constexpr std::array<std::uint8_t, 1> kNothing{};
    RegisterResourceBlock({"S_StringTable", "Empty", std::span<const std::uint8_t>(kNothing.data(), 0)});
    EXPECT_THROW_MSG(TS_StringResource("Empty"), EOutOfResources, "Cannot load string resource");
}

TEST(StringResource, ReaderMessagesByProgramStringId)
{
    EXPECT_EQ("Cannot load string resource", LoadProgramString(4288));
    EXPECT_EQ("Cannot lock string resource", LoadProgramString(4289));
    EXPECT_EQ("No such string resource: %s", LoadProgramString(4290));
    EXPECT_EQ("", LoadProgramString(4291));
}

}  // namespace
}  // namespace pellimar
