// The notes after a run's summary.
#include "run/run_notes.h"

#include "engine/record_opening.h"
#include "run/run_summary.h"

namespace pellimar {
namespace {

std::string Kilobytes(std::size_t bytes)
{
    return std::to_string(bytes / 1024) + " KB";
}

}  // namespace

std::string FirstLine(const Tally& tally)
{
    if (tally.firstLine <= 0)
        return {};
    return (tally.count == 1 ? ", on line " : ", first on line ") + std::to_string(tally.firstLine);
}

std::string LookAlikesNote(const Tally& lookAlikes, bool byPreview)
{
    if (lookAlikes.count == 0)
        return {};
    const bool one = lookAlikes.count == 1;
    return (one ? std::string("1 text after a record code begins like a reference but is not one")
                : std::to_string(lookAlikes.count) + " texts after record codes begin like a reference but are not one") +
           FirstLine(lookAlikes) + (byPreview ? (one ? "; a run keeps it." : "; a run keeps them.")
                                              : (one ? "; it was kept." : "; they were kept."));
}

std::string ReferencesCutNote(const Tally& cut, std::size_t longest, bool foretold)
{
    if (cut.count == 0)
        return {};
    const char* const were = foretold ? " would be" : cut.count == 1 ? " was" : " were";
    return Counted(cut.count, "reference") + were + " cut to " + Kilobytes(longest) +
           ", the longest a later run recognises" + FirstLine(cut) + ".";
}

std::string LaterLineRecordsNote(std::int32_t count, bool switchOn, bool foretold, std::string_view switchAdvice)
{
    if (count == 0)
        return {};
    const bool one = count == 1;
    const std::string records = one ? "1 record begins" : std::to_string(count) + " records begin";
    const std::string their = one ? "its" : "their";
    const std::string got = !foretold ? " and got no reference" : one ? " and gets no reference" : " and get no reference";
    if (switchOn)
        return records + " more than " + Kilobytes(kLaterLineReach) + " after " + their + " record code's line break" +
               got + ".";
    return records + " on the line after " + their + " record code" + got + "; " + std::string(switchAdvice) +
           (one ? " it one." : " them one.");
}

std::string HeadingsCutNote(const Tally& cut, std::size_t longest)
{
    if (cut.count == 0)
        return {};
    const bool one = cut.count == 1;
    return Counted(cut.count, "heading") + (one ? " was" : " were") + " longer than " + Kilobytes(longest) + " and " +
           (one ? "keeps its" : "each keeps its") + " first " + Kilobytes(longest) + FirstLine(cut) + ".";
}

}  // namespace pellimar
