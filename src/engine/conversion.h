// The conversion pass: copies a flat file, inserting a reference after each
// record code, following level headings and page-number markers on the way.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/findings.h"
#include "engine/level_census.h"
#include "engine/noted_places.h"
#include "engine/run_host.h"
#include "engine/run_settings.h"
#include "streams/output_file.h"

namespace pellimar {

struct RunResult {
    std::int32_t refCount = 0;
    bool cancelled = false;
    Findings findings;
    // The level names the input's level records use, in order of first
    // appearance, and the levels they set.
    LevelCensus levelsSeen;
    // After a cancel, what was written so far, for the caller to put in
    // place or throw away; empty otherwise, and for standard output.
    std::unique_ptr<OutputFile> partialOutput;
    // Of the input, and to the output (or, with nothing written, what would
    // have been), by the end of the pass.
    std::int64_t bytesRead = 0;
    std::int64_t bytesWritten = 0;

    // References an earlier run wrote right after record codes.
    std::int32_t EarlierReferences() const { return findings.Count(Finding::EarlierReferences); }
};

// Runs one conversion. A run that ends well puts its output in place under
// the output's name once the host has been told the run is over; until then
// a file under that name is left as it was. Whether the run was cancelled
// is asked once, just before: a cancel that comes later cannot leave the
// output in place and the result saying it was not.
// Errors (the input cannot be opened, the output cannot be created or
// written, the input cannot be read, another program changed the input
// meanwhile: EInputChanged) leave as exceptions after what was written is
// thrown away and the host has been told the run is over.
// A dry run (settings.dryRun) is handed to RunToNowhere.
RunResult RunConversion(const RunSettings& settings, RunHost& host, LevelLists& levels);

// The whole pass with what it writes going nowhere: the counts of a run
// with these settings, the output named in them left alone. Raises what a
// run raises about its input.
RunResult RunToNowhere(const RunSettings& settings, RunHost& host, LevelLists& levels);

}  // namespace pellimar
