// What the steps of a conversion pass share: the run's record, its streams,
// the switches as they stand, the current code, the page, the progress
// points and the places to tell of.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/code_head.h"
#include "engine/noted_places.h"
#include "engine/page_tracker.h"
#include "engine/progress_points.h"
#include "engine/run_context.h"
#include "engine/run_host.h"

namespace pellimar {

struct PassWork {
    PassWork(RunContext& run, RunHost& host);

    // The input stream itself knows how far it has been read, so nothing is
    // counted by hand.
    std::int64_t BytesConsumed() const { return input.ReadPosition(); }

    // One more event for the user to be told of, at `position` of the input.
    void Note(Tally& tally, std::int64_t position);

    // The switches, read again only where the host may change them: after
    // a progress report and after the page question.
    void ReadSwitches();

    RunContext& run;
    RunHost& host;
    // The run's streams, which stay the same for the whole pass.
    TS_TextStream& input;
    TS_TextStream& output;

    RunSwitches switches;
    CodeHead code;  // what the examination needs of the current code
    PageTracker page;
    ProgressPoints progress;
    NotedPlaces places;

    // For a watcher: the lines of the current code and of the record code.
    std::int64_t codeLine = 0;
    std::int64_t recordLine = 0;
};

}  // namespace pellimar
