// The sentences that end a run.
#include "run/run_summary.h"

namespace pellimar {
namespace {

// The references created, as `created` words them, and what became of the
// earlier ones: replacing them is told only where there were some, while
// their count is all that removing them makes.
std::string Summary(EarlierReferences earlier, const std::string& created, std::int64_t earlierFound)
{
    switch (earlier) {
    case EarlierReferences::Keep: break;
    case EarlierReferences::Replace:
        if (earlierFound > 0)
            return created + ", " + Counted(earlierFound, "earlier reference") + " replaced.";
        break;
    case EarlierReferences::Remove: return Counted(earlierFound, "earlier reference") + " removed.";
    }
    return created + ".";
}

// Enough for a box to fit on the screen.
constexpr std::size_t kListedAtMost = 12;

}  // namespace

std::string Joined(const std::vector<std::string>& items, const char* separator)
{
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "" : separator) + items[i];
    return text;
}

std::string Listed(const std::vector<std::string>& items, const char* separator)
{
    if (items.size() <= kListedAtMost)
        return Joined(items, separator);
    const std::vector<std::string> shown(items.begin(), items.begin() + kListedAtMost);
    return Joined(shown, separator) + separator + "... and " + std::to_string(items.size() - kListedAtMost) +
           " more.";
}

std::string Counted(std::int64_t count, const std::string& what)
{
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

std::string RunSummary(EarlierReferences earlier, std::int64_t created, std::int64_t earlierFound)
{
    return Summary(earlier, std::to_string(created) + " total references created", earlierFound);
}

std::string FileSummary(EarlierReferences earlier, std::int64_t created, std::int64_t earlierFound)
{
    return Summary(earlier, Counted(created, "reference") + " created", earlierFound);
}

std::string FileCounts(EarlierReferences earlier, std::int64_t created, std::int64_t earlierFound)
{
    std::string counts = Summary(earlier, Counted(created, "reference"), earlierFound);
    counts.pop_back();  // the sentence's full stop
    return counts;
}

std::string CollectionSummary(EarlierReferences earlier, std::int64_t files, std::int64_t created,
                              std::int64_t earlierFound)
{
    return Counted(files, "file") + ", " + RunSummary(earlier, created, earlierFound);
}

}  // namespace pellimar
