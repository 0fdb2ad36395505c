// The files of one run, or of the runs of a collection, by identity: the
// inputs it reads and the outputs it has put in place. An output is held to
// them when it is made and again when it is put in place, since by then its
// name may lead to one of them (a link made meanwhile, a folder that takes
// no heed of letter case), and an input's name to another file (one saved
// anew by an editor, which writes a new file and renames it over the old).
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "streams/held_files.h"

namespace pellimar {

// Why an output may not be put where the output of `input` goes.
std::string OutputOfTooReason(const std::string& input);

class RunFiles {
public:
    // An input, by its name: the file it stands for now, and whatever file
    // it stands for when an output is held to it.
    void AddInput(const std::string& name);
    // The file an input's run opened under that name.
    void AddOpenedInput(FileIdentity file, const std::string& name);
    // An output put in place, of the input of that name.
    void AddOutput(FileIdentity file, const std::string& input);

    // Why an output of `input` may not be put where `file` is: "it is the
    // input file", "it is b.fff, an input of this run", "the output of
    // b.fff too"; empty when it may. Each input's name is followed again.
    std::string Clash(FileIdentity file, const std::string& input) const;

    // Held by each output from its last look at its place until it is in
    // the list, so that two outputs of one collection cannot both find one
    // place free.
    std::unique_lock<std::mutex> HoldForPlacing() { return std::unique_lock(placing_); }

private:
    struct Input {
        std::string name;
        std::vector<FileIdentity> files;  // when it was added, and as opened
    };
    struct Output {
        FileIdentity file;
        std::string input;
    };

    Input& InputNamed(const std::string& name);
    static bool Leads(const Input& input, FileIdentity file);

    mutable std::mutex lock_;
    std::mutex placing_;
    std::vector<Input> inputs_;  // in the order added
    std::unordered_map<std::string, std::size_t> inputsByName_;
    std::vector<Output> outputs_;
};

}  // namespace pellimar
