// Setting up a run's working record.
#include "previous_pass/run_context.h"

#include <algorithm>

#include "engine/levels.h"

namespace pellimar::previous {

RunContext::RunContext(const RunSettings& settings, LevelLists& levels) : Levels(levels)
{
    levels.names = PrepareLevelNames(settings.levelTexts);
    std::size_t longestName = 0;
    for (const std::string& name : levels.names)
        longestName = std::max(longestName, name.size());
    Code = CodeHead(longestName);
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
    run.PageNumber = -1;
    run.NotSearched = settings.notSearched;
    run.RemovePageMarks = settings.removePageMarks;
    run.RefHasPage = settings.refPattern.find('#') != std::string::npos;
    run.RefCount = 0;
}

}  // namespace pellimar::previous
