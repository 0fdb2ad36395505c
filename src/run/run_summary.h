// The sentences that end a run, the same in the window and on the command
// line: the count of references, and what became of those an earlier run
// wrote into the input.
#pragma once

#include <cstdint>
#include <string>

#include "engine/run_settings.h"

namespace pellimar {

// "3 total references created.", with the earlier references replaced or
// removed when the run took them out.
std::string RunSummary(EarlierReferences earlier, std::int32_t created, std::int32_t earlierFound);

// "1 reference", "2 references".
std::string Counted(std::int32_t count, const std::string& what);

}  // namespace pellimar
