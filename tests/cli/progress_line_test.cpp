// The progress line's two forms: a bar for an input with a size, from its
// very first 0 %, and the bytes read for one without.
#include <gtest/gtest.h>

#include "cli/progress_bar.h"

namespace pellimar::cli {
namespace {

TEST(ProgressLine, SizedInputsGetABarFromZeroAndUnsizedOnesTheBytesRead)
{
    struct Row {
        std::int32_t percent;
        std::int64_t bytes;
        std::string line;
    };
    const Row rows[] = {
        {0, 0, "[................]   0%"},
        {50, 5000000, "[########........]  50%"},
        {-1, 0, "0.0 MB read  0.0 MB/s"},
        {-1, 5000000, "5.0 MB read  2.5 MB/s"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.percent);
        EXPECT_EQ(ProgressLine(row.percent, row.bytes, 2.0, 24), row.line);
    }
}

}  // namespace
}  // namespace pellimar::cli
