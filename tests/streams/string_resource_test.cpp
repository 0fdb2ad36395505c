// Message tables: lookups by name and id, odd tables, and the reader's errors.
#include "streams/string_resource.h"

#include <gtest/gtest.h>

#include <array>

#include "streams/exceptions.h"
#include "streams/resources.h"
#include "support/expect_throw_msg.h"

namespace pellimar {
namespace {

TEST(LoadStrRes, UnknownIdsGiveTheEmptyString)
{
    EXPECT_EQ("", LoadStrRes("S_Stream", 8));
    EXPECT_EQ("", LoadStrRes("S_Stream", 0));
    EXPECT_EQ("", LoadStrRes("S_Stream", -1));
    EXPECT_EQ("", LoadStrRes("S_Stream", 65537));
}

TEST(LoadStrRes, FindsTheTableInAnyCase)
{
    EXPECT_EQ("Seek error", LoadStrRes("s_stream", 1));
    EXPECT_EQ("Seek error", LoadStrRes("S_STREAM", 1));
    EXPECT_EQ("Seek error", LoadStrRes("s_StReAm", 1));
}

TEST(LoadStrRes, MissingTableRaisesAndIsLookedForAgainNextTime)
{
    static constexpr std::array<std::uint8_t, 6> kTable{1, 0, 1, 'x', 0, 0};
    EXPECT_THROW_MSG(LoadStrRes("Later", 1), Exception, "No such string resource: Later");
    RegisterResourceBlock({"S_StringTable", "Later", kTable});
    EXPECT_EQ("x", LoadStrRes("Later", 1));
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

}  // namespace
}  // namespace pellimar
