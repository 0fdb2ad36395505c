// The files of a run. Every lookup is one in a table, however many files
// the run has, but for the inputs whose names lead through links, which are
// followed again where the names as they stand count.
#include "streams/run_files.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <system_error>

#include "streams/file_names.h"
#include "streams/native_file.h"
#include "streams/wide_names.h"

namespace pellimar {
namespace fs = std::filesystem;

std::optional<RunFiles::Entry> RunFiles::EntryOf(const std::string& name, bool* linked)
{
    const fs::path path = PathOfName(name);
    const std::optional<fs::path> target = FollowLinks(path);
    if (!target)
        return std::nullopt;
    const fs::path folder = target->parent_path().empty() ? fs::path(".") : target->parent_path();
    const std::optional<FileIdentity> folderFile = IdentityOfName(NameOfPath(folder));
    if (!folderFile)
        return std::nullopt;
    if (linked != nullptr) {
        std::error_code error;
        const fs::path resolved = fs::canonical(folder, error);
        *linked = *target != path || error || resolved != fs::absolute(folder, error).lexically_normal();
    }
    return Entry{*folderFile, FileNameKey(NameOfPath(target->filename()))};
}

std::string OutputOfTooReason(const std::string& input)
{
    return "the output of " + input + " too";
}

std::size_t RunFiles::Hash::operator()(FileIdentity file) const
{
    return std::hash<std::uint64_t>{}(file.number) ^ (std::hash<std::uint64_t>{}(file.volume) << 1);
}

std::size_t RunFiles::Hash::operator()(const Entry& entry) const
{
    return (*this)(entry.folder) ^ (std::hash<std::string>{}(entry.name) << 1);
}

std::size_t RunFiles::InputNamed(const std::string& name)
{
    const auto [entry, added] = inputsByName_.try_emplace(name, inputs_.size());
    if (added)
        inputs_.push_back(Input{name});
    return entry->second;
}

void RunFiles::AddInput(const std::string& name)
{
    bool linked = false;
    const std::optional<FileIdentity> file = IdentityOfName(name);
    const std::optional<Entry> entry = EntryOf(name, &linked);
    const std::lock_guard lock(lock_);
    const std::size_t index = InputNamed(name);
    if (linked && !inputs_[index].linked)
        linkedInputs_.push_back(index);
    inputs_[index].linked = inputs_[index].linked || linked;
    if (file)
        inputsByFile_.emplace(*file, index);
    if (entry)
        inputsByEntry_.emplace(*entry, index);
}

void RunFiles::AddOpenedInput(FileIdentity file, const std::string& name)
{
    const std::lock_guard lock(lock_);
    inputsByFile_.emplace(file, InputNamed(name));
}

void RunFiles::AddOutput(FileIdentity file, const std::string& input)
{
    const std::lock_guard lock(lock_);
    outputs_.try_emplace(file, input);
}

// The output's own input is named as such, even when another name of it
// was given as well; of the others, the first given.
std::string RunFiles::Reason(const std::vector<std::size_t>& matching, FileIdentity file,
                             const std::string& input) const
{
    for (const std::size_t index : matching) {
        if (inputs_[index].name == input)
            return kOutputIsInput;
    }
    if (!matching.empty())
        return "it is " + inputs_[*std::min_element(matching.begin(), matching.end())].name + ", an input of this run";
    const auto output = outputs_.find(file);
    return output != outputs_.end() ? OutputOfTooReason(output->second) : "";
}

std::string RunFiles::Clash(FileIdentity file, const std::string& input) const
{
    const std::lock_guard lock(lock_);
    std::vector<std::size_t> matching;
    const auto [from, to] = inputsByFile_.equal_range(file);
    for (auto at = from; at != to; ++at)
        matching.push_back(at->second);
    return Reason(matching, file, input);
}

std::string RunFiles::ClashAsNamesStand(FileIdentity file, const std::string& target, const std::string& input) const
{
    const std::optional<Entry> entry = EntryOf(target);
    const std::lock_guard lock(lock_);
    std::vector<std::size_t> matching;
    const auto [from, to] = inputsByFile_.equal_range(file);
    for (auto at = from; at != to; ++at)
        matching.push_back(at->second);
    if (entry) {
        const auto [first, last] = inputsByEntry_.equal_range(*entry);
        for (auto at = first; at != last; ++at)
            matching.push_back(at->second);
    }
    for (const std::size_t index : linkedInputs_) {
        const std::optional<FileIdentity> now = IdentityOfName(inputs_[index].name);
        if (now && *now == file)
            matching.push_back(index);
    }
    return Reason(matching, file, input);
}

}  // namespace pellimar
