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

std::string DryRunLine(const std::string& outputPath, const OutputForecast& forecast, EarlierReferences earlier,
                       const RunResult& result)
{
    std::string line;
    if (outputPath.empty())
        line = "would write standard output";
    else if (forecast.device)
        line = "would write to " + outputPath;
    else
        line = (forecast.replacesFile ? "would replace " : "would create ") + outputPath;
    std::vector<std::string> asides;
    if (!forecast.whyInPlace.empty())
        asides.push_back("written in place: " + forecast.whyInPlace);
    std::string lost;
    for (const std::string& part : forecast.notKept)
        lost += (lost.empty() ? "" : ", ") + part;
    if (!lost.empty())
        asides.push_back("the new file could not keep " + lost);
    for (std::size_t i = 0; i < asides.size(); ++i)
        line += (i == 0 ? " (" : "; ") + asides[i] + (i + 1 == asides.size() ? ")" : "");
    return line + ": " + FileCounts(earlier, result.refCount, result.EarlierReferences());
}

std::string DryRunTotal(EarlierReferences earlier, std::int64_t files, std::int64_t created, std::int64_t earlierFound)
{
    const std::string total = Counted(files, "file") + ", ";
    if (earlier == EarlierReferences::Remove)
        return total + Counted(earlierFound, "earlier reference") + " would be removed";
    std::string text = total + std::to_string(created) + " total references would be created";
    if (earlier == EarlierReferences::Replace && earlierFound > 0)
        text += ", " + Counted(earlierFound, "earlier reference") + " replaced";
    return text;
}

}  // namespace pellimar
