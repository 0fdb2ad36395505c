// The sentences that end a run, the same in the window and on the command
// line: the count of references, and what became of those an earlier run
// wrote into the input.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/conversion.h"
#include "engine/run_settings.h"
#include "streams/output_forecast.h"

namespace pellimar {

// "3 total references created.", with the earlier references replaced
// when there were some, or removed, when the run took them out.
std::string RunSummary(EarlierReferences earlier, std::int64_t created, std::int64_t earlierFound);
// One file's line among a collection's: "1 reference created.", with the
// same ending.
std::string FileSummary(EarlierReferences earlier, std::int64_t created, std::int64_t earlierFound);
// A collection's total: "3 files, 12 total references created.", the
// earlier references of all the files added up.
std::string CollectionSummary(EarlierReferences earlier, std::int64_t files, std::int64_t created,
                              std::int64_t earlierFound);

// A dry run's line for one output: "would create out.fff: 3 references",
// "would replace out.fff (written in place: its folder takes no new file):
// 3 references"; `outputPath` empty for standard output.
std::string DryRunLine(const std::string& outputPath, const OutputForecast& forecast, EarlierReferences earlier,
                       const RunResult& result);
// A dry run's total for a collection: "3 files, 12 total references would
// be created".
std::string DryRunTotal(EarlierReferences earlier, std::int64_t files, std::int64_t created, std::int64_t earlierFound);

// What a run would make of one file, without a sentence around it: "1
// reference", "3 references, 1 earlier reference replaced", "2 earlier
// references removed".
std::string FileCounts(EarlierReferences earlier, std::int64_t created, std::int64_t earlierFound);

// Items one after the other, with `separator` between them.
std::string Joined(const std::vector<std::string>& items, const char* separator);
// The same for a box, which must fit on the screen: a long list is cut and
// says by how much.
std::string Listed(const std::vector<std::string>& items, const char* separator);

// "1 reference", "2 references".
std::string Counted(std::int64_t count, const std::string& what);

}  // namespace pellimar
