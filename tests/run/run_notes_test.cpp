// The note on records that begin on a later line than their code, in each
// of its forms.
#include "run/run_notes.h"

#include <gtest/gtest.h>

namespace pellimar {
namespace {

TEST(LaterLineRecordsNote, CountSwitchAndTenseChooseTheWords)
{
    const struct {
        std::int32_t count;
        bool switchOn;
        bool foretold;
        const char* note;
    } rows[] = {
        {0, false, false, ""},
        {0, true, false, ""},
        {1, false, false, "1 record begins on the line after its record code and got no reference; X gives it one."},
        {39, false, false,
         "39 records begin on the line after their record code and got no reference; X gives them one."},
        {2, false, true, "2 records begin on the line after their record code and get no reference; X gives them one."},
        {1, false, true, "1 record begins on the line after its record code and gets no reference; X gives it one."},
        {2, true, false, "2 records begin more than 64 KB after their record code's line break and got no reference."},
        {1, true, true, "1 record begins more than 64 KB after its record code's line break and gets no reference."},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.note, LaterLineRecordsNote(row.count, row.switchOn, row.foretold, "X gives"));
}

}  // namespace
}  // namespace pellimar
