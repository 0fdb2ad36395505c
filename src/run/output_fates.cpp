// The fates of a collection's outputs.
#include "run/output_fates.h"

#include "run/run_checks.h"
#include "streams/output_file.h"

namespace pellimar {

std::string FateWords(OutputFate fate)
{
    switch (fate) {
    case OutputFate::Converted: return "converted by this run";
    case OutputFate::LeftAsItWas: return "left as it was, from an earlier run";
    case OutputFate::NotWritten: return "not written";
    case OutputFate::Removed: return "removed (it was written in place, over the earlier file)";
    case OutputFate::HoldsPartToCancel: return "holds only the part written before the cancel";
    case OutputFate::HoldsPartToFailure: return "holds only the part written before the failure";
    }
    return {};
}

std::vector<bool> OutputsStanding(const std::vector<CollectionFile>& files)
{
    std::vector<bool> standing;
    for (const CollectionFile& file : files)
        standing.push_back(OutputExists(file.output));
    return standing;
}

// A failure before the output was put in place leaves what stood there,
// unless it was being rewritten in place.
OutputFate FateOf(const FileOutcome& outcome, bool stood)
{
    if (outcome.state == FileOutcome::State::Converted)
        return OutputFate::Converted;
    if (outcome.failedInPlace)
        return OutputFate::HoldsPartToFailure;
    return stood ? OutputFate::LeftAsItWas : OutputFate::NotWritten;
}

OutputFate FateOfSettled(const OutputFile& partial)
{
    if (!partial.Discarded())
        return OutputFate::HoldsPartToCancel;
    if (partial.WritesInPlace())
        return OutputFate::Removed;
    return partial.ReplacesFile() ? OutputFate::LeftAsItWas : OutputFate::NotWritten;
}

}  // namespace pellimar
