// The sentences that end a run: earlier references are spoken of only where
// a run replaced some, and always where it removes them.
#include "run/run_summary.h"

#include <gtest/gtest.h>

namespace pellimar {
namespace {

TEST(RunSummary, EarlierReferencesAreToldOnlyWhereThereWereSome)
{
    using E = EarlierReferences;
    const struct {
        E earlier;
        std::int64_t found;
        const char* run;
        const char* file;
        const char* collection;
        const char* counts;
        const char* dryRun;
    } rows[] = {
        {E::Keep, 2, "3 total references created.", "3 references created.", "2 files, 3 total references created.",
         "3 references", "2 files, 3 total references would be created"},
        {E::Replace, 0, "3 total references created.", "3 references created.",
         "2 files, 3 total references created.", "3 references", "2 files, 3 total references would be created"},
        {E::Replace, 1, "3 total references created, 1 earlier reference replaced.",
         "3 references created, 1 earlier reference replaced.",
         "2 files, 3 total references created, 1 earlier reference replaced.",
         "3 references, 1 earlier reference replaced",
         "2 files, 3 total references would be created, 1 earlier reference replaced"},
        {E::Remove, 0, "0 earlier references removed.", "0 earlier references removed.",
         "2 files, 0 earlier references removed.", "0 earlier references removed",
         "2 files, 0 earlier references would be removed"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.run);
        EXPECT_EQ(row.run, RunSummary(row.earlier, 3, row.found));
        EXPECT_EQ(row.file, FileSummary(row.earlier, 3, row.found));
        EXPECT_EQ(row.collection, CollectionSummary(row.earlier, 2, 3, row.found));
        EXPECT_EQ(row.counts, FileCounts(row.earlier, 3, row.found));
        EXPECT_EQ(row.dryRun, DryRunTotal(row.earlier, 2, 3, row.found));
    }
}

}  // namespace
}  // namespace pellimar
