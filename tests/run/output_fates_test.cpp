// What the end of a collection says each output now is.
#include "run/output_fates.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "streams/file_faults.h"
#include "streams/output_file.h"
#include "streams/text_stream.h"
#include "support/temp_dir.h"

namespace pellimar {
namespace {

using State = FileOutcome::State;

FileOutcome Outcome(State state, bool failedInPlace = false)
{
    FileOutcome outcome;
    outcome.state = state;
    outcome.failedInPlace = failedInPlace;
    return outcome;
}

TEST(OutputFates, FileThatDidNotConvertLeavesWhatStoodThere)
{
    EXPECT_EQ(OutputFate::Converted, FateOf(Outcome(State::Converted), true));
    EXPECT_EQ(OutputFate::HoldsPartToFailure, FateOf(Outcome(State::Failed, true), true));
    EXPECT_EQ(OutputFate::LeftAsItWas, FateOf(Outcome(State::Failed), true));
    EXPECT_EQ(OutputFate::NotWritten, FateOf(Outcome(State::NotRun), false));
}

// The file being written when the cancel came, once its partial output is
// thrown away; or kept, when that failed.
TEST(OutputFates, CancelledFileIsNamedByWhatItsDiscardLeft)
{
    testing::TempDir dir;
    const std::string earlier = dir.File("earlier.fff");
    testing::WriteFileBytes(earlier, "earlier");
    OutputFile fresh(dir.File("new.fff"));
    fresh.CreateStream();
    EXPECT_EQ(OutputFate::NotWritten, FateOfCancelled(fresh, fresh.Discard()));
    OutputFile replacing(earlier);
    replacing.CreateStream();
    EXPECT_EQ(OutputFate::LeftAsItWas, FateOfCancelled(replacing, replacing.Discard()));
    EXPECT_EQ(OutputFate::HoldsPartToCancel, FateOfCancelled(replacing, false));
    // A folder that takes no new file: the earlier file is written in place.
    ArmFileFault(FileCall::CreateUnnamed, EACCES);
    OutputFile inPlace(earlier);
    inPlace.CreateStream();
    DisarmFileFaults();
    ASSERT_TRUE(inPlace.WritesInPlace());
    EXPECT_EQ(OutputFate::Removed, FateOfCancelled(inPlace, inPlace.Discard()));
    EXPECT_EQ(OutputFate::HoldsPartToCancel, FateOfCancelled(inPlace, false));
}

}  // namespace
}  // namespace pellimar
