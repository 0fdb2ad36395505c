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
// thrown away, or kept under its name.
TEST(OutputFates, CancelledFileIsNamedByWhatItsSettlementLeft)
{
    testing::TempDir dir;
    const std::string earlier = dir.File("earlier.fff");
    testing::WriteFileBytes(earlier, "earlier");
    OutputFile fresh(dir.File("new.fff"));
    fresh.CreateStream();
    fresh.Discard();
    EXPECT_EQ(OutputFate::NotWritten, FateOfSettled(fresh));
    OutputFile replacing(earlier);
    replacing.CreateStream();
    replacing.Discard();
    EXPECT_EQ(OutputFate::LeftAsItWas, FateOfSettled(replacing));
    OutputFile kept(dir.File("kept.fff"));
    kept.CreateStream();
    kept.PutInPlace();
    EXPECT_EQ(OutputFate::HoldsPartToCancel, FateOfSettled(kept));
    // A folder that takes no new file: the earlier file is written in place.
    ArmFileFault(FileCall::CreateUnnamed, EACCES);
    OutputFile inPlace(earlier);
    inPlace.CreateStream();
    DisarmFileFaults();
    ASSERT_TRUE(inPlace.WritesInPlace());
    inPlace.Discard();
    EXPECT_EQ(OutputFate::Removed, FateOfSettled(inPlace));
}

}  // namespace
}  // namespace pellimar
