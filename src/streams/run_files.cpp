// The files of a run.
#include "streams/run_files.h"

#include <algorithm>

#include "streams/native_file.h"

namespace pellimar {

std::string OutputOfTooReason(const std::string& input)
{
    return "the output of " + input + " too";
}

RunFiles::Input& RunFiles::InputNamed(const std::string& name)
{
    const auto [entry, added] = inputsByName_.try_emplace(name, inputs_.size());
    if (added)
        inputs_.push_back(Input{name, {}});
    return inputs_[entry->second];
}

void RunFiles::AddInput(const std::string& name)
{
    const std::lock_guard lock(lock_);
    Input& input = InputNamed(name);
    if (const std::optional<FileIdentity> file = IdentityOfName(name))
        input.files.push_back(*file);
}

void RunFiles::AddOpenedInput(FileIdentity file, const std::string& name)
{
    const std::lock_guard lock(lock_);
    InputNamed(name).files.push_back(file);
}

void RunFiles::AddOutput(FileIdentity file, const std::string& input)
{
    const std::lock_guard lock(lock_);
    outputs_.push_back({file, input});
}

bool RunFiles::Leads(const Input& input, FileIdentity file)
{
    if (std::find(input.files.begin(), input.files.end(), file) != input.files.end())
        return true;
    const std::optional<FileIdentity> now = IdentityOfName(input.name);
    return now && *now == file;
}

// The output's own input is named as such, even when another name of it
// was given as well.
std::string RunFiles::Clash(FileIdentity file, const std::string& input) const
{
    const std::lock_guard lock(lock_);
    std::string clash;
    for (const Input& entry : inputs_) {
        if (!Leads(entry, file))
            continue;
        if (entry.name == input)
            return kOutputIsInput;
        if (clash.empty())
            clash = "it is " + entry.name + ", an input of this run";
    }
    for (const Output& entry : outputs_) {
        if (clash.empty() && entry.file == file)
            clash = OutputOfTooReason(entry.input);
    }
    return clash;
}

}  // namespace pellimar
