// The sentences that end a run.
#include "run/run_summary.h"

namespace pellimar {

std::string Counted(std::int32_t count, const std::string& what)
{
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

std::string RunSummary(EarlierReferences earlier, std::int32_t created, std::int32_t earlierFound)
{
    const std::string total = std::to_string(created) + " total references created";
    switch (earlier) {
    case EarlierReferences::Keep: break;
    case EarlierReferences::Replace: return total + ", " + Counted(earlierFound, "earlier reference") + " replaced.";
    case EarlierReferences::Remove: return Counted(earlierFound, "earlier reference") + " removed.";
    }
    return total + ".";
}

}  // namespace pellimar
