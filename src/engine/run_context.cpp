// Setting up a run's working record.
#include "engine/run_context.h"

#include <algorithm>

#include "engine/levels.h"

namespace pellimar {

RunContext::RunContext(const RunSettings& settings, LevelLists& levels) : Levels(levels)
{
    levels.names = PrepareLevelNames(settings.levelTexts);
    ResetRunState(*this, settings);
    RefPattern = settings.refPattern;
    RefPieces = SplitRefPattern(RefPattern);
    RefLevel = FirstPatternLevel(RefPattern);
    if (!PagePattern.empty()) {
        PageFirst = static_cast<std::uint8_t>(PagePattern[0]);
        const std::size_t hash = PagePattern.find('#');
        PageLead = hash == std::string::npos ? -1 : static_cast<std::int32_t>(hash);
    }
}

void ResetRunState(RunContext& run, const RunSettings& settings)
{
    run.Levels.values.fill(kNotSet);
    run.PagePattern = settings.pagePattern;
    run.NotSearched = settings.notSearched;
    run.RemovePageMarks = settings.removePageMarks;
    run.RefHasPage = settings.refPattern.find('#') != std::string::npos;
    run.RefCount = 0;
}

}  // namespace pellimar
