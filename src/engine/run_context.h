// What a run shares between its frame and its pass: the settings taken apart
// at its start, the two streams, the level lists and the results.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/findings.h"
#include "engine/level_census.h"
#include "engine/line_counter.h"
#include "engine/noted_places.h"
#include "engine/reference_observer.h"
#include "engine/reference_pattern.h"
#include "engine/run_settings.h"
#include "streams/text_stream.h"

namespace pellimar {

struct RunContext {
    // The run's set-up from the settings taken at its start: the level names
    // prepared, the level values unset, the patterns taken apart.
    RunContext(const RunSettings& settings, LevelLists& levels);

    // Patterns.
    ReferencePattern RefPattern;
    std::string PagePattern;
    std::uint8_t PageFirst = 0;
    std::int32_t PageLead = -1;  // pattern bytes before its first "#", or -1
    // Markers are looked for only when the reference shows the page and the
    // page-number pattern can describe one.
    bool LooksForMarkers = false;

    // Switches taken at the start.
    bool NotSearched = false;
    bool RemovePageMarks = false;
    EarlierReferences Earlier = EarlierReferences::Keep;
    // The longest reference: recognised, written, and held of a heading.
    std::size_t LongestEarlierReference = kLongestEarlierReference;
    // False when the run only takes out earlier references.
    bool WritesReferences = true;
    // False when what the pass writes goes nowhere (a dry run, a preview).
    bool WritesOutput = true;

    // The level names and values, which outlive the run.
    LevelLists& Levels;

    // Results.
    std::int32_t RefCount = 0;
    Findings Found;
    // The level names the level records use, and the levels they set.
    LevelCensus LevelsSeen;

    // The input stream counts the bytes consumed.
    std::int64_t InputSize = 0;  // -1 for an input without a size (a pipe)
    // At the end of the pass.
    std::int64_t BytesRead = 0;
    std::int64_t BytesWritten = 0;

    std::unique_ptr<TS_TextStream> Input;
    std::unique_ptr<TS_TextStream> Output;

    // Watching the references (a preview): who is told.
    ReferenceObserver* Observer = nullptr;
    // The input's lines, followed as it is read where they are needed at
    // once: for a preview, and for an input that cannot be read again.
    std::unique_ptr<LineCounter> Lines;
};

// The run-start reset of the level values, patterns and switches.
void ResetRunState(RunContext& run, const RunSettings& settings);

}  // namespace pellimar
