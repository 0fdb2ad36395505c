// A preview: the first references a run would make, found by the same pass
// without writing anything, and the run ended as soon as they are found.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/findings.h"
#include "engine/level_census.h"
#include "engine/noted_places.h"
#include "engine/run_host.h"
#include "engine/run_settings.h"

namespace pellimar {

struct PreviewReference {
    std::int64_t line = 0;    // of the input, where the record code begins
    std::string text;         // what a run writes between the frame's codes
    std::string recordStart;  // what follows the record code, to its line's end
};

struct PreviewResult {
    std::vector<PreviewReference> references;
    // All the pass made: more than those listed when it read on.
    std::int32_t refCount = 0;
    bool cancelled = false;
    // As a run's, up to where the preview stopped.
    Findings findings;
    LevelCensus levelsSeen;
    std::int64_t bytesRead = 0;
};

// How far a preview reads: to its last reference listed, or the whole input
// for the counts and findings of a run, listing the first references.
enum class PreviewReach { ToTheLastListed, WholeInput };

// The first `limit` references of a run with these settings and host (the
// same switches, page question, progress and cancel); the output named in
// the settings is not touched. Raises what a run raises about its input.
PreviewResult RunPreview(const RunSettings& settings, RunHost& host, LevelLists& levels, std::size_t limit,
                         PreviewReach reach = PreviewReach::ToTheLastListed);

}  // namespace pellimar
