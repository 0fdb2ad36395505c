// Bytes held back for a marker attempt, in memory and past its limit in a
// temporary file.
#include "engine/held_text.h"

#include <gtest/gtest.h>

#include "streams/text_stream.h"
#include "support/temp_dir.h"

namespace pellimar {
namespace {

std::string Written(HeldText& held)
{
    testing::TempDir dir;
    const std::string path = dir.File("out");
    {
        TS_TextStream out(path, fmCreate);
        held.WriteTo(out);
        out.Close();
    }
    return testing::ReadFileBytes(path);
}

TEST(HeldText, BytesPastTheMemoryLimitComeBackInOrderAgainAndAgain)
{
    HeldText held(4);
    held.Append('a');
    held.Append("bcdefghij");
    EXPECT_EQ(10u, held.Size());
    EXPECT_EQ("abcdefghij", Written(held));
    held.Clear();
    EXPECT_TRUE(held.Empty());
    held.Append("xyz12345");
    EXPECT_EQ("xyz12345", Written(held));
}

}  // namespace
}  // namespace pellimar
