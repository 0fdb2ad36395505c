// The conversion pass as it stood before it worked block by block, kept
// unchanged so that the conversion fuzz target can compare the two on every
// input: same output, counts, questions, progress and cancel.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/run_host.h"
#include "engine/run_settings.h"
#include "engine/conversion.h"
#include "streams/output_file.h"

namespace pellimar::previous {

// Runs one conversion. A run that ends well puts its output in place under
// the output's name; until then a file under that name is left as it was.
// Errors (the input cannot be opened, the output cannot be created or
// written, the input cannot be read) leave as exceptions after what was
// written is thrown away and the host has been told the run is over.
RunResult RunConversion(const RunSettings& settings, RunHost& host, LevelLists& levels);

}  // namespace pellimar::previous
