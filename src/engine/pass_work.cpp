// The pass's shared state set up for a run.
#include "engine/pass_work.h"

#include <algorithm>

#include "engine/levels.h"

namespace pellimar {
namespace {

std::size_t LongestName(const LevelLists& levels)
{
    std::size_t longest = 0;
    for (const std::string& name : levels.names)
        longest = std::max(longest, name.size());
    return longest;
}

}  // namespace

PassWork::PassWork(RunContext& run, RunHost& host)
    : run(run),
      host(host),
      input(*run.Input),
      output(*run.Output),
      code(std::max(LongestName(run.Levels), kLongestCountedLevelName)),
      page(run.PagePattern),
      progress(run.InputSize)
{
    ReadSwitches();
    // An input without a size cannot be read again to find the lines of
    // what the run tells of: its lines are followed as it is read.
    if (!run.Lines && run.InputSize < 0) {
        run.Lines = std::make_unique<LineCounter>();
        run.Lines->Attach(*run.Input);
    }
}

void PassWork::Note(Tally& tally, std::int64_t position)
{
    places.Note(tally, position, run.Lines.get());
}

void PassWork::ReadSwitches()
{
    for (int i = 0; i < kRunSwitchCount; ++i)
        switches.Set(static_cast<RunSwitch>(i), host.SwitchOn(static_cast<RunSwitch>(i)));
}

}  // namespace pellimar
