// The files of one run, or of the runs of a collection, by identity: the
// inputs it reads and the outputs it has put in place. An output is held to
// them when it is made and again when it is put in place, since by then its
// name may lead to one of them (a link made meanwhile, a folder that takes
// no heed of letter case), and an input's name to another file (one saved
// anew by an editor, which writes a new file and renames it over the old).
#pragma once

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "streams/held_files.h"

namespace pellimar {

// Why an output may not be put where the output of `input` goes.
std::string OutputOfTooReason(const std::string& input);

class RunFiles {
public:
    // An input, by its name: the file it stands for now, and where in its
    // folder the name leads, for whatever file stands there later.
    void AddInput(const std::string& name);
    // The file an input's run opened under that name.
    void AddOpenedInput(FileIdentity file, const std::string& name);
    // An output put in place, of the input of that name.
    void AddOutput(FileIdentity file, const std::string& input);

    // Why an output of `input` may not be put where `file` is: "it is the
    // input file", "it is b.fff, an input of this run", "the output of
    // b.fff too"; empty when it may. The inputs are the files added.
    std::string Clash(FileIdentity file, const std::string& input) const;
    // The same when the output takes the place of the file under `target`
    // (its name's links followed), the inputs also as their names stand
    // now: one saved anew under its name is the file there now, and the
    // names that lead through links are followed again.
    std::string ClashAsNamesStand(FileIdentity file, const std::string& target, const std::string& input) const;

    // Held by each output from its last look at its place until it is in
    // the list, so that two outputs of one collection cannot both find one
    // place free.
    std::unique_lock<std::mutex> HoldForPlacing() { return std::unique_lock(placing_); }

private:
    // Where in its folder a name leads: the folder, and the name there as
    // the system compares names.
    struct Entry {
        FileIdentity folder;
        std::string name;
        bool operator==(const Entry&) const = default;
    };
    struct Hash {
        std::size_t operator()(FileIdentity file) const;
        std::size_t operator()(const Entry& entry) const;
    };
    struct Input {
        std::string name;
        // Its name leads through a symbolic link, which may come to lead
        // elsewhere while its folder stays as it was.
        bool linked = false;
    };

    // The name's place in its folder, its links followed; nothing where its
    // folder cannot be told. `linked`, when given, says whether it leads
    // through a link.
    static std::optional<Entry> EntryOf(const std::string& name, bool* linked = nullptr);
    std::size_t InputNamed(const std::string& name);
    std::string Reason(const std::vector<std::size_t>& matching, FileIdentity file, const std::string& input) const;

    mutable std::mutex lock_;
    std::mutex placing_;
    std::vector<Input> inputs_;  // in the order added
    std::unordered_map<std::string, std::size_t> inputsByName_;
    std::unordered_multimap<FileIdentity, std::size_t, Hash> inputsByFile_;
    std::unordered_multimap<Entry, std::size_t, Hash> inputsByEntry_;
    std::vector<std::size_t> linkedInputs_;
    std::unordered_map<FileIdentity, std::string, Hash> outputs_;
};

}  // namespace pellimar
