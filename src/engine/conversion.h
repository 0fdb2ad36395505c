// The conversion pass: copies a flat file, inserting a reference after each
// record code, following level headings and page-number markers on the way.
#pragma once

#include <cstdint>

#include "engine/run_host.h"
#include "engine/run_settings.h"

namespace pellimar {

struct RunResult {
    std::int32_t refCount = 0;
    bool cancelled = false;
};

// Runs one conversion. Errors (the input cannot be opened, the output cannot
// be created or written, the input cannot be read) leave as exceptions after
// the output is closed and the host has been told the run is over.
RunResult RunConversion(const RunSettings& settings, RunHost& host, LevelLists& levels);

}  // namespace pellimar
