// The files of a run.
#include "streams/run_files.h"

#include "streams/native_file.h"

namespace pellimar {

std::string OutputOfTooReason(const std::string& input)
{
    return "the output of " + input + " too";
}

void RunFiles::AddInput(const std::string& name)
{
    if (const std::optional<FileIdentity> file = IdentityOfName(name)) {
        const std::lock_guard lock(lock_);
        entries_.push_back({*file, name, false});
    }
}

void RunFiles::AddOutput(FileIdentity file, const std::string& input)
{
    const std::lock_guard lock(lock_);
    entries_.push_back({file, input, true});
}

// The output's own input is named as such, even when another name of it
// was given as well.
std::string RunFiles::Clash(FileIdentity file, const std::string& input) const
{
    const std::lock_guard lock(lock_);
    std::string clash;
    for (const Entry& entry : entries_) {
        if (entry.file != file)
            continue;
        if (!entry.output && entry.input == input)
            return kOutputIsInput;
        if (clash.empty())
            clash = entry.output ? OutputOfTooReason(entry.input) : "it is " + entry.input + ", an input of this run";
    }
    return clash;
}

}  // namespace pellimar
