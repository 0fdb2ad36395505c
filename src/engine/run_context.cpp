// Setting up a run's working record.
#include "engine/run_context.h"

#include <algorithm>

#include "engine/levels.h"

namespace pellimar {

RunContext::RunContext(const RunSettings& settings, LevelLists& levels) : Levels(levels)
{
    levels.names = PrepareLevelNames(settings.levelTexts);
    ResetRunState(*this, settings);
    RefPattern = ReferencePattern(settings.refPattern);
    if (!PagePattern.empty()) {
        PageFirst = static_cast<std::uint8_t>(PagePattern[0]);
        const std::size_t hash = PagePattern.find('#');
        PageLead = hash == std::string::npos ? -1 : static_cast<std::int32_t>(hash);
    }
    // A pattern that starts with "<" must not swallow codes: the code wins.
    // A run that writes no reference needs no page.
    LooksForMarkers = WritesReferences && RefPattern.ShowsPage() && PageLead >= 0 && PageFirst != '<';
}

void ResetRunState(RunContext& run, const RunSettings& settings)
{
    run.Levels.values.fill(kNotSet);
    run.Levels.Changed(0);
    run.PagePattern = settings.pagePattern;
    run.NotSearched = settings.notSearched;
    run.RemovePageMarks = settings.removePageMarks;
    run.Earlier = settings.earlierReferences;
    run.LongestEarlierReference = settings.longestEarlierReference;
    run.WritesReferences = settings.earlierReferences != EarlierReferences::Remove;
    run.RefCount = 0;
    run.Found = {};
    run.LevelsSeen = {};
}

}  // namespace pellimar
